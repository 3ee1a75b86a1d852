#include "operation_fixture.h"

#include <fstream>
#include <iterator>

namespace tarvenor::testing {

Bytes OperationTest::file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

KeyAssignment typed(AssignmentType type, std::uint32_t param) {
    KeyAssignment assignment;
    assignment.type = static_cast<std::uint16_t>(type);
    assignment.param = param;
    return assignment;
}

} // namespace tarvenor::testing

// Feeds arbitrary bytes to the profile block decoder: the first 378 bytes as the factory key
// matrix, the next 378 as a profile block, and translates the decoded table back.
#include "model/device_codes.h"

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvenor;
    std::array<std::uint8_t, 2 * KeyCodeBlock::kSize> bytes{};
    std::copy(data, data + std::min(size, bytes.size()), bytes.begin());
    const DefaultKeyMatrix matrix(std::span(bytes).first(KeyCodeBlock::kSize));
    const ProfileBlock block(std::span(bytes).subspan(KeyCodeBlock::kSize));
    const KeyTable table = decode_profile_block(block, matrix);
    build_profile_block(table, matrix, [](std::uint32_t id) { return static_cast<int>(id % 100); });
    return 0;
}

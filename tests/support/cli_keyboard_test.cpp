#include "cli_keyboard_test.h"

#include <fstream>

namespace tarvenor::testing {

CliRun CliKeyboardTest::cli(const std::string& arguments, const std::string& environment,
                            const std::string& library) {
    return run_cli(dir_, arguments,
                   "TARVENOR_HIDSERV=" +
                       shell_quoted(library.empty() ? std::string(TARVENOR_SIM_LIBRARY) : library) +
                       " TARVENOR_SIM_DIR=" + shell_quoted(dir_ / "kb") +
                       " TARVENOR_USER_DIR=" + shell_quoted(dir_) + " " + environment);
}

std::vector<std::uint8_t> CliKeyboardTest::memory(const std::string& name) const {
    const std::string bytes = slurp(dir_ / "kb" / name);
    return {bytes.begin(), bytes.end()};
}

std::size_t count_requests(const std::filesystem::path& traffic) {
    std::ifstream in(traffic);
    std::size_t requests = 0;
    for (std::string line; std::getline(in, line);) {
        requests += line.rfind('>', 0) == 0 ? 1 : 0;
    }
    return requests;
}

void CliKeyboardTest::poke_memory(const std::string& name, std::size_t offset,
                                  const std::vector<std::uint8_t>& bytes) {
    std::fstream out(dir_ / "kb" / name, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace tarvenor::testing

#pragma once

#include "cli_runner.h"
#include "temp_dir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvenor::testing {

// tarvenor-cli against a virtual keyboard whose memory lives in the test's folder (`kb/`), with
// the per-user folder in the test's folder too.
class CliKeyboardTest : public TempDirTest {
protected:
    CliRun cli(const std::string& arguments, const std::string& environment = "",
               const std::string& library = "");
    // The path of a file in the test's folder.
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    // The raw content of one of the keyboard's memory files, and a change to it.
    std::vector<std::uint8_t> memory(const std::string& name) const;
    void poke_memory(const std::string& name, std::size_t offset,
                     const std::vector<std::uint8_t>& bytes);
    std::filesystem::path mirror() const { return dir_ / "Tarvenor_R4X" / "$Profile0"; }
};

// The number of requests (lines starting with '>') in a virtual keyboard's traffic log.
std::size_t count_requests(const std::filesystem::path& traffic);

} // namespace tarvenor::testing

#include "cli/file_commands.h"

#include "cli/profile_dump.h"
#include "device/service_library.h"
#include "model/profile_file.h"

#include <iostream>

namespace tarvenor::cli {

void StderrMessageSink::show(Message, const std::string& text) {
    std::cerr << "tarvenor-cli: " << text << '\n';
}

namespace {

// Validates a file; the exit code when it is not a well-formed profile file.
std::optional<int> validation_failure(const std::filesystem::path& path) {
    StderrMessageSink sink;
    switch (validate_profile_file(path, sink, program_texts())) {
    case ProfileFileCheck::Valid:
        return std::nullopt;
    case ProfileFileCheck::CannotOpen:
        std::cerr << "tarvenor-cli: cannot read " << path.string() << '\n';
        return kExitFileError;
    case ProfileFileCheck::Invalid:
        break;
    }
    std::cerr << "tarvenor-cli: " << path.string() << " is not a profile file\n";
    return kExitBadArguments;
}

int run_validate(const std::vector<std::string>& arguments) {
    if (!expect_files(arguments, 1, "validate FILE")) {
        return kExitBadArguments;
    }
    return validation_failure(arguments[0]).value_or(kExitDone);
}

int run_dump(const std::vector<std::string>& arguments) {
    const bool json = arguments.size() == 2 && arguments[1] == "--json";
    if (!json && !expect_files(arguments, 1, "dump FILE [--json]")) {
        return kExitBadArguments;
    }
    Configuration config;
    std::scoped_lock guard(config.lock());
    if (const auto failure = load_valid_file(arguments[0], config)) {
        return *failure;
    }
    if (json) {
        write_profile_json(std::cout, config, program_texts());
    } else {
        write_profile_listing(std::cout, config, program_texts());
    }
    return kExitDone;
}

int run_resave(const std::vector<std::string>& arguments) {
    if (!expect_files(arguments, 2, "resave IN OUT")) {
        return kExitBadArguments;
    }
    Configuration config;
    std::scoped_lock guard(config.lock());
    if (const auto failure = load_valid_file(arguments[0], config)) {
        return *failure;
    }
    if (!save_profile_file(arguments[1], config, false)) {
        std::cerr << "tarvenor-cli: cannot write " << arguments[1] << '\n';
        return kExitFileError;
    }
    return kExitDone;
}

int run_new(const std::vector<std::string>& arguments) {
    if (!expect_files(arguments, 1, "new FILE")) {
        return kExitBadArguments;
    }
    if (!write_default_file(arguments[0])) {
        std::cerr << "tarvenor-cli: cannot write " << arguments[0] << '\n';
        return kExitFileError;
    }
    return kExitDone;
}

} // namespace

const TextTable& program_texts() {
    static const TextTable texts = [] {
        const std::filesystem::path file = program_folder() / "Skins" / "language.ini";
        std::error_code error;
        return std::filesystem::is_regular_file(file, error) ? TextTable(LanguageFile::load(file))
                                                             : TextTable();
    }();
    return texts;
}

bool expect_files(const std::vector<std::string>& arguments, std::size_t count,
                  std::string_view usage) {
    if (arguments.size() == count) {
        return true;
    }
    std::cerr << "tarvenor-cli: usage: " << usage << '\n';
    return false;
}

std::optional<int> load_valid_file(const std::filesystem::path& path, Configuration& config) {
    if (const auto failure = validation_failure(path)) {
        return failure;
    }
    if (!load_profile_file(path, config)) {
        std::cerr << "tarvenor-cli: cannot read " << path.string() << '\n';
        return kExitFileError;
    }
    return std::nullopt;
}

const CliCommand kValidateCommand{"validate", "FILE",
                                  "exit 0 when FILE is a well-formed profile file", run_validate};
const CliCommand kDumpCommand{"dump", "FILE [--json]",
                              "list a profile file's header, key assignments and macros", run_dump};
const CliCommand kResaveCommand{
    "resave", "IN OUT", "load profile file IN and save it to OUT as the program does", run_resave};
const CliCommand kNewCommand{"new", "FILE", "write a default profile file", run_new};

} // namespace tarvenor::cli

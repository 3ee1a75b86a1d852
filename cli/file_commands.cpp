#include "cli/file_commands.h"

#include "cli/profile_dump.h"
#include "cli/user_words.h"
#include "model/profile_file.h"
#include "model/program_files.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace tarvenor::cli {

void StderrMessageSink::show(Message message, const std::string&) {
    switch (message) {
    case Message::ProfileFormatError:
    case Message::ImportFailed:
        return; // the command names the file itself
    case Message::MacrosTooLarge:
        complain("the macros do not fit in the keyboard's memory, even without their names; "
                 "remove some macros or actions");
        return;
    case Message::MacroNamesDropped:
        complain("the keyboard's memory is nearly full: the macros were stored without their "
                 "names");
        return;
    case Message::DefaultMatrixFailure:
        complain("the keyboard's default key layout could not be read");
        return;
    }
}

namespace {

// Validates a file; the exit code when it is not a well-formed profile file.
std::optional<int> validation_failure(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        complain(path.string() + " does not exist");
        return kExitBadArguments;
    }
    StderrMessageSink sink;
    DamagedEntry damaged;
    switch (validate_profile_file(path, sink, program_texts(), &damaged)) {
    case ProfileFileCheck::Valid:
        return std::nullopt;
    case ProfileFileCheck::CannotOpen:
        complain("cannot read " + path.string() + ": " + unreadable_reason(path));
        return kExitFileError;
    case ProfileFileCheck::Damaged:
        // The command line speaks English: the language file's words are not used here.
        complain(damaged_file_text(damaged, path.string(), LanguageFile(), program_texts()));
        return kExitBadArguments;
    case ProfileFileCheck::Invalid:
        break;
    }
    complain(path.string() + (std::filesystem::is_regular_file(path, error)
                                  ? " is not a profile file"
                                  : " is not a regular file"));
    return kExitBadArguments;
}

// A command whose arguments are files, one runner per command.
struct FileArgument {
    const char* name;
    const char* description;
};

template <std::size_t Count>
CommandRunner define_files(CLI::App& command, const std::array<FileArgument, Count>& arguments,
                           int (*run)(const std::array<std::string, Count>&)) {
    auto files = std::make_shared<std::array<std::string, Count>>();
    for (std::size_t i = 0; i < Count; ++i) {
        command.add_option(arguments[i].name, (*files)[i], arguments[i].description)->required();
    }
    return [files, run] { return run(*files); };
}

int run_validate(const std::array<std::string, 1>& files) {
    return validation_failure(files[0]).value_or(kExitDone);
}

int run_resave(const std::array<std::string, 2>& files) {
    Configuration config;
    if (const auto failure = load_valid_file(files[0], config)) {
        return *failure;
    }
    const FileWriteResult saved = save_profile_file(files[1], config);
    return saved ? kExitDone : write_failure(files[1], saved);
}

int run_new(const std::array<std::string, 1>& files) {
    const FileWriteResult written = write_default_file(files[0]);
    return written ? kExitDone : write_failure(files[0], written);
}

int run_dump(const std::string& file, bool json) {
    Configuration config;
    if (const auto failure = load_valid_file(file, config)) {
        return *failure;
    }
    if (json) {
        write_profile_json(std::cout, config);
    } else {
        write_profile_listing(std::cout, config, program_texts());
    }
    return kExitDone;
}

CommandRunner define_validate(CLI::App& command) {
    return define_files<1>(command, {{{"FILE", "the profile file to check"}}}, run_validate);
}

CommandRunner define_resave(CLI::App& command) {
    return define_files<2>(
        command, {{{"IN", "the profile file to load"}, {"OUT", "the profile file to write"}}},
        run_resave);
}

CommandRunner define_new(CLI::App& command) {
    return define_files<1>(command, {{{"FILE", "the profile file to write"}}}, run_new);
}

CommandRunner define_dump(CLI::App& command) {
    struct Arguments {
        std::string file;
        bool json = false;
    };
    auto arguments = std::make_shared<Arguments>();
    command.add_option("FILE", arguments->file, "the profile file to list")->required();
    command.add_flag("--json", arguments->json, "print one JSON object");
    return [arguments] { return run_dump(arguments->file, arguments->json); };
}

} // namespace

const TextTable& program_texts() {
    static const TextTable texts = [] {
        const std::filesystem::path file = running_program_files().language;
        std::error_code error;
        return std::filesystem::is_regular_file(file, error) ? TextTable(LanguageFile::load(file))
                                                             : TextTable();
    }();
    return texts;
}

std::optional<int> load_valid_file(const std::filesystem::path& path, Configuration& config) {
    if (const auto failure = validation_failure(path)) {
        return failure;
    }
    if (!load_profile_file(path, config)) {
        complain("cannot read " + path.string() + ": " + unreadable_reason(path));
        return kExitFileError;
    }
    return std::nullopt;
}

int write_failure(const std::filesystem::path& path, const FileWriteResult& result) {
    const bool about_the_file = result.failure != FileWriteResult::Failure::System;
    complain((about_the_file ? "" : "cannot write ") + path.string() +
             (about_the_file ? " " : ": ") + result.reason());
    return kExitFileError;
}

const CliCommand kValidateCommand{"validate", "exit 0 when FILE is a well-formed profile file",
                                  define_validate};
const CliCommand kDumpCommand{"dump", "list a profile file's header, key assignments and macros",
                              define_dump};
const CliCommand kResaveCommand{
    "resave", "load profile file IN and save it to OUT as the program does", define_resave};
const CliCommand kNewCommand{"new", "write a default profile file", define_new};

} // namespace tarvenor::cli

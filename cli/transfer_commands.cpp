#include "cli/transfer_commands.h"

#include "cli/device_session.h"
#include "cli/file_commands.h"
#include "cli/user_words.h"
#include "device/keyboard_profile_file.h"
#include "device/macro_download.h"
#include "engine/apply.h"
#include "engine/keyboard_copies.h"
#include "model/profile_file.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <mutex>

namespace tarvenor::cli {
namespace {

// The session read the factory key codes, the active profile and the macro memory when the
// keyboard arrived; a transfer cannot go on without the key codes. The exit code when they are
// missing.
std::optional<int> check_learnt(CommandSet& commands, MessageSink& messages,
                                const TextTable& texts) {
    if (!commands.facts().default_key_matrix()) {
        show_message(messages, texts, Message::DefaultMatrixFailure);
        return kExitRejected;
    }
    return std::nullopt;
}

// A keyboard whose base data has been read, with the messages and texts its operations use.
struct LearntKeyboard {
    StderrMessageSink messages;
    const TextTable& texts = program_texts();
    std::unique_ptr<DeviceSession> session;
    int exit_code = kExitDone; // why there is no session

    // False, with the exit code set, when there is no keyboard or it does not answer.
    bool open() {
        session = DeviceSession::open(exit_code);
        if (session) {
            if (const auto failure = check_learnt(session->commands(), messages, texts)) {
                exit_code = *failure;
                session.reset();
            }
        }
        return session != nullptr;
    }
    CommandSet& commands() { return session->commands(); }
};

int run_pull(const std::string& file) {
    LearntKeyboard keyboard;
    if (!keyboard.open()) {
        return keyboard.exit_code;
    }
    const PulledFile pulled = pull_keyboard(keyboard.commands(), keyboard.texts, file);
    if (pulled) {
        return kExitDone;
    }
    if (pulled.result == KeyboardFileResult::WriteFailed) {
        return write_failure(file, pulled.written);
    }
    if (keyboard.commands().stop_requested()) {
        complain("interrupted: " + file + " was not written");
        return kExitRejected;
    }
    complain(file + " was not written: " + describe(pulled.result));
    return kExitRejected;
}

// The step of a download that failed, as the user knows it.
std::string download_step(const DownloadFailure& failure) {
    switch (failure.command) {
    case Command::BeginTransfer:
        return "opening the transfer";
    case Command::WriteMacroArea:
        return "writing the macros";
    case Command::WriteProfileBlock:
        return "writing the keys of profile " + std::to_string(failure.profile + 1);
    case Command::EndTransfer:
        return "closing the transfer";
    default:
        return "the download";
    }
}

int download_failure(const std::string& file, const DownloadFailure& failure) {
    if (failure.status == DeviceStatus::Success) {
        complain("nothing was written to the keyboard");
        return kExitRejected;
    }
    if (failure.status == DeviceStatus::Stopped) {
        complain("interrupted: the push may be partial. The keyboard may now hold a partly written "
                 "configuration; push " +
                 file + " again to restore it.");
        return kExitRejected;
    }
    const bool gone = failure.status == DeviceStatus::NoDevice;
    complain(download_step(failure) + " failed: " +
             (gone ? std::string("the keyboard was unplugged") : status_in_words(failure.status)) +
             ". The keyboard may now hold a partly written configuration; push " + file +
             " again to restore it.");
    return gone ? kExitNoKeyboard : kExitRejected;
}

int run_push(const std::string& file) {
    Configuration config;
    if (const auto failure = load_valid_file(file, config)) {
        return *failure;
    }
    LearntKeyboard keyboard;
    if (!keyboard.open()) {
        return keyboard.exit_code;
    }
    const EnvironmentDocumentsFolder documents;
    const UserStorage storage(documents);
    DownloadFailure failure;
    const ApplyResult pushed =
        push_configuration(keyboard.commands(), {storage, keyboard.texts, keyboard.messages},
                           std::move(config), &failure);
    if (!pushed.sent) {
        return download_failure(file, failure);
    }
    // The mirror follows what the keyboard now holds, as after an import in the program.
    if (pushed.mirror_failed()) {
        complain("the keyboard holds " + file + ", but the mirror " +
                 storage.mirror_path().string() +
                 " could not be written: " + pushed.mirror->reason());
    }
    return kExitDone;
}

CommandRunner define_transfer(CLI::App& command, const char* description,
                              int (*run)(const std::string&)) {
    auto file = std::make_shared<std::string>();
    command.add_option("FILE", *file, description)->required();
    return [file, run] { return run(*file); };
}

CommandRunner define_pull(CLI::App& command) {
    return define_transfer(command, "the profile file to write", run_pull);
}

CommandRunner define_push(CLI::App& command) {
    return define_transfer(command, "the profile file to download", run_push);
}

} // namespace

const CliCommand kPullCommand{
    "pull", "read the keyboard's key assignments and macros into profile file FILE", define_pull};
const CliCommand kPushCommand{
    "push", "write profile file FILE into the keyboard (all three profiles)", define_push};

} // namespace tarvenor::cli

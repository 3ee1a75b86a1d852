#include "cli/transfer_commands.h"

#include "cli/device_session.h"
#include "cli/file_commands.h"
#include "device/keyboard_profile_file.h"
#include "device/macro_download.h"
#include "model/profile_file.h"

#include <iostream>
#include <mutex>

namespace tarvenor::cli {
namespace {

// What the program reads when a keyboard arrives: its factory key codes, its active profile and
// its macro memory. The exit code when the keyboard does not answer.
std::optional<int> learn_keyboard(CommandSet& commands, MessageSink& messages,
                                  const TextTable& texts) {
    KeyMatrix matrix{};
    if (const DeviceStatus status = commands.read_default_key_matrix(matrix);
        status != DeviceStatus::Success) {
        show_message(messages, texts, Message::DefaultMatrixFailure);
        return device_failure("reading the factory key codes", status);
    }
    commands.facts().set_default_key_matrix(matrix);
    ParameterBlock block{};
    if (const DeviceStatus status = commands.read_parameters(block);
        status != DeviceStatus::Success) {
        return device_failure("reading the keyboard's parameters", status);
    }
    commands.facts().set_current_profile(active_profile_of(block));
    commands.facts().set_macro_space(macro_space_of(block));
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
            if (const auto failure = learn_keyboard(session->commands(), messages, texts)) {
                exit_code = *failure;
                session.reset();
            }
        }
        return session != nullptr;
    }
    CommandSet& commands() { return session->commands(); }
};

int run_pull(const std::vector<std::string>& arguments) {
    if (!expect_files(arguments, 1, "pull FILE")) {
        return kExitBadArguments;
    }
    LearntKeyboard keyboard;
    if (!keyboard.open()) {
        return keyboard.exit_code;
    }
    const KeyboardFileResult result =
        build_file_from_keyboard(keyboard.commands(), keyboard.texts, arguments[0]);
    if (result == KeyboardFileResult::Written) {
        return kExitDone;
    }
    std::cerr << "tarvenor-cli: " << arguments[0] << ": " << describe(result) << '\n';
    return result == KeyboardFileResult::WriteFailed ? kExitFileError : kExitRejected;
}

int run_push(const std::vector<std::string>& arguments) {
    if (!expect_files(arguments, 1, "push FILE")) {
        return kExitBadArguments;
    }
    Configuration config;
    std::scoped_lock guard(config.lock());
    if (const auto failure = load_valid_file(arguments[0], config)) {
        return *failure;
    }
    LearntKeyboard keyboard;
    if (!keyboard.open()) {
        return keyboard.exit_code;
    }
    // The mirror follows what the keyboard holds, as after an import in the program.
    const EnvironmentDocumentsFolder documents;
    save_profile_mirror(UserStorage(documents), config, false);
    DownloadSnapshotHolder snapshot;
    take_download_snapshot(config, snapshot);
    if (!macro_download(keyboard.commands(), snapshot, true, keyboard.messages, keyboard.texts)) {
        std::cerr << "tarvenor-cli: the keyboard did not take the download\n";
        return kExitRejected;
    }
    return kExitDone;
}

} // namespace

const CliCommand kPullCommand{
    "pull", "FILE", "read the keyboard's key assignments and macros into profile file FILE",
    run_pull};
const CliCommand kPushCommand{
    "push", "FILE", "write profile file FILE into the keyboard (all three profiles)", run_push};

} // namespace tarvenor::cli

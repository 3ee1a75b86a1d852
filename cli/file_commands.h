#pragma once

#include "cli/cli_command.h"
#include "model/atomic_file.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"

#include <filesystem>
#include <optional>
#include <string>

namespace tarvenor::cli {

// Shows the model's messages on standard error in the command line's own words: the windows'
// texts speak of dialogs and buttons.
class StderrMessageSink : public MessageSink {
public:
    void show(Message message, const std::string& text) override;
};

// The texts the program shows, from the language file in the program folder; the built-in texts
// when there is none, so that captions never come out empty.
const TextTable& program_texts();

// Validates a profile file and loads it into the configuration (whose lock the caller holds);
// on failure the reason is on standard error and the result is the exit code.
std::optional<int> load_valid_file(const std::filesystem::path& path, Configuration& config);

// Prints why a file could not be written; the exit code.
int write_failure(const std::filesystem::path& path, const FileWriteResult& result);

// `validate FILE`: exit 0 for a well-formed profile file.
extern const CliCommand kValidateCommand;
// `dump FILE [--json]`: the file's header, assignments and macros.
extern const CliCommand kDumpCommand;
// `resave IN OUT`: load IN and save it to OUT the way the program saves profile files.
extern const CliCommand kResaveCommand;
// `new FILE`: a default profile file.
extern const CliCommand kNewCommand;

} // namespace tarvenor::cli

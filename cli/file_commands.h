#pragma once

#include "cli/cli_command.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"

#include <filesystem>
#include <optional>

namespace tarvenor::cli {

// Shows the model's messages as lines on standard error.
class StderrMessageSink : public MessageSink {
public:
    void show(Message message, const std::string& text) override;
};

// The texts the program shows, from the language file in the program folder; the built-in texts
// when there is none, so that messages and captions never come out empty.
const TextTable& program_texts();

// True when there are exactly `count` file arguments; otherwise prints the usage line.
bool expect_files(const std::vector<std::string>& arguments, std::size_t count,
                  std::string_view usage);

// Validates a profile file and loads it into the configuration (whose lock the caller holds);
// on failure the reason is on standard error and the result is the exit code.
std::optional<int> load_valid_file(const std::filesystem::path& path, Configuration& config);

// `validate FILE`: exit 0 for a well-formed profile file.
extern const CliCommand kValidateCommand;
// `dump FILE [--json]`: the file's header, assignments and macros.
extern const CliCommand kDumpCommand;
// `resave IN OUT`: load IN and save it to OUT the way the program saves profile files.
extern const CliCommand kResaveCommand;
// `new FILE`: a default profile file.
extern const CliCommand kNewCommand;

} // namespace tarvenor::cli

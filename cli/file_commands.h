#pragma once

#include "cli/cli_command.h"
#include "model/messages.h"

namespace tarvenor::cli {

// Shows the model's messages as lines on standard error.
class StderrMessageSink : public MessageSink {
public:
    void show(Message message, const std::string& text) override;
};

// `validate FILE`: exit 0 for a well-formed profile file.
extern const CliCommand kValidateCommand;
// `dump FILE [--json]`: the file's header, assignments and macros.
extern const CliCommand kDumpCommand;
// `resave IN OUT`: load IN and save it to OUT the way the program saves profile files.
extern const CliCommand kResaveCommand;
// `new FILE`: a default profile file.
extern const CliCommand kNewCommand;

} // namespace tarvenor::cli

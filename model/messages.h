#pragma once

#include "model/text_table.h"

#include <string>
#include <string_view>

namespace tarvenor {

// The messages the model and the keyboard layer show the user. The windows show them as message
// boxes, the command line prints them to standard error, tests collect them.
enum class Message {
    ProfileFormatError,   // a profile file's header breaks a rule (argument: the path)
    ImportFailed,         // a file to import did not validate
    MacrosTooLarge,       // the macros do not fit in the keyboard, nothing was sent
    MacroNamesDropped,    // the macros only fit without their names
    DefaultMatrixFailure, // the keyboard's factory key codes could not be read
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(Message message, const std::string& text) = 0;
};

// The text of a message in the loaded language, its placeholder filled with the argument.
std::string message_text(Message message, const TextTable& texts, std::string_view argument = {});

// Formats and shows a message.
void show_message(MessageSink& sink, const TextTable& texts, Message message,
                  std::string_view argument = {});

} // namespace tarvenor

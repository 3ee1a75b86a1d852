#include "model/messages.h"

namespace tarvenor {
namespace {

TextKey text_key_of(Message message) {
    switch (message) {
    case Message::ProfileFormatError:
        return TextKey::ProfileFormatError;
    case Message::ImportFailed:
        return TextKey::MainPromptImport;
    case Message::MacrosTooLarge:
        return TextKey::ExtraMacroTooLong;
    case Message::MacroNamesDropped:
        return TextKey::ExtraProfileSpaceTight;
    case Message::DefaultMatrixFailure:
        return TextKey::MainDefaultMatrixPrompt;
    }
    return TextKey::MainPromptImport;
}

} // namespace

std::string message_text(Message message, const TextTable& texts, std::string_view argument) {
    return format_text(texts.text(text_key_of(message)), argument);
}

void show_message(MessageSink& sink, const TextTable& texts, Message message,
                  std::string_view argument) {
    sink.show(message, message_text(message, texts, argument));
}

} // namespace tarvenor

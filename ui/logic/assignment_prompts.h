#pragma once

#include <string>

namespace tarvenor {

// The message boxes the assignment dialog shows; the widget shows real ones, tests answer them.
class AssignmentPrompts {
public:
    virtual ~AssignmentPrompts() = default;
    // A Yes/No question with No preselected; true only for Yes.
    virtual bool ask_yes_no(const std::string& text) = 0;
    // A message with an OK button.
    virtual void show_message(const std::string& text) = 0;
};

} // namespace tarvenor

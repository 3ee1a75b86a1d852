#pragma once

#include "model/configuration.h"
#include "model/text_table.h"

#include <string>
#include <vector>

namespace tarvenor {

// What one key button of the main window shows about its assignment.
struct ButtonCaption {
    int control_id = 0;
    std::string text;
    // The assigned look: the entry's type is not Default.
    bool assigned = false;

    friend bool operator==(const ButtonCaption&, const ButtonCaption&) = default;
};

// RefreshCaptionTexts / RefreshAllCaptions: the caption of every G button (from the bank in
// force) and every key button of the drawing, from the profile's table. With no profile known
// every button shows its plain name.
std::vector<ButtonCaption> assignment_captions(const Configuration& configuration,
                                               const TextTable& texts, int profile, int bank);

} // namespace tarvenor

#pragma once

#include <string>
#include <vector>

namespace tarvenor::skin {

// A lighting-panel label in the two languages of the skin file.
struct ControlName {
    std::string key;
    std::string chinese;
    std::string english;
};

// A lighting effect's name in the two languages.
struct EffectName {
    int number;
    std::string chinese;
    std::string english;
};

const std::vector<ControlName>& control_names();
// The effects 1..18 and 20.
const std::vector<EffectName>& effect_names();

} // namespace tarvenor::skin

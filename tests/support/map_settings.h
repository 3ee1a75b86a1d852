#pragma once

#include "model/user_storage.h"

#include <map>
#include <optional>
#include <string>

namespace tarvenor::testing {

// A settings store in memory, its values open to the test.
class MapSettings final : public SettingsStore {
public:
    std::optional<std::string> value(std::string_view key) const override {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void set_value(std::string_view key, std::string_view value) override {
        values[std::string(key)] = value;
    }
    std::map<std::string, std::string, std::less<>> values;
};

} // namespace tarvenor::testing

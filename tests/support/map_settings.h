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
    FileWriteResult set_value(std::string_view key, std::string_view value) override {
        if (read_only) {
            return {FileWriteResult::Failure::ReadOnly, {}};
        }
        values[std::string(key)] = value;
        return {};
    }
    std::string location() const override { return "the test's settings"; }
    std::map<std::string, std::string, std::less<>> values;
    bool read_only = false;
};

} // namespace tarvenor::testing

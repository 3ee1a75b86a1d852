#pragma once

#include "model/user_storage.h"

#include <QSettings>

namespace tarvenor {

// The settings store on QSettings: organisation "Tarvenor_Ostrel", group "PROFILES".
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    std::optional<std::string> value(std::string_view key) const override;
    FileWriteResult set_value(std::string_view key, std::string_view value) override;
    std::string location() const override;

private:
    mutable QSettings settings_;
};

} // namespace tarvenor

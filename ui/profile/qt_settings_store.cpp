#include "ui/profile/qt_settings_store.h"

namespace tarvenor {
namespace {

QString key_of(std::string_view key) {
    return QString::fromLatin1(SettingsStore::kGroup.data(), SettingsStore::kGroup.size()) +
           QLatin1Char('/') + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QString::fromLatin1(kOrganisation.data(), kOrganisation.size()),
                QStringLiteral("tarvenor")) {}

std::optional<std::string> QtSettingsStore::value(std::string_view key) const {
    const QVariant stored = settings_.value(key_of(key));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return stored.toString().toStdString();
}

FileWriteResult QtSettingsStore::set_value(std::string_view key, std::string_view value) {
    settings_.setValue(key_of(key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    settings_.sync();
    switch (settings_.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return {FileWriteResult::Failure::System,
                std::make_error_code(std::errc::permission_denied)};
    case QSettings::FormatError:
        break;
    }
    return {FileWriteResult::Failure::System,
            std::make_error_code(std::errc::illegal_byte_sequence)};
}

std::string QtSettingsStore::location() const {
    return settings_.fileName().toStdString();
}

} // namespace tarvenor

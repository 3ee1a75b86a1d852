#include "model/damaged_file.h"

#include "model/assignment_caption.h"

#include <array>

namespace tarvenor {
namespace {

// Fills "%1".."%4" of a pattern; a placeholder the pattern lacks is simply not shown.
std::string fill(std::string_view pattern, const std::array<std::string, 4>& values) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '4') {
            text += values[static_cast<std::size_t>(pattern[i + 1] - '1')];
            ++i;
        } else {
            text.push_back(pattern[i]);
        }
    }
    return text;
}

} // namespace

std::optional<DamagedEntry> find_damaged_entry(const ConfigurationImage& image) {
    for (int flat = 0; flat < kFlatEntryCount; ++flat) {
        const std::uint16_t type = image.entry(flat).type;
        if (!is_defined_assignment_type(type)) {
            return DamagedEntry{flat, type};
        }
    }
    return std::nullopt;
}

std::string damaged_file_text(const DamagedEntry& entry, std::string_view file,
                              const LanguageFile& language, const TextTable& texts) {
    const bool spare = entry.table() >= kKeyboardProfiles;
    return fill(language.text(spare ? kDamagedSpareEntryText : kDamagedEntryText),
                {std::string(file), slot_name(entry.slot(), texts),
                 std::to_string(entry.table() + 1), std::to_string(entry.type)});
}

SetAside set_aside_damaged_file(const std::filesystem::path& file) {
    // Far more than a user keeps; past it something other than damaged files holds the names.
    constexpr int kMaxCopies = 1000;
    SetAside result;
    for (int n = 1; n <= kMaxCopies; ++n) {
        std::filesystem::path kept = file;
        kept += n == 1 ? std::string(".damaged") : ".damaged-" + std::to_string(n);
        std::error_code probe;
        if (std::filesystem::symlink_status(kept, probe).type() !=
            std::filesystem::file_type::not_found) {
            continue;
        }
        std::filesystem::rename(file, kept, result.error);
        if (!result.error) {
            result.kept = std::move(kept);
        }
        return result;
    }
    result.error = std::make_error_code(std::errc::file_exists);
    return result;
}

} // namespace tarvenor

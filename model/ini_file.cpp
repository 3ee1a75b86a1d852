#include "model/ini_file.h"

#include "model/atomic_file.h"
#include "model/text_encoding.h"
#include "model/text_trim.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tarvenor {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string utf16le_bytes_to_utf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return utf16_to_utf8(units);
}

std::string utf8_to_utf16le_bytes(std::string_view text) {
    std::string out;
    for (const char16_t unit : utf8_to_utf16(text)) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile ini;
    std::string text;
    if (bytes.starts_with(kUtf16LeBom)) {
        ini.encoding_ = Encoding::Utf16Le;
        text = utf16le_bytes_to_utf8(bytes.substr(kUtf16LeBom.size()));
    } else if (bytes.starts_with(kUtf8Bom)) {
        ini.encoding_ = Encoding::Utf8Bom;
        text = bytes.substr(kUtf8Bom.size());
    } else {
        text = bytes;
    }
    if (text.find("\r\n") != std::string::npos) {
        ini.newline_ = "\r\n";
    }

    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view raw(text.data() + start, end - start);
        if (raw.ends_with('\r')) {
            raw.remove_suffix(1);
        }
        Entry entry;
        entry.text = raw;
        const std::string_view line = trim(raw);
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            section = trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            entry.header = true;
        } else if (!line.starts_with(';')) {
            const std::size_t eq = line.find('=');
            if (eq != std::string_view::npos && !trim(line.substr(0, eq)).empty()) {
                entry.key = trim(line.substr(0, eq));
                entry.value = unquote(trim(line.substr(eq + 1)));
            }
        }
        entry.section = section;
        ini.entries_.push_back(std::move(entry));
        start = end + 1;
    }
    return ini;
}

std::optional<IniFile> IniFile::read(const std::filesystem::path& path) {
    // Reading a folder throws from inside the stream library: refused before it is opened.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return parse(bytes);
}

IniFile IniFile::read_or_empty(const std::filesystem::path& path) {
    return read(path).value_or(IniFile{});
}

std::optional<std::size_t> IniFile::find_entry(std::string_view section,
                                               std::string_view key) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (!entry.key.empty() && same_name(entry.key, key) && same_name(entry.section, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const auto index = find_entry(section, key);
    if (!index) {
        return std::nullopt;
    }
    return truncate_utf16_units(entries_[*index].value, kMaxValueUnits);
}

std::string IniFile::get(std::string_view section, std::string_view key,
                         std::string_view fallback) const {
    return find(section, key).value_or(std::string(fallback));
}

int IniFile::get_int(std::string_view section, std::string_view key, int fallback) const {
    const auto value = find(section, key);
    if (!value) {
        return fallback;
    }
    std::string_view digits = *value;
    const bool negative = digits.starts_with('-');
    if (negative) {
        digits.remove_prefix(1);
    }
    long long result = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            break;
        }
        result = std::min<long long>(result * 10 + (c - '0'), 0x7FFFFFFF);
    }
    return static_cast<int>(negative ? -result : result);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    Entry entry;
    entry.key = key;
    entry.value = value;
    entry.text = std::string(key) + "=" + std::string(value);
    if (const auto index = find_entry(section, key)) {
        entry.section = entries_[*index].section;
        entries_[*index] = std::move(entry);
        return;
    }
    // After the last key line of the first matching section, or right after its header.
    std::optional<std::size_t> insert_after;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!same_name(entries_[i].section, section)) {
            if (insert_after) {
                break;
            }
            continue;
        }
        if (entries_[i].header || !entries_[i].key.empty()) {
            insert_after = i;
        }
    }
    if (insert_after) {
        entry.section = entries_[*insert_after].section;
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(*insert_after) + 1,
                        std::move(entry));
        return;
    }
    Entry header;
    header.header = true;
    header.section = section;
    header.text.append(1, '[').append(section).append(1, ']');
    entries_.push_back(std::move(header));
    entry.section = section;
    entries_.push_back(std::move(entry));
}

std::string IniFile::serialise() const {
    std::string text;
    for (const Entry& entry : entries_) {
        text += entry.text;
        text += newline_;
    }
    switch (encoding_) {
    case Encoding::Utf16Le:
        return std::string(kUtf16LeBom) + utf8_to_utf16le_bytes(text);
    case Encoding::Utf8Bom:
        return std::string(kUtf8Bom) + text;
    case Encoding::Utf8:
        break;
    }
    return text;
}

FileWriteResult IniFile::write(const std::filesystem::path& path) const {
    return write_file_atomically(path, serialise());
}

} // namespace tarvenor

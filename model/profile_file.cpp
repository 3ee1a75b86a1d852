#include "model/profile_file.h"

#include "model/atomic_file.h"
#include "model/macro_block.h"

#include <algorithm>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>

namespace tarvenor {
namespace {

constexpr std::uintmax_t kMaxFileSize = 0xFFFFFFFFu;

// Reads up to max_bytes from the start of a file; nullopt when it cannot be opened or read.
std::optional<Bytes> read_file_prefix(const std::filesystem::path& path, std::size_t max_bytes) {
    // Reading a folder throws from inside the stream library: refused before it is opened.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Bytes bytes(max_bytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(max_bytes));
    if (in.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::u16string text_at(std::span<const std::uint8_t> area, std::size_t offset) {
    std::u16string text;
    for (std::size_t at = offset; at + 1 < area.size(); at += 2) {
        const char16_t unit = read_u16(area, at);
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

void load_texts(std::span<const std::uint8_t> area, Configuration& configuration) {
    const ConfigurationImage& image = configuration.image();
    // Saved texts never share bytes, so together they fit the area (one unterminated text at its
    // end may add a terminator). A damaged file whose entries all point at the same long text
    // would otherwise hold thousands of copies of it.
    const std::uint64_t budget = area.size() + 2;
    for (int flat = 0; flat < kFlatEntryCount; ++flat) {
        const KeyAssignment entry = image.entry(flat);
        const std::size_t offset = entry.param & ~std::uint32_t{1};
        if (!has_assignment_text(entry.type) || offset >= area.size()) {
            continue;
        }
        std::u16string text = text_at(area, offset);
        if (configuration.texts().total() + (text.size() + 1) * 2 <= budget) {
            configuration.texts().set(flat, std::move(text));
        }
    }
}

Bytes pack_texts(Configuration& configuration) {
    ConfigurationImage& image = configuration.image();
    const AssignmentTextTable& texts = configuration.texts();
    Bytes area(texts.total(), 0);
    std::uint32_t offset = 0;
    for (int flat = 0; flat < kFlatEntryCount; ++flat) {
        const std::uint32_t size = texts.size_of(flat);
        KeyAssignment entry = image.entry(flat);
        if (!has_assignment_text(entry.type)) {
            continue;
        }
        if (size == 0 || offset + size > texts.total()) {
            // Left pointing into the area, it would pick up another entry's text when loaded.
            entry.param = texts.total();
            image.set_entry(flat, entry);
            continue;
        }
        const std::u16string& text = *texts.text(flat);
        for (std::size_t i = 0; i < text.size(); ++i) {
            write_u16(area, offset + i * 2, text[i]);
        }
        entry.param = offset;
        image.set_entry(flat, entry);
        offset += size;
    }
    return area;
}

// Image, macro records and text area, one after the other.
Bytes assemble_profile_file(const ConfigurationImage& image, const MacroStore& macros,
                            std::span<const std::uint8_t> text_area) {
    Bytes file(profile_file_size(macros.size(), text_area.size()), 0);
    std::copy(image.bytes().begin(), image.bytes().end(), file.begin());
    for (std::size_t i = 0; i < macros.size(); ++i) {
        macros[i].write(std::span(file).subspan(ConfigurationImage::kSize + i * MacroRecord::kSize,
                                                MacroRecord::kSize));
    }
    std::copy(text_area.begin(), text_area.end(),
              file.end() - static_cast<std::ptrdiff_t>(text_area.size()));
    return file;
}

} // namespace

ProfileFileCheck validate_profile_file(const std::filesystem::path& path, MessageSink& messages,
                                       const TextTable& texts, DamagedEntry* damaged) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return ProfileFileCheck::Invalid;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    const auto image = read_file_prefix(path, ConfigurationImage::kSize);
    if (error || !image) {
        return ProfileFileCheck::CannotOpen;
    }
    if (size > kMaxFileSize || size < ConfigurationImage::kSize ||
        image->size() < ConfigurationImage::kSize) {
        return ProfileFileCheck::Invalid;
    }
    if (!is_valid_file_header(std::span(*image).first(FileHeader::kSize), size)) {
        show_message(messages, texts, Message::ProfileFormatError, path.string());
        return ProfileFileCheck::Invalid;
    }
    if (const auto entry = find_damaged_entry(ConfigurationImage(*image))) {
        if (damaged != nullptr) {
            *damaged = *entry;
        }
        return ProfileFileCheck::Damaged;
    }
    return ProfileFileCheck::Valid;
}

std::optional<DamagedEntry> find_damaged_entry_in_file(const std::filesystem::path& path) {
    const auto image = read_file_prefix(path, ConfigurationImage::kSize);
    if (!image || image->size() < ConfigurationImage::kSize) {
        return std::nullopt;
    }
    return find_damaged_entry(ConfigurationImage(*image));
}

bool load_profile_bytes(std::span<const std::uint8_t> bytes, Configuration& configuration) {
    if (bytes.size() < ConfigurationImage::kSize) {
        return false;
    }
    const FileHeader header = FileHeader::read(bytes);
    const std::uint64_t needed = profile_file_size(header.macro_count, header.text_size);
    if (header.macro_count > MacroRecord::kMaxCount || bytes.size() < needed) {
        return false;
    }
    configuration.install_image(ConfigurationImage(bytes));
    MacroStore& macros = configuration.macros();
    macros.clear();
    for (std::size_t i = 0; i < header.macro_count; ++i) {
        macros.push_back(MacroRecord::read(
            bytes.subspan(ConfigurationImage::kSize + i * MacroRecord::kSize, MacroRecord::kSize)));
    }
    const std::size_t text_offset =
        ConfigurationImage::kSize + header.macro_count * MacroRecord::kSize;
    configuration.texts().clear();
    load_texts(bytes.subspan(text_offset, header.text_size), configuration);
    return true;
}

bool load_profile_file(const std::filesystem::path& path, Configuration& configuration) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    const auto header = read_file_prefix(path, FileHeader::kSize);
    if (error || size > kMaxFileSize || !header || header->size() < FileHeader::kSize) {
        return false;
    }
    // Bytes past what the header announces are not content; a long tail must not be held.
    const FileHeader h = FileHeader::read(*header);
    const std::uint64_t wanted =
        std::min<std::uint64_t>(size, profile_file_size(h.macro_count, h.text_size));
    const auto bytes = read_file_prefix(path, static_cast<std::size_t>(wanted));
    return bytes && load_profile_bytes(*bytes, configuration);
}

Bytes serialise_profile_file(Configuration& configuration) {
    if (!configuration.has_image()) {
        return {};
    }
    const MacroStore& macros = configuration.macros();
    ConfigurationImage& image = configuration.image();
    image.set_header(
        make_file_header(static_cast<std::uint16_t>(macros.size()), configuration.texts().total()));
    const Bytes texts = pack_texts(configuration);
    return assemble_profile_file(image, macros, texts);
}

FileWriteResult save_profile_file(const std::filesystem::path& path, Configuration& configuration) {
    const Bytes file = serialise_profile_file(configuration);
    if (file.empty()) {
        return {FileWriteResult::Failure::System,
                std::make_error_code(std::errc::invalid_argument)};
    }
    return write_profile_bytes(path, file);
}

std::optional<FileWriteResult> save_profile_mirror(const UserStorage& storage,
                                                   Configuration& configuration) {
    std::error_code error;
    const auto path = storage.mirror_path();
    // A mirror that is there but is not a file (a folder, say) is reported, not passed over, and
    // so is a per-user folder that has become a file: the mirror can no longer follow.
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        if (std::filesystem::exists(storage.folder(), error) &&
            !std::filesystem::is_directory(storage.folder(), error)) {
            return FileWriteResult{FileWriteResult::Failure::System,
                                   std::make_error_code(std::errc::not_a_directory)};
        }
        return std::nullopt;
    }
    return save_profile_file(path, configuration);
}

FileWriteResult write_profile_bytes(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
    return write_file_atomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<Configuration> configuration_from_bytes(std::span<const std::uint8_t> bytes) {
    Configuration configuration;
    if (!load_profile_bytes(bytes, configuration)) {
        return std::nullopt;
    }
    return configuration;
}

std::optional<Configuration> configuration_from_file(const std::filesystem::path& path) {
    Configuration configuration;
    if (!load_profile_file(path, configuration)) {
        return std::nullopt;
    }
    return configuration;
}

Configuration default_configuration() {
    Configuration configuration;
    configuration.make_default_image();
    return configuration;
}

FileWriteResult write_default_file(const std::filesystem::path& path) {
    return write_profile_bytes(path, make_default_image().bytes());
}

Bytes build_profile_file_image(const std::array<ProfileBlock, 3>& profiles,
                               std::span<const std::uint8_t> macro_area,
                               const DefaultKeyMatrix& matrix, const TextTable& texts) {
    const MacroStore macros = decode_macro_block(macro_area, texts);
    ConfigurationImage image;
    image.set_header(make_file_header(static_cast<std::uint16_t>(macros.size()), 0));
    image.write_key_table_header();
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        image.set_key_table(p, decode_profile_block(profiles[static_cast<std::size_t>(p)], matrix));
    }
    return assemble_profile_file(image, macros, {});
}

} // namespace tarvenor

#include "engine/keyboard_copies.h"

#include <algorithm>
#include <ctime>
#include <system_error>

namespace tarvenor {
namespace {

namespace fs = std::filesystem;

std::string stamp_of(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H.%M.%S", &local);
    return text;
}

bool is_copy(const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    return entry.is_regular_file() && name.starts_with(KeyboardCopies::kPrefix) &&
           entry.path().extension() == ".tvp";
}

} // namespace

std::vector<fs::path> KeyboardCopies::list() const {
    std::vector<fs::path> copies;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(storage_.folder(), error)) {
        if (is_copy(entry)) {
            copies.push_back(entry.path());
        }
    }
    // The names sort by time: the stamp is zero-padded, and a second copy within one second
    // gets "_2", which sorts after the plain ".tvp".
    std::sort(copies.begin(), copies.end());
    return copies;
}

fs::path KeyboardCopies::free_name(std::chrono::system_clock::time_point now) const {
    const std::string base = std::string(kPrefix) + stamp_of(now);
    fs::path candidate = storage_.folder() / (base + ".tvp");
    for (int n = 2; fs::exists(candidate); ++n) {
        candidate = storage_.folder() / (base + "_" + std::to_string(n) + ".tvp");
    }
    return candidate;
}

void KeyboardCopies::prune() const {
    std::vector<fs::path> copies = list();
    while (copies.size() > kKept) {
        std::error_code ignored;
        fs::remove(copies.front(), ignored);
        copies.erase(copies.begin());
    }
}

PulledFile pull_keyboard(CommandSet& commands, const TextTable& texts,
                         const std::filesystem::path& path) {
    PulledFile pulled;
    pulled.path = path;
    pulled.result = build_file_from_keyboard(commands, texts, path, &pulled.written);
    return pulled;
}

PulledFile KeyboardCopies::keep(CommandSet& commands, const TextTable& texts,
                                std::chrono::system_clock::time_point now) const {
    if (!storage_.ensure_user_folder()) {
        PulledFile failed;
        failed.path = storage_.folder();
        failed.written = {FileWriteResult::Failure::System,
                          std::make_error_code(std::errc::not_a_directory)};
        return failed;
    }
    PulledFile kept = pull_keyboard(commands, texts, free_name(now));
    if (kept) {
        prune();
    }
    return kept;
}

std::string PulledFile::reason() const {
    if (result == KeyboardFileResult::WriteFailed) {
        return path.string() + ": " + written.reason();
    }
    return describe(result);
}

} // namespace tarvenor

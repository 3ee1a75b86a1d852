#include "hidserv/sim/area_file.h"

#include <algorithm>

namespace tarvenor::sim {

bool AreaFile::open(const std::filesystem::path& path, const std::vector<std::uint8_t>& factory,
                    std::string& error) {
    if (!file_.open(path, error)) {
        return false;
    }
    const std::optional<std::uint64_t> existing = file_.size();
    if (existing == factory.size()) {
        return true;
    }
    const std::size_t keep =
        existing ? static_cast<std::size_t>(std::min<std::uint64_t>(*existing, factory.size())) : 0;
    const auto tail = std::span<const std::uint8_t>(factory).subspan(keep);
    if (!existing || !resize(keep) || !file_.write_at(keep, tail)) {
        error = path.string() + ": " + last_system_error();
        return false;
    }
    return true;
}

bool AreaFile::read(std::size_t offset, std::span<std::uint8_t> out) const {
    const std::optional<std::size_t> done = file_.read_at(offset, out);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(done.value_or(0)), out.end(), 0);
    return done.has_value();
}

bool AreaFile::write(std::size_t offset, std::span<const std::uint8_t> bytes) {
    return file_.write_at(offset, bytes);
}

bool AreaFile::resize(std::size_t size) {
    return file_.resize(size);
}

} // namespace tarvenor::sim

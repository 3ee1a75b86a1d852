#pragma once

#include "temp_dir.h"

#include <filesystem>
#include <iterator>

namespace tarvenor::testing {

class AtomicFile : public TempDirTest {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                      std::filesystem::directory_iterator()));
    }
};

} // namespace tarvenor::testing

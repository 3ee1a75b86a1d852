#pragma once

#include "model/user_storage.h"

#include <filesystem>

namespace tarvenor::testing {

// A documents folder the test chooses.
class FolderDocuments final : public DocumentsFolder {
public:
    explicit FolderDocuments(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path() const override { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace tarvenor::testing

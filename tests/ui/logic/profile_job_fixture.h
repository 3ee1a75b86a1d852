#pragma once

#include "map_settings.h"
#include "model/profile_file.h"
#include "transfer_fixture.h"
#include "ui/logic/profile_jobs.h"

namespace tarvenor::testing {

class FolderDocuments final : public DocumentsFolder {
public:
    explicit FolderDocuments(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path() const override { return path_; }

private:
    std::filesystem::path path_;
};

// A learnt virtual keyboard and a per-user folder inside the test's folder, with the context
// the profile jobs run on.
class ProfileJobTest : public TransferTest {
protected:
    ProfileJobTest() : documents_(std::filesystem::path()), storage_(documents_) {}

    void SetUp() override {
        TransferTest::SetUp();
        documents_ = FolderDocuments(folder_ / "documents");
        std::filesystem::create_directories(folder_ / "documents");
    }

    ProfileJobContext context() { return {config_, holder_, storage_, texts_, messages_}; }

    KeyAssignment entry(int profile, int slot) {
        std::scoped_lock lock(config_.lock());
        return config_.entry(flat_entry(profile, slot));
    }
    void assign(int profile, int slot, const KeyAssignment& assignment) {
        std::scoped_lock lock(config_.lock());
        config_.assign(flat_entry(profile, slot), assignment);
    }
    // The file's bytes, or empty when it is missing.
    static Bytes file_bytes(const std::filesystem::path& path);

    FolderDocuments documents_;
    UserStorage storage_;
};

KeyAssignment typed(AssignmentType type, std::uint32_t param = 0);

} // namespace tarvenor::testing

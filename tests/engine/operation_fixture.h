#pragma once

#include "engine/job_context.h"
#include "folder_documents.h"
#include "map_settings.h"
#include "model/profile_file.h"
#include "transfer_fixture.h"

namespace tarvenor::testing {

// A learnt virtual keyboard and a per-user folder inside the test's folder, with the context
// the keyboard operations run on.
class OperationTest : public TransferTest {
protected:
    OperationTest() : documents_(std::filesystem::path()), storage_(documents_) {}

    void SetUp() override {
        TransferTest::SetUp();
        documents_ = FolderDocuments(folder_ / "documents");
        std::filesystem::create_directories(folder_ / "documents");
    }

    KeyboardContext context() { return {storage_, texts_, messages_}; }

    KeyAssignment entry(int profile, int slot) { return config_.entry(flat_entry(profile, slot)); }
    void assign(int profile, int slot, const KeyAssignment& assignment) {
        config_.assign(flat_entry(profile, slot), assignment);
    }
    // The file's bytes, or empty when it is missing.
    static Bytes file_bytes(const std::filesystem::path& path);

    FolderDocuments documents_;
    UserStorage storage_;
};

KeyAssignment typed(AssignmentType type, std::uint32_t param = 0);

} // namespace tarvenor::testing

// What an arrival reads: the keyboard's configuration, the mirror rewritten from it, and how a
// keyboard that does not answer or a mirror that cannot be written are told apart.
#include "engine/arrival_read.h"
#include "folder_documents.h"
#include "model/profile_file.h"
#include "transfer_fixture.h"

#include <fstream>

namespace tarvenor::testing {
namespace {

constexpr int kKeyA = 0x1E;

Bytes file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ArrivalReadTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        documents_ = FolderDocuments(folder_ / "docs");
        std::filesystem::create_directory(documents_.path());
    }
    KeyboardState read() { return read_keyboard_state(*commands_, storage_, texts_); }

    FolderDocuments documents_{std::filesystem::path()};
    UserStorage storage_{documents_};
};

TEST_F(ArrivalReadTest, TheKeyboardsConfigurationComesBackAndTheMirrorFollowsIt) {
    start_learnt();
    poke_memory("profiles.bin", 378 + 3 * factory_position({2, 2, 0x04}), {0, 0, 0});
    const KeyboardState state = read();
    ASSERT_TRUE(state.configuration);
    EXPECT_TRUE(state.configuration->entry(flat_entry(1, kKeyA)).is(AssignmentType::Disabled));
    EXPECT_TRUE(state.configuration->macros().empty());
    EXPECT_EQ(state.current_profile, 0);
    ASSERT_TRUE(state.mirror);
    EXPECT_TRUE(*state.mirror);
    EXPECT_FALSE(state.mirror_failed());
    EXPECT_EQ(file_bytes(storage_.mirror_path()), state.keyboard_file);
    EXPECT_EQ(validate_profile_file(storage_.mirror_path(), messages_, texts_),
              ProfileFileCheck::Valid);

    // The same keyboard read again gives the same bytes: what tells an unchanged keyboard.
    EXPECT_EQ(read().keyboard_file, state.keyboard_file);
    poke_memory("profiles.bin", 3 * factory_position({2, 2, 0x04}), {0, 0, 0});
    EXPECT_NE(read().keyboard_file, state.keyboard_file);
}

TEST_F(ArrivalReadTest, AKeyboardThatDoesNotAnswerGivesNothingAndKeepsTheMirror) {
    start_learnt();
    control("fault no-answer");
    const Bytes old{1, 2, 3};
    ASSERT_TRUE(storage_.ensure_user_folder());
    {
        std::ofstream out(storage_.mirror_path(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(old.data()), 3);
    }
    const KeyboardState state = read();
    EXPECT_FALSE(state.configuration);
    EXPECT_FALSE(state.mirror) << "nothing read, nothing written";
    EXPECT_EQ(file_bytes(storage_.mirror_path()), old);
}

TEST_F(ArrivalReadTest, AMirrorThatCannotBeWrittenIsToldAndTheKeyboardStillShown) {
    start_learnt();
    // The per-user folder is a file, then the mirror a folder: both are reported, never passed
    // over, and the keyboard's configuration is not replaced by the defaults.
    std::filesystem::remove_all(documents_.path());
    std::ofstream(documents_.path()) << "not a folder";
    KeyboardState state = read();
    ASSERT_TRUE(state.configuration);
    EXPECT_TRUE(state.mirror_failed());
    EXPECT_FALSE(state.mirror->reason().empty());

    std::filesystem::remove(documents_.path());
    std::filesystem::create_directories(storage_.mirror_path());
    state = read();
    ASSERT_TRUE(state.configuration);
    EXPECT_TRUE(state.mirror_failed());
    EXPECT_EQ(state.mirror_path, storage_.mirror_path());
}

// A damaged mirror may hold what the keyboard does not (a program path, say): it is moved aside,
// not overwritten, and the mirror then follows the keyboard again.
TEST_F(ArrivalReadTest, ADamagedMirrorIsKeptAsideBeforeTheKeyboardsContentReplacesIt) {
    start_learnt();
    ASSERT_TRUE(storage_.ensure_user_folder());
    Configuration old;
    old.make_default_image();
    old.assign(flat_entry(0, 0x10), KeyAssignment{3, 0, 0, 0, 0});
    old.texts().set(flat_entry(0, 0x10), u"/usr/bin/editor");
    old.assign(flat_entry(2, kKeyA), KeyAssignment{58171, 0, 0, 0, 0});
    ASSERT_TRUE(save_profile_file(storage_.mirror_path(), old));
    const Bytes damaged = file_bytes(storage_.mirror_path());

    const KeyboardState state = read();
    ASSERT_TRUE(state.configuration);
    ASSERT_TRUE(state.damaged_mirror);
    EXPECT_EQ(*state.damaged_mirror, (DamagedEntry{flat_entry(2, kKeyA), 58171}));
    const std::filesystem::path kept = storage_.mirror_path().string() + ".damaged";
    EXPECT_EQ(state.damaged_mirror_kept.kept, kept);
    EXPECT_EQ(file_bytes(kept), damaged);
    ASSERT_TRUE(state.mirror);
    EXPECT_TRUE(*state.mirror);
    EXPECT_EQ(file_bytes(storage_.mirror_path()), state.keyboard_file);

    // A sound mirror is simply rewritten: nothing more is kept.
    const KeyboardState again = read();
    EXPECT_FALSE(again.damaged_mirror);
    EXPECT_TRUE(again.damaged_mirror_kept.kept.empty());
    EXPECT_FALSE(std::filesystem::exists(kept.string() + "-2"));
}

} // namespace
} // namespace tarvenor::testing

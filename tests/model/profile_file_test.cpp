#include "map_settings.h"
#include "model/file_header.h"
#include "model/macro_block.h"
#include "model/profile_file.h"
#include "model_builders.h"
#include "peak_memory.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvenor {
namespace {

using testing::assignment;
using testing::factory_matrix;
using testing::macro;

class CollectingSink : public MessageSink {
public:
    void show(Message message, const std::string& text) override {
        shown.push_back(message);
        last_text = text;
    }
    std::vector<Message> shown;
    std::string last_text;
};

class ProfileFileTest : public testing::TempDirTest {
protected:
    ProfileFileCheck validate(const Bytes& bytes) {
        sink.shown.clear();
        return validate_profile_file(write("f.tvp", as_string(bytes)), sink, texts);
    }
    static std::string as_string(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }
    static Bytes as_bytes(const std::string& s) { return {s.begin(), s.end()}; }

    // A default file with its header rewritten by change and the checksum fixed afterwards.
    static Bytes with_header(const std::function<void(FileHeader&)>& change,
                             std::size_t extra = 0) {
        Bytes bytes(ConfigurationImage::kSize + extra, 0);
        const ConfigurationImage image = make_default_image();
        std::copy(image.bytes().begin(), image.bytes().end(), bytes.begin());
        FileHeader h = FileHeader::read(bytes);
        change(h);
        h.write(bytes);
        bytes[31] = header_checksum(bytes);
        return bytes;
    }

    // The documents folder is the test's own folder.
    struct TestDocuments : DocumentsFolder {
        explicit TestDocuments(const std::filesystem::path& dir) : dir(dir) {}
        std::filesystem::path path() const override { return dir; }
        const std::filesystem::path& dir;
    };

    CollectingSink sink;
    TextTable texts;
    TestDocuments documents_{dir_};
};

TEST_F(ProfileFileTest, HeaderRulesOneByOne) {
    struct Case {
        const char* what;
        std::function<void(FileHeader&)> change;
        bool valid;
    };
    const auto text_bytes = [](std::uint32_t n) {
        return [n](FileHeader& h) {
            h.text_size = n;
            h.total_size = 32832 + n;
        };
    };
    const std::vector<Case> cases{
        {"as made", [](FileHeader&) {}, true},
        {"magic", [](FileHeader& h) { h.magic = 0x4447; }, false},
        {"header size", [](FileHeader& h) { h.header_size = 33; }, false},
        {"word 4", [](FileHeader& h) { h.word4 = 2; }, false},
        {"word 6", [](FileHeader& h) { h.word6 = 0; }, false},
        {"entry count", [](FileHeader& h) { h.entry_count = 2047; }, false},
        {"flag 1", [](FileHeader& h) { h.flag = 1; }, true},
        {"flag 2", [](FileHeader& h) { h.flag = 2; }, false},
        {"total one more", [](FileHeader& h) { h.total_size += 1; }, false},
        {"total below image",
         [](FileHeader& h) {
             h.total_size = 32831;
             h.text_size = 0xFFFFFFFF;
         },
         false},
        {"text bytes present", text_bytes(10), false}, // file is shorter than it says
    };
    for (const Case& c : cases) {
        EXPECT_EQ(validate(with_header(c.change)) == ProfileFileCheck::Valid, c.valid) << c.what;
        EXPECT_EQ(sink.shown.size(), c.valid ? 0u : 1u) << c.what;
    }
    EXPECT_EQ(validate(with_header(text_bytes(10), 10)), ProfileFileCheck::Valid);

    Bytes off_by_one = with_header([](FileHeader&) {});
    off_by_one[31] += 1;
    EXPECT_EQ(validate(off_by_one), ProfileFileCheck::Invalid);
    ASSERT_EQ(sink.shown, std::vector<Message>{Message::ProfileFormatError});
    EXPECT_EQ(sink.last_text,
              "wrong file format, revert to the default values: \n  " + (dir_ / "f.tvp").string());
}

TEST_F(ProfileFileTest, MacroCountLimit) {
    const auto macros = [](std::uint16_t n) {
        return [n](FileHeader& h) {
            h.macro_count = n;
            h.total_size = static_cast<std::uint32_t>(32832 + n * 16512);
        };
    };
    EXPECT_EQ(validate(with_header(macros(100), 100 * 16512)), ProfileFileCheck::Valid);
    EXPECT_EQ(validate(with_header(macros(101), 101 * 16512)), ProfileFileCheck::Invalid);
}

TEST_F(ProfileFileTest, MissingSmallLongerAndReadOnlyFiles) {
    EXPECT_EQ(validate_profile_file(dir_ / "absent.tvp", sink, texts), ProfileFileCheck::Invalid);
    EXPECT_EQ(validate(Bytes(32831, 0)), ProfileFileCheck::Invalid);
    EXPECT_TRUE(sink.shown.empty()); // too small is not a format message
    EXPECT_EQ(validate_profile_file(dir_, sink, texts), ProfileFileCheck::Invalid);

    EXPECT_EQ(validate(with_header([](FileHeader&) {}, 500)), ProfileFileCheck::Valid);

    const auto path = write("ro.tvp", as_string(with_header([](FileHeader&) {})));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(validate_profile_file(path, sink, texts), ProfileFileCheck::Valid);
    Configuration config;
    EXPECT_TRUE(load_profile_file(path, config));
}

TEST_F(ProfileFileTest, SmallestFileLoadsToNothing) {
    const auto path = dir_ / "default.tvp";
    ASSERT_TRUE(write_default_file(path));
    EXPECT_EQ(slurp(path).size(), 32832u);
    EXPECT_EQ(validate_profile_file(path, sink, texts), ProfileFileCheck::Valid);
    Configuration config;
    ASSERT_TRUE(load_profile_file(path, config));
    EXPECT_TRUE(config.macros().empty());
    EXPECT_EQ(config.texts().total(), 0u);
    EXPECT_EQ(config.entry(256).aux_code, 0x0301);
}

TEST_F(ProfileFileTest, LoadHoldsOnlyWhatTheHeaderAnnounces) {
    // A well-formed file followed by a long (sparse) tail validates; the tail is not content, so
    // loading must not read it into memory (a file of gigabytes would exhaust it).
    const auto path = dir_ / "padded.tvp";
    ASSERT_TRUE(write_default_file(path));
    std::filesystem::resize_file(path, ConfigurationImage::kSize + (std::uintmax_t{256} << 20));
    ASSERT_EQ(validate_profile_file(path, sink, texts), ProfileFileCheck::Valid);

    const long before = testing::peak_memory_kib();
    Configuration config;
    ASSERT_TRUE(load_profile_file(path, config));
    EXPECT_LT(testing::peak_memory_kib() - before, 64 * 1024);
    EXPECT_EQ(config.entry(256).aux_code, 0x0301);
}

TEST_F(ProfileFileTest, TextsArePackedInEntryOrderAtSave) {
    Configuration config;
    config.make_default_image();
    config.assign(700, assignment(AssignmentType::TextBlock, 999));
    config.texts().set(700, u"typed text");
    config.assign(5, assignment(AssignmentType::LaunchProgram, 4));
    config.texts().set(5, u"/bin/sh");
    const Bytes file = serialise_profile_file(config);

    const FileHeader h = FileHeader::read(file);
    EXPECT_EQ(h.text_size, 16u + 22u);
    EXPECT_EQ(file.size(), 32832u + 38u);
    EXPECT_EQ(config.entry(5).param, 0u);
    EXPECT_EQ(config.entry(700).param, 16u);
    EXPECT_EQ(read_u16(file, 32832), u'/');
    EXPECT_EQ(read_u16(file, 32832 + 14), 0);
    EXPECT_EQ(read_u16(file, 32832 + 16), u't');
    EXPECT_EQ(read_u16(file, 32832 + 36), 0);
    EXPECT_TRUE(is_valid_file_header(file, file.size()));
}

TEST_F(ProfileFileTest, SaveAndLoadKeepEverythingTheFileCarries) {
    Configuration config;
    config.make_default_image();
    KeyAssignment odd = assignment(AssignmentType::StopMacro, 0xDEADBEEF);
    odd.colour_key_flag = 0x11223344;
    odd.aux_code = 7;
    odd.reserved = 0x55667788;
    config.assign(flat_entry(3, 100), odd); // table 3, and fields no type gives meaning to
    config.assign(flat_entry(1, 400), assignment(AssignmentType::Key, 5)); // unused slot
    config.assign(flat_entry(2, 0x1E), assignment(AssignmentType::LaunchProgram));
    config.texts().set(flat_entry(2, 0x1E), u"C:\\程序.exe");
    MacroRecord m = macro(9, u"Ünïcode", 5);
    m.play_mode = 2;
    m.cycles = 200;
    config.macros() = {m, macro(3, u"second", 2000)};

    const auto path = dir_ / "full.tvp";
    ASSERT_TRUE(save_profile_file(path, config));
    ASSERT_EQ(validate_profile_file(path, sink, texts), ProfileFileCheck::Valid);

    Configuration loaded;
    ASSERT_TRUE(load_profile_file(path, loaded));
    EXPECT_EQ(loaded.entry(flat_entry(3, 100)), odd);
    EXPECT_EQ(loaded.entry(flat_entry(1, 400)), assignment(AssignmentType::Key, 5));
    ASSERT_NE(loaded.texts().text(flat_entry(2, 0x1E)), nullptr);
    EXPECT_EQ(*loaded.texts().text(flat_entry(2, 0x1E)), u"C:\\程序.exe");
    EXPECT_EQ(loaded.macros(), config.macros());

    const auto again = dir_ / "again.tvp";
    ASSERT_TRUE(save_profile_file(again, loaded));
    EXPECT_EQ(slurp(again), slurp(path));
}

TEST_F(ProfileFileTest, LoaderNeverReadsOutsideTheTextArea) {
    Bytes file = with_header([](FileHeader& h) {
        h.text_size = 6;
        h.total_size = 32832 + 6;
    });
    file.insert(file.end(), {'a', 0, 0, 0, 'c', 0}); // the second text has no terminator
    ConfigurationImage image(file);
    image.set_entry(10, assignment(AssignmentType::TextBlock, 0));
    image.set_entry(11, assignment(AssignmentType::TextBlock, 5));     // odd: rounds down to 4
    image.set_entry(12, assignment(AssignmentType::LaunchProgram, 6)); // just past the end
    image.set_entry(13, assignment(AssignmentType::LaunchProgram, 0xFFFFFFFF));
    image.set_entry(14, assignment(AssignmentType::Key, 0)); // not a text type
    std::copy(image.bytes().begin(), image.bytes().end(), file.begin());

    Configuration config;
    ASSERT_TRUE(load_profile_bytes(file, config));
    EXPECT_EQ(*config.texts().text(10), u"a");
    EXPECT_EQ(*config.texts().text(11), u"c");
    EXPECT_FALSE(config.texts().has(12));
    EXPECT_FALSE(config.texts().has(13));
    EXPECT_FALSE(config.texts().has(14));
    EXPECT_EQ(config.texts().total(), 4u + 4u);

    file.pop_back();
    Configuration short_file;
    EXPECT_FALSE(load_profile_bytes(file, short_file));
    EXPECT_FALSE(short_file.has_image());
}

TEST_F(ProfileFileTest, EntriesSharingOneTextCannotMultiplyIt) {
    const std::size_t units = 1000;
    Bytes file = with_header([&](FileHeader& h) {
        h.text_size = static_cast<std::uint32_t>(units * 2);
        h.total_size = static_cast<std::uint32_t>(32832 + units * 2);
    });
    file.resize(file.size() + units * 2, 'x'); // one long text without terminator
    ConfigurationImage image(file);
    for (int flat = 0; flat < 2048; flat += 2) {
        image.set_entry(flat, assignment(AssignmentType::LaunchProgram, 0));
    }
    image.set_entry(1, assignment(AssignmentType::TextBlock, 1990)); // the last five units
    std::copy(image.bytes().begin(), image.bytes().end(), file.begin());

    Configuration config;
    ASSERT_TRUE(load_profile_bytes(file, config));
    EXPECT_EQ(config.texts().text(0)->size(), units) << "the first reference keeps the text";
    EXPECT_FALSE(config.texts().has(1)) << "its bytes are already held by entry 0";
    EXPECT_FALSE(config.texts().has(2));
    EXPECT_EQ(config.texts().total(), units * 2 + 2);
}

TEST_F(ProfileFileTest, TheUserFolderIsMadeWithAMissingDocumentsFolderButNotOverAFile) {
    const std::filesystem::path missing = dir_ / "home" / "Documents";
    const TestDocuments fresh_account{missing};
    EXPECT_TRUE(UserStorage(fresh_account).ensure_user_folder());
    EXPECT_TRUE(std::filesystem::is_directory(missing / "Tarvenor_R4X"));

    const std::filesystem::path taken = dir_ / "taken";
    std::ofstream(taken) << "a file where the documents folder should be";
    const TestDocuments blocked{taken};
    EXPECT_FALSE(UserStorage(blocked).ensure_user_folder());
    EXPECT_EQ(slurp(taken), "a file where the documents folder should be");
}

TEST_F(ProfileFileTest, MirrorIsOnlyRewrittenWhenPresentAndSavesAreAtomic) {
    const UserStorage storage(documents_);
    EXPECT_EQ(storage.mirror_path(0), storage.mirror_path(2));
    EXPECT_EQ(storage.mirror_path(1), dir_ / "Tarvenor_R4X" / "$Profile0");

    Configuration config;
    config.make_default_image();
    EXPECT_FALSE(save_profile_mirror(storage, config)) << "no mirror: nothing to keep up";
    EXPECT_FALSE(std::filesystem::exists(storage.folder()));

    ASSERT_TRUE(storage.ensure_user_folder());
    ASSERT_TRUE(write_default_file(storage.mirror_path()));
    config.macros() = {macro(1, u"m", 1)};
    const std::optional<FileWriteResult> saved = save_profile_mirror(storage, config);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(*saved);
    EXPECT_EQ(slurp(storage.mirror_path()).size(), 32832u + 16512u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(storage.folder())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u); // no temporary file left behind

    EXPECT_FALSE(save_profile_file(dir_ / "no" / "such" / "dir.tvp", config));
    Configuration no_image;
    EXPECT_FALSE(save_profile_file(dir_ / "x.tvp", no_image));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.tvp"));
}

TEST_F(ProfileFileTest, AMirrorThatIsNotAFileIsAFailureNotAbsent) {
    const UserStorage storage(documents_);
    Configuration config;
    config.make_default_image();
    std::filesystem::create_directories(storage.mirror_path());
    const std::optional<FileWriteResult> saved = save_profile_mirror(storage, config);
    ASSERT_TRUE(saved);
    EXPECT_FALSE(*saved);
    EXPECT_FALSE(saved->reason().empty());
}

TEST_F(ProfileFileTest, ConfigurationsComeFromFilesOrAreTheDefaults) {
    Configuration built;
    built.make_default_image();
    built.assign(flat_entry(1, 0x1E), assignment(AssignmentType::Disabled));
    built.macros() = {macro(1, u"m")};
    const auto mirror = dir_ / "$Profile0";
    ASSERT_TRUE(save_profile_file(mirror, built));

    const std::optional<Configuration> loaded = configuration_from_file(mirror);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->entry(flat_entry(1, 0x1E)).is(AssignmentType::Disabled));
    EXPECT_EQ(loaded->macros().size(), 1u);
    EXPECT_EQ(loaded->texts().total(), 0u);
    const std::string bytes = slurp(mirror);
    EXPECT_EQ(configuration_from_bytes(Bytes(bytes.begin(), bytes.end()))->macros().size(), 1u);

    EXPECT_FALSE(configuration_from_file(dir_ / "vanished"));
    std::filesystem::create_directories(dir_ / "folder.tvp");
    EXPECT_FALSE(configuration_from_file(dir_ / "folder.tvp")) << "a folder, not a file";
    EXPECT_FALSE(configuration_from_bytes(Bytes(100, 0)));
    const Configuration defaults = default_configuration();
    EXPECT_TRUE(defaults.entry(flat_entry(1, 0x1E)).is_zero());
    EXPECT_TRUE(defaults.macros().empty());
    EXPECT_EQ(defaults.entry(256).aux_code, 0x0301);
}

TEST_F(ProfileFileTest, SettingsFileAndStoreKeys) {
    const UserStorage storage(documents_);
    EXPECT_FALSE(storage.lighting_switch());
    ASSERT_TRUE(storage.set_lighting_switch(true));
    EXPECT_TRUE(storage.lighting_switch());
    EXPECT_NE(slurp(storage.settings_file()).find("DengCheck=1"), std::string::npos);

    testing::MapSettings store;
    EXPECT_EQ(profile_list_key(0), "PROFILE00");
    EXPECT_EQ(profile_list_key(12), "PROFILE12");
    store.values["RecordDelay"] = "7";
    EXPECT_EQ(read_record_delay(store, texts), 0);
    EXPECT_EQ(store.values["RecordDelay"], "0");
    store.values["RecordDelay"] = "1";
    EXPECT_EQ(read_record_delay(store, texts), 1);
}

TEST_F(ProfileFileTest, FileBuiltFromKeyboardBlocks) {
    const DefaultKeyMatrix matrix = factory_matrix();
    std::array<ProfileBlock, 3> profiles{matrix, matrix, matrix};
    profiles[1].set(0, {5, 1, 1});
    profiles[2].set(0, {0, 0, 0});
    const Bytes block = build_macro_block({macro(4, u"x", 2), macro(9, u"y", 1)}, false);
    const Bytes file = build_profile_file_image(profiles, block, matrix, texts);

    ASSERT_TRUE(is_valid_file_header(file, file.size()));
    Configuration config;
    ASSERT_TRUE(load_profile_bytes(file, config));
    EXPECT_EQ(config.entry(flat_entry(1, 0x1E)), assignment(AssignmentType::Macro, 2));
    EXPECT_TRUE(config.entry(flat_entry(2, 0x1E)).is(AssignmentType::Disabled));
    EXPECT_EQ(config.entry(flat_entry(2, 265)).aux_code, 0x1301);
    EXPECT_TRUE(config.image().key_table(3) == KeyTable{});
    ASSERT_EQ(config.macros().size(), 2u);
    EXPECT_EQ(config.macros()[1].id, 2);
    EXPECT_EQ(config.macros()[1].name, u"Macro2");

    const Bytes empty_area(16, 0xFF);
    EXPECT_EQ(build_profile_file_image(profiles, empty_area, matrix, texts).size(), 32832u);
}

} // namespace
} // namespace tarvenor

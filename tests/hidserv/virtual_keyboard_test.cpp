#include "hidserv/sim/control_channel.h"
#include "hidserv/sim/fault_plan.h"
#include "hidserv/sim/firmware.h"
#include "hidserv/sim/virtual_keyboard.h"
#include "hidserv/units.h"
#include "notification_recorder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

namespace tarvenor::testing {
namespace {

using sim::Report;
using Bytes = std::vector<std::uint8_t>;

Report request(std::uint8_t command, std::uint8_t length, std::uint16_t address,
               const Bytes& data = {}) {
    Report report{};
    report[0] = 0x04;
    report[3] = command;
    report[4] = length;
    report[5] = static_cast<std::uint8_t>(address & 0xFF);
    report[6] = static_cast<std::uint8_t>(address >> 8);
    std::copy(data.begin(), data.end(), report.begin() + 8);
    return report;
}

Bytes answer_data(const Report& answer, std::size_t length) {
    return Bytes(answer.begin() + 8, answer.begin() + 8 + static_cast<std::ptrdiff_t>(length));
}

class FirmwareFolderTest : public TempDirTest {
protected:
    Bytes file(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    sim::Firmware open_firmware() {
        sim::Firmware firmware;
        std::string error;
        EXPECT_TRUE(firmware.open(dir_, error)) << error;
        return firmware;
    }
};

using FirmwareTest = FirmwareFolderTest;

// Each profile's lighting record: the lighting reset's bytes, then zeros.
Bytes factory_settings() {
    const Bytes reset = {0x01, 0x04, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                         0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                         0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    Bytes settings(256, 0);
    for (int profile = 0; profile < 3; ++profile) {
        std::copy(reset.begin(), reset.end(), settings.begin() + profile * 42);
    }
    return settings;
}

TEST_F(FirmwareTest, FactoryMemory) {
    open_firmware();
    Bytes parameters(44, 0);
    parameters[11] = 64;
    const Bytes effects = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
    std::copy(effects.begin(), effects.end(), parameters.begin() + 12);
    EXPECT_EQ(file("parameters.bin"), parameters);
    EXPECT_EQ(file("settings.bin"), factory_settings());
    const Bytes colours = file("colours.bin");
    ASSERT_EQ(colours.size(), 1536u);
    for (int profile = 0; profile < 3; ++profile) {
        const auto row = colours.begin() + profile * 512;
        EXPECT_EQ(Bytes(row, row + 378), Bytes(378, 0xFF)) << profile;
        EXPECT_EQ(Bytes(row + 378, row + 512), Bytes(134, 0)) << profile;
    }
    EXPECT_EQ(file("macros.bin"), Bytes(8192, 0));

    const Bytes matrix = file("default_matrix.bin");
    ASSERT_EQ(matrix.size(), 378u);
    const auto code = [&](int position) {
        return Bytes(matrix.begin() + 3 * position, matrix.begin() + 3 * position + 3);
    };
    EXPECT_EQ(code(0), (Bytes{2, 2, 0x29}));   // Esc
    EXPECT_EQ(code(64), (Bytes{2, 2, 0x04}));  // A
    EXPECT_EQ(code(105), (Bytes{2, 1, 0x01})); // left Ctrl
    EXPECT_EQ(code(108), (Bytes{2, 2, 0x2C})); // Space
    EXPECT_EQ(code(109), (Bytes{2, 1, 0x40})); // right Alt
    EXPECT_EQ(code(110), (Bytes{5, 0, 0}));    // Fn
    EXPECT_EQ(code(96), (Bytes{2, 2, 0x87}));  // K56
    EXPECT_EQ(code(125), (Bytes{0, 0, 0}));    // the G keys' position holds no key
    int keys = 0;
    for (int position = 0; position < 126; ++position) {
        keys += code(position) != Bytes{0, 0, 0};
    }
    EXPECT_EQ(keys, 107); // 106 keys and Fn

    Bytes profiles;
    for (int profile = 0; profile < 3; ++profile) {
        profiles.insert(profiles.end(), matrix.begin(), matrix.end());
    }
    EXPECT_EQ(file("profiles.bin"), profiles);
}

TEST_F(FirmwareTest, AnswerEchoesTheHeaderAndCarriesDataAndChecksum) {
    sim::Firmware firmware = open_firmware();
    Report answer = firmware.execute(request(3, 44, 0));
    sim::seal_answer(answer);
    EXPECT_EQ(answer[0], 0x04);
    EXPECT_EQ(answer[3], 3);
    EXPECT_EQ(answer[4], 44);
    EXPECT_EQ(answer[7], 0);
    EXPECT_EQ(answer_data(answer, 44), file("parameters.bin"));
    unsigned sum = 0;
    for (std::size_t i = 3; i < 64; ++i) {
        sum += answer[i];
    }
    EXPECT_EQ(answer[1] | answer[2] << 8, static_cast<int>(sum));
}

TEST_F(FirmwareTest, StatusFFForOutOfAreaAndFEForUnknownCommands) {
    sim::Firmware firmware = open_firmware();
    EXPECT_EQ(firmware.execute(request(11, 0, 0))[7], 0xFE);
    EXPECT_EQ(firmware.execute(request(0, 0, 0))[7], 0xFE);
    EXPECT_EQ(firmware.execute(request(5, 10, 250))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(5, 6, 250))[7], 0x00); // ends exactly at the area's end
    EXPECT_EQ(firmware.execute(request(5, 57, 0))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(3, 44, 1))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(10, 1, 8192, {9}))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(17, 3, 1533, {1, 2, 3}))[7], 0x00);
    EXPECT_EQ(file("macros.bin"), Bytes(8192, 0));
}

TEST_F(FirmwareTest, WritesAreInTheFilesAndSurviveARestart) {
    {
        sim::Firmware firmware = open_firmware();
        EXPECT_EQ(firmware.execute(request(6, 3, 42, {7, 8, 9}))[7], 0);
    }
    const Bytes settings = file("settings.bin");
    EXPECT_EQ(Bytes(settings.begin() + 42, settings.begin() + 45), (Bytes{7, 8, 9}));
    sim::Firmware reopened = open_firmware();
    EXPECT_EQ(answer_data(reopened.execute(request(5, 3, 42)), 3), (Bytes{7, 8, 9}));
}

TEST_F(FirmwareTest, MacroMemoryFollowsTheParameterBlock) {
    sim::Firmware firmware = open_firmware();
    Bytes parameters = file("parameters.bin");
    parameters[11] = 255;
    EXPECT_EQ(firmware.execute(request(4, 44, 0, parameters))[7], 0);
    EXPECT_EQ(file("macros.bin").size(), 255u * 128);
    EXPECT_EQ(firmware.execute(request(10, 2, 255 * 128 - 2, {1, 2}))[7], 0);
    parameters[11] = 1;
    EXPECT_EQ(firmware.execute(request(4, 44, 0, parameters))[7], 0);
    EXPECT_EQ(file("macros.bin").size(), 128u);
}

TEST_F(FirmwareTest, LargeMacroMemorySurvivesAnotherProgramStartingOnTheFolder) {
    sim::Firmware running = open_firmware();
    Bytes parameters = file("parameters.bin");
    parameters[11] = 255;
    EXPECT_EQ(running.execute(request(4, 44, 0, parameters))[7], 0);
    EXPECT_EQ(running.execute(request(10, 2, 255 * 128 - 2, {1, 2}))[7], 0);
    open_firmware();
    EXPECT_EQ(answer_data(running.execute(request(9, 2, 255 * 128 - 2)), 2), (Bytes{1, 2}));
}

TEST_F(FirmwareTest, FileOfTheWrongSizeIsMended) {
    std::ofstream(dir_ / "settings.bin", std::ios::binary) << std::string(10, '\x11');
    std::ofstream(dir_ / "parameters.bin", std::ios::binary) << std::string(50, '\x01');
    open_firmware();
    // The missing part comes from the factory contents.
    Bytes settings = factory_settings();
    std::fill_n(settings.begin(), 10, 0x11);
    EXPECT_EQ(file("settings.bin"), settings);
    EXPECT_EQ(file("parameters.bin"), Bytes(44, 0x01));
    EXPECT_EQ(file("macros.bin").size(), 128u); // byte 11 of the kept parameters says 1 unit
}

// Two programs on one memory folder, each with its own firmware, are one keyboard.
TEST_F(FirmwareTest, ProgramsOnOneFolderShareTheMemory) {
    sim::Firmware first = open_firmware();
    sim::Firmware second = open_firmware();
    EXPECT_EQ(first.execute(request(6, 3, 42, {7, 8, 9}))[7], 0);
    EXPECT_EQ(answer_data(second.execute(request(5, 3, 42)), 3), (Bytes{7, 8, 9}));

    Bytes parameters = answer_data(second.execute(request(3, 44, 0)), 44);
    parameters[11] = 2; // 256 bytes of macro memory
    EXPECT_EQ(second.execute(request(4, 44, 0, parameters))[7], 0);
    EXPECT_EQ(first.execute(request(9, 4, 300))[7], 0xFF) << "the other's new size holds";
    EXPECT_EQ(first.execute(request(10, 2, 254, {5, 6}))[7], 0);
    EXPECT_EQ(answer_data(second.execute(request(9, 2, 254)), 2), (Bytes{5, 6}));
}

// A firmware keeping the memory for a run of commands still keeps every other program out.
TEST_F(FirmwareTest, AnotherProgramWaitsWhileTheMemoryIsHeld) {
    sim::Firmware holder = open_firmware();
    sim::Firmware other = open_firmware();
    ASSERT_TRUE(holder.hold_memory());
    EXPECT_EQ(holder.execute(request(6, 3, 42, {7, 8, 9}))[7], 0);
    auto reading = std::async(std::launch::async,
                              [&] { return answer_data(other.execute(request(5, 3, 42)), 3); });
    EXPECT_EQ(reading.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    EXPECT_EQ(holder.execute(request(6, 3, 42, {4, 5, 6}))[7], 0);
    holder.release_memory();
    EXPECT_EQ(reading.get(), (Bytes{4, 5, 6})) << "the holder's last write, whole";
}

TEST_F(FirmwareTest, HeldMemoryFollowsTheParameterBlockWrittenMeanwhile) {
    sim::Firmware firmware = open_firmware();
    ASSERT_TRUE(firmware.hold_memory());
    EXPECT_EQ(firmware.execute(request(9, 4, 300))[7], 0) << "8 KiB from the factory";
    Bytes parameters = file("parameters.bin");
    parameters[11] = 2;
    EXPECT_EQ(firmware.execute(request(4, 44, 0, parameters))[7], 0);
    EXPECT_EQ(firmware.execute(request(9, 4, 300))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(10, 2, 254, {5, 6}))[7], 0);
    firmware.release_memory();
    parameters[11] = 1;
    EXPECT_EQ(firmware.execute(request(4, 44, 0, parameters))[7], 0);
    ASSERT_TRUE(firmware.hold_memory());
    EXPECT_EQ(firmware.execute(request(9, 2, 254))[7], 0xFF);
    EXPECT_EQ(firmware.execute(request(9, 2, 126))[7], 0);
}

TEST_F(FirmwareTest, ReadsNeverSeeAnotherProgramsWriteHalfDone) {
    sim::Firmware writer = open_firmware();
    sim::Firmware reader = open_firmware();
    constexpr std::uint16_t kAcrossPages = 4096 - 28;
    std::atomic<bool> done{false};
    std::thread writing([&] {
        for (int i = 0; i < 4000; ++i) {
            writer.execute(request(10, 56, kAcrossPages, Bytes(56, i % 2 ? 0x11 : 0x22)));
        }
        done = true;
    });
    int torn = 0;
    int reads = 0;
    while (!done) {
        const Bytes data = answer_data(reader.execute(request(9, 56, kAcrossPages)), 56);
        torn += std::count(data.begin(), data.end(), data.front()) != 56;
        ++reads;
    }
    writing.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
}

TEST(FaultPlanTest, ParsesCountsAndGoodReportsBefore) {
    auto plan = sim::FaultPlan::parse("status-ff 2 1");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->describe(), "status-ff 2 after 1");
    EXPECT_EQ(plan->next(), sim::Fault::None);
    EXPECT_EQ(plan->next(), sim::Fault::StatusFF);
    EXPECT_EQ(plan->next(), sim::Fault::StatusFF);
    EXPECT_EQ(plan->next(), sim::Fault::None);
    EXPECT_EQ(plan->describe(), "none");

    auto always = sim::FaultPlan::parse("  no-answer ");
    ASSERT_TRUE(always);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(always->next(), sim::Fault::NoAnswer);
    }
    EXPECT_EQ(sim::FaultPlan::parse("bad-echo 0")->next(), sim::Fault::None);
    for (const char* bad :
         {"", "status", "status-ff -1", "status-ff 2x", "bad-echo 1 2 3", "no-answer many"}) {
        EXPECT_FALSE(sim::FaultPlan::parse(bad)) << bad;
    }
}

class VirtualKeyboardTest : public FirmwareFolderTest {
protected:
    void start(bool unplugged = false) {
        sim::SimConfig config;
        config.folder = dir_ / "memory";
        config.traffic = dir_ / "traffic";
        config.control_socket = dir_ / "control.sock";
        config.start_unplugged = unplugged;
        std::string error;
        keyboard_ = sim::VirtualKeyboard::start(config, error);
        ASSERT_NE(keyboard_, nullptr) << error;
        for (const auto& [unit, tag] : {std::pair{hidserv::kCommandUnit, HIDSERV_TAG_CTRL},
                                        std::pair{hidserv::kConsumerUnit, HIDSERV_TAG_CONS}}) {
            ASSERT_NE(keyboard_->place_read(unit, &NotificationRecorder::callback, tag), 0u);
        }
    }
    void TearDown() override {
        keyboard_.reset();
        FirmwareFolderTest::TearDown();
    }
    int send(const Report& report) {
        return keyboard_->write_one(hidserv::kCommandUnit, report.data(), 64);
    }
    std::string control(const std::string& command) {
        std::string error;
        const auto reply = sim::send_control_command(dir_ / "control.sock", command, error);
        return reply ? *reply : error;
    }

    NotificationRecorder recorder_;
    std::unique_ptr<sim::VirtualKeyboard> keyboard_;
};

TEST_F(VirtualKeyboardTest, AnswersOnItsOwnThreadAndLogsTheTraffic) {
    start();
    const Report sent = request(3, 44, 0);
    EXPECT_EQ(send(sent), 64);
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return !n.empty(); }));
    const Notification answer = recorder_.all().front();
    EXPECT_EQ(answer.kind, HIDSERV_KIND_DATA);
    EXPECT_EQ(answer.tag, HIDSERV_TAG_CTRL);
    ASSERT_EQ(answer.data.size(), 64u);
    EXPECT_EQ(answer.data[3], 3);
    EXPECT_NE(answer.thread, std::this_thread::get_id());

    std::ifstream log(dir_ / "traffic");
    std::string first, second;
    std::getline(log, first);
    std::getline(log, second);
    EXPECT_EQ(first, "> 0400"
                     "00032c" +
                         std::string(118, '0'));
    ASSERT_EQ(second.size(), 130u);
    EXPECT_EQ(second.substr(0, 12), "< 042e01032c");
}

TEST_F(VirtualKeyboardTest, PlugAndUnplugReachEveryReadAsConnectionChanges) {
    start(true);
    EXPECT_EQ(keyboard_->device_count(hidserv::kCommandUnit), 0);
    EXPECT_EQ(send(request(3, 44, 0)), 0);
    EXPECT_EQ(control("plug"), "ok");
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return n.size() == 2; }));
    for (const Notification& n : recorder_.all()) {
        EXPECT_EQ(n.kind, HIDSERV_KIND_CONNECTION);
        EXPECT_EQ(n.length_or_count, 1u);
    }
    EXPECT_EQ(keyboard_->device_count(hidserv::kStatusUnit), 1);
    EXPECT_EQ(control("plug"), "ok"); // no change, no notification
    EXPECT_EQ(control("unplug"), "ok");
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return n.size() == 4; }));
    EXPECT_EQ(recorder_.all()[3].length_or_count, 0u);
}

TEST_F(VirtualKeyboardTest, ConsumerCodesGoToTheConsumerReadOnly) {
    start();
    EXPECT_EQ(control("consumer 0x02ff"), "ok");
    EXPECT_EQ(control("consumer 1025"), "ok");
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return n.size() == 2; }));
    for (const Notification& n : recorder_.all()) {
        EXPECT_EQ(n.tag, HIDSERV_TAG_CONS);
    }
    EXPECT_EQ(recorder_.all()[0].data, (Bytes{0xFF, 0x02}));
    EXPECT_EQ(recorder_.all()[1].data, (Bytes{0x01, 0x04}));
    EXPECT_NE(control("consumer 0x10000").find("error"), std::string::npos);
    EXPECT_EQ(control("unplug"), "ok");
    EXPECT_NE(control("consumer 0x02ff").find("unplugged"), std::string::npos);
}

TEST_F(VirtualKeyboardTest, LatencyDelaysTheAnswer) {
    start();
    EXPECT_EQ(control("latency 30"), "ok");
    const auto sent_at = std::chrono::steady_clock::now();
    send(request(1, 0, 0));
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return !n.empty(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - sent_at, std::chrono::milliseconds(30));
}

TEST_F(VirtualKeyboardTest, KeepsTheLastStatusReport) {
    start();
    const std::uint8_t bank[2] = {0x05, 0x03};
    HidRequestHandle handle = 0;
    EXPECT_EQ(keyboard_->write_status(hidserv::kStatusUnit, bank, 2, &handle), 2);
    EXPECT_NE(handle, 0u);
    std::uint8_t read_back[4] = {};
    EXPECT_EQ(keyboard_->get_feature(hidserv::kStatusUnit, read_back, 4), 2);
    EXPECT_EQ(read_back[1], 0x03);
    EXPECT_NE(control("status").find("status-report=0503"), std::string::npos);
    EXPECT_TRUE(keyboard_->delete_request(handle));
    EXPECT_FALSE(keyboard_->delete_request(handle));
    EXPECT_EQ(keyboard_->write_status(hidserv::kCommandUnit, bank, 2, &handle), 0);
}

TEST_F(VirtualKeyboardTest, ControlChannelRejectsWhatItDoesNotKnow) {
    start();
    EXPECT_NE(control("explode").find("error: unknown command"), std::string::npos);
    for (const char* bad : {"latency soon", "latency -5", "latency 60001",
                            "latency 9223372036854775807", "latency 18446744073709551615"}) {
        EXPECT_NE(control(bad).find("error"), std::string::npos) << bad;
    }
    EXPECT_EQ(control("latency 60000"), "ok");
    EXPECT_NE(control("fault sometimes").find("error"), std::string::npos);
    EXPECT_EQ(control("fault status-fe 2"), "ok");
    EXPECT_NE(control("status").find("fault=status-fe 2"), std::string::npos);

    sim::ControlServer second;
    std::string error;
    EXPECT_FALSE(second.start(
        dir_ / "control.sock", [](std::string_view) { return ""; }, error));
    EXPECT_NE(error.find("another virtual keyboard"), std::string::npos);
}

TEST_F(VirtualKeyboardTest, StopsWhetherIdleOrWithAnswersStillQueued) {
    for (int i = 0; i < 20; ++i) {
        start();
        keyboard_.reset(); // nothing queued: stopping alone wakes its thread
    }
    start();
    EXPECT_EQ(control("latency 60000"), "ok");
    send(request(1, 0, 0));
    keyboard_.reset(); // does not wait for the answer that is not yet due
    EXPECT_TRUE(recorder_.all().empty());
}

TEST_F(VirtualKeyboardTest, DeletedReadIsNeverCalledAgain) {
    start();
    const HidRequestHandle handle =
        keyboard_->place_read(hidserv::kCommandUnit, &NotificationRecorder::callback, 0x54455354);
    EXPECT_TRUE(keyboard_->delete_request(handle));
    send(request(1, 0, 0));
    ASSERT_TRUE(recorder_.wait_for([](const auto& n) { return !n.empty(); }));
    keyboard_.reset(); // every queued event has been delivered or dropped
    EXPECT_TRUE(only(recorder_.all(), HIDSERV_KIND_DATA, 0x54455354).empty());
}

TEST_F(VirtualKeyboardTest, ReadDeletedByAnotherReadsCallbackMissesTheSameChange) {
    start();
    constexpr std::uint32_t kLateTag = 0x4C415445;
    const HidRequestHandle late =
        keyboard_->place_read(hidserv::kConsumerUnit, &NotificationRecorder::callback, kLateTag);
    sim::VirtualKeyboard* const keyboard = keyboard_.get();
    recorder_.on_notification = [keyboard, late](const Notification& n) {
        if (n.kind == HIDSERV_KIND_CONNECTION && n.tag == HIDSERV_TAG_CTRL) {
            keyboard->delete_request(late);
        }
    };
    EXPECT_EQ(control("unplug"), "ok");
    ASSERT_TRUE(recorder_.wait_for(
        [](const auto& n) { return !only(n, HIDSERV_KIND_CONNECTION, HIDSERV_TAG_CONS).empty(); }));
    keyboard_.reset();
    EXPECT_TRUE(only(recorder_.all(), HIDSERV_KIND_CONNECTION, kLateTag).empty());
}

// Two keyboards on one memory folder, as two programs would run them.
class SharedFolderTest : public VirtualKeyboardTest {
protected:
    static constexpr std::uint32_t kSecondTag = 0x32534E44;

    void start_second() {
        sim::SimConfig config;
        config.folder = dir_ / "memory";
        config.control_socket = dir_ / "second.sock";
        std::string error;
        second_ = sim::VirtualKeyboard::start(config, error);
        ASSERT_NE(second_, nullptr) << error;
        ASSERT_NE(
            second_->place_read(hidserv::kCommandUnit, &NotificationRecorder::callback, kSecondTag),
            0u);
    }
    void TearDown() override {
        second_.reset();
        VirtualKeyboardTest::TearDown();
    }

    std::unique_ptr<sim::VirtualKeyboard> second_;
};

TEST_F(SharedFolderTest, AKeyboardGoneQuietLetsTheOtherAtTheMemory) {
    start();
    start_second();
    for (int round = 1; round <= 3; ++round) {
        send(request(6, 1, 42, {static_cast<std::uint8_t>(round)}));
        ASSERT_TRUE(recorder_.wait_for([&](const auto& n) {
            return static_cast<int>(only(n, HIDSERV_KIND_DATA, HIDSERV_TAG_CTRL).size()) == round;
        }));
        const Report read = request(5, 1, 42);
        second_->write_one(hidserv::kCommandUnit, read.data(), 64);
        ASSERT_TRUE(recorder_.wait_for([&](const auto& n) {
            return static_cast<int>(only(n, HIDSERV_KIND_DATA, kSecondTag).size()) == round;
        })) << "round "
            << round;
        EXPECT_EQ(only(recorder_.all(), HIDSERV_KIND_DATA, kSecondTag).back().data[8], round);
    }
}

TEST_F(SharedFolderTest, AKeyboardKeptBusyStillLetsTheOtherIn) {
    start();
    start_second();
    constexpr int kFlood = 30000;
    std::atomic<int> first_answers{0};
    std::atomic<int> first_answers_before_second{-1};
    recorder_.on_notification = [&](const Notification& n) {
        if (n.tag == HIDSERV_TAG_CTRL) {
            ++first_answers;
        } else if (n.tag == kSecondTag) {
            first_answers_before_second = first_answers.load();
        }
    };
    for (int i = 0; i < kFlood; ++i) {
        send(request(10, 56, 0, Bytes(56, static_cast<std::uint8_t>(i))));
    }
    const Report read = request(9, 56, 0);
    second_->write_one(hidserv::kCommandUnit, read.data(), 64);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (first_answers_before_second < 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(first_answers_before_second, 0);
    EXPECT_LT(first_answers_before_second, kFlood) << "answered only once the first had done";
    keyboard_.reset(); // before the counters go
    second_.reset();
}

} // namespace
} // namespace tarvenor::testing

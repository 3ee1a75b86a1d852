#pragma once

#include "device/commands.h"
#include "device/device_link.h"
#include "device/service_library.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tarvenor::testing {

using Bytes = std::vector<std::uint8_t>;

struct TrafficLine {
    char direction; // '>' request, '<' answer
    std::array<std::uint8_t, 64> report;
};

// Everything the keyboard reported by itself, for tests to wait on.
class RecordingSink final : public ConnectionSink {
public:
    void connection_changed(int count) override;
    void consumer_code(std::uint16_t code) override;
    // Waits (briefly) until the condition holds on the recorded events.
    bool wait_for(const std::function<bool(const std::vector<int>& counts,
                                           const std::vector<std::uint16_t>& codes)>& condition);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> counts_;
    std::vector<std::uint16_t> codes_;
};

// A virtual keyboard in a fresh folder, loaded through the real service-library path, with a
// device link whose answer wait is short.
class SimKeyboardTest : public TempDirTest {
protected:
    static constexpr std::chrono::milliseconds kTestAnswerWait{40};

    void SetUp() override;
    void TearDown() override;

    // Loads the library with extra environment settings (name -> value) and starts the link.
    void start(const std::map<std::string, std::string>& environment = {});
    // Points the virtual keyboard at the test's folder, for a library loaded by someone else.
    void set_environment(const std::map<std::string, std::string>& environment = {});
    void stop();
    // Sends a control command to the virtual keyboard; fails the test unless it says "ok".
    void control(const std::string& command);
    std::string control_reply(const std::string& command);

    std::vector<TrafficLine> traffic() const;
    std::vector<TrafficLine> requests() const;
    void clear_traffic();
    // The raw content of one of the keyboard's memory files.
    Bytes memory(const std::string& file) const;
    void poke_memory(const std::string& file, std::size_t offset, const Bytes& bytes);

    std::filesystem::path folder_;
    RecordingSink sink_;
    std::unique_ptr<ServiceLibrary> library_;
    std::unique_ptr<DeviceLink> link_;
    DeviceFacts facts_;
    std::unique_ptr<CommandSet> commands_;
};

// Sum of bytes 3..63, computed here independently of the program's own checksum.
unsigned sum_of_bytes_3_to_63(const std::array<std::uint8_t, 64>& report);

// Command bytes of the requests in the traffic.
constexpr std::uint8_t kBegin = 1, kEnd = 2, kReadParameters = 3, kWriteProfileBlock = 8,
                       kWriteMacroArea = 10;

// The address a request in the traffic names.
std::uint16_t address_of(const TrafficLine& line);
// A sealed request for the parameter block.
DeviceReport read_parameters_request();

} // namespace tarvenor::testing

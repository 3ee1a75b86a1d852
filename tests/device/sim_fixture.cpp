#include "sim_fixture.h"

#include "hidserv/sim/control_channel.h"
#include "scoped_variable.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tarvenor::testing {

void RecordingSink::connection_changed(int count) {
    {
        const std::lock_guard lock(mutex_);
        counts_.push_back(count);
    }
    changed_.notify_all();
}

void RecordingSink::consumer_code(std::uint16_t code) {
    {
        const std::lock_guard lock(mutex_);
        codes_.push_back(code);
    }
    changed_.notify_all();
}

bool RecordingSink::wait_for(
    const std::function<bool(const std::vector<int>&, const std::vector<std::uint16_t>&)>&
        condition) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(2),
                             [&] { return condition(counts_, codes_); });
}

void SimKeyboardTest::SetUp() {
    TempDirTest::SetUp();
    folder_ = dir_;
}

void SimKeyboardTest::TearDown() {
    stop();
    TempDirTest::TearDown();
}

void SimKeyboardTest::start(const std::map<std::string, std::string>& environment) {
    set_environment(environment);
    std::string error;
    library_ = ServiceLibrary::load(TARVENOR_SIM_LIBRARY, error);
    ASSERT_NE(library_, nullptr) << error;
    link_ = std::make_unique<DeviceLink>(library_->functions(), sink_, kTestAnswerWait);
    link_->start();
    commands_ = std::make_unique<CommandSet>(link_->exchange(), facts_);
}

void SimKeyboardTest::set_environment(const std::map<std::string, std::string>& environment) {
    for (const char* name : {"TARVENOR_SIM_LATENCY_MS", "TARVENOR_SIM_UNPLUGGED",
                             "TARVENOR_SIM_FAULT", "TARVENOR_SIM_CONTROL"}) {
        testing::set_environment_variable(name, std::nullopt);
    }
    testing::set_environment_variable("TARVENOR_SIM_DIR", (folder_ / "memory").string());
    testing::set_environment_variable("TARVENOR_SIM_TRAFFIC", (folder_ / "traffic").string());
    for (const auto& [name, value] : environment) {
        testing::set_environment_variable(name.c_str(), value);
    }
}

void SimKeyboardTest::stop() {
    commands_.reset();
    link_.reset();
    library_.reset();
}

std::string SimKeyboardTest::control_reply(const std::string& command) {
    std::string error;
    const auto reply =
        sim::send_control_command(folder_ / "memory" / "control.sock", command, error);
    return reply ? *reply : "no reply: " + error;
}

void SimKeyboardTest::control(const std::string& command) {
    const std::string reply = control_reply(command);
    ASSERT_EQ(reply.rfind("ok", 0), 0u) << command << ": " << reply;
}

std::vector<TrafficLine> SimKeyboardTest::traffic() const {
    std::vector<TrafficLine> lines;
    std::ifstream in(folder_ / "traffic");
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.size(), 130u) << line;
        TrafficLine entry{line[0], {}};
        for (std::size_t i = 0; i < 64 && 2 + 2 * i + 1 < line.size(); ++i) {
            entry.report[i] =
                static_cast<std::uint8_t>(std::stoul(line.substr(2 + 2 * i, 2), nullptr, 16));
        }
        lines.push_back(entry);
    }
    return lines;
}

std::vector<TrafficLine> SimKeyboardTest::requests() const {
    std::vector<TrafficLine> sent;
    for (const TrafficLine& line : traffic()) {
        if (line.direction == '>') {
            sent.push_back(line);
        }
    }
    return sent;
}

void SimKeyboardTest::clear_traffic() {
    std::filesystem::resize_file(folder_ / "traffic", 0);
}

Bytes SimKeyboardTest::memory(const std::string& file) const {
    std::ifstream in(folder_ / "memory" / file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SimKeyboardTest::poke_memory(const std::string& file, std::size_t offset, const Bytes& bytes) {
    std::fstream out(folder_ / "memory" / file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

unsigned sum_of_bytes_3_to_63(const std::array<std::uint8_t, 64>& report) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < 64; ++i) {
        sum += report[i];
    }
    return sum;
}

std::uint16_t address_of(const TrafficLine& line) {
    return static_cast<std::uint16_t>(line.report[5] | line.report[6] << 8);
}

DeviceReport read_parameters_request() {
    DeviceReport request = DeviceReport::request(kReadParameters, 44, 0);
    request.seal();
    return request;
}

} // namespace tarvenor::testing

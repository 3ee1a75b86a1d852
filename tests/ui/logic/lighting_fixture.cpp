#include "lighting_fixture.h"

#include <iomanip>

namespace tarvenor::testing {

void QueuedJobs::settle() {
    while (!jobs_.empty() || !ui_.empty()) {
        while (!jobs_.empty()) {
            const std::pair<Work, Done> job = std::move(jobs_.front());
            jobs_.pop_front();
            const JobOutcome outcome = JobOutcome::done(job.first(*commands_));
            ui_.push_back([done = job.second, outcome] { done(outcome); });
        }
        while (!ui_.empty()) {
            auto call = std::move(ui_.front());
            ui_.pop_front();
            call();
        }
    }
}

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
    out << "{cmd " << sent.command << " @" << sent.address << ":";
    for (const std::uint8_t byte : sent.data) {
        out << ' ' << std::hex << std::setw(2) << std::setfill('0') << int{byte} << std::dec;
    }
    return out << '}';
}

void LightingLogicTest::SetUp() {
    SimKeyboardTest::SetUp();
    std::filesystem::create_directories(folder_ / "documents");
    documents_ = std::make_unique<FolderDocuments>(folder_ / "documents");
    storage_ = std::make_unique<UserStorage>(*documents_);
    panel_ = std::make_unique<LightingPanelLogic>(*storage_);
    panel_->set_changed([this] { ++changes_; });
    panel_->set_jobs(&jobs_);
}

void LightingLogicTest::TearDown() {
    panel_.reset();
    SimKeyboardTest::TearDown();
}

void LightingLogicTest::arrive(const std::map<std::string, std::string>& environment) {
    start(environment);
    commands_for_jobs_ = commands_.get();
    panel_->read_lighting(true, true);
    jobs_.settle();
    clear_traffic();
}

std::vector<Sent> LightingLogicTest::sent() const {
    std::vector<Sent> result;
    for (const TrafficLine& line : requests()) {
        const auto& report = line.report;
        const int command = report[3];
        const bool carries_data =
            command == 4 || command == 6 || command == 8 || command == 10 || command == 17;
        const auto data = report.begin() + 8;
        result.push_back({command, report[5] | report[6] << 8,
                          carries_data ? Bytes(data, data + report[4]) : Bytes{report[4]}});
    }
    return result;
}

Bytes LightingLogicTest::record_in_memory(int profile) const {
    const Bytes settings = memory("settings.bin");
    return Bytes(settings.begin() + profile * 42, settings.begin() + profile * 42 + 42);
}

Bytes LightingLogicTest::colour_in_memory(int profile, int position) const {
    const Bytes colours = memory("colours.bin");
    const auto at = colours.begin() + profile * 512 + position * 3;
    return Bytes(at, at + 3);
}

std::vector<Sent> bracketed(std::vector<Sent> writes) {
    writes.insert(writes.begin(), Sent{1, 0, {0}});
    writes.push_back({2, 0, {0}});
    return writes;
}

std::vector<Sent> row_pieces(int profile, const std::function<Bytes(int position)>& colour_of) {
    std::vector<Sent> pieces;
    for (int first = 0; first < 126; first += 18) {
        Bytes data;
        for (int position = first; position < first + 18; ++position) {
            const Bytes colour = colour_of(position);
            data.insert(data.end(), colour.begin(), colour.end());
        }
        pieces.push_back({17, profile * 512 + first * 3, data});
    }
    return pieces;
}

Sent setting(int profile, int offset, Bytes data) {
    return {6, profile * 42 + offset, std::move(data)};
}

Sent key_colour(int profile, int position, Bytes rgb) {
    return {17, profile * 512 + position * 3, std::move(rgb)};
}

std::vector<Sent> operator+(std::vector<Sent> first, const std::vector<Sent>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace tarvenor::testing

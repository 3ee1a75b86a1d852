#pragma once

#include "../../device/sim_fixture.h"
#include "engine/keyboard_jobs.h"
#include "folder_documents.h"
#include "model/user_storage.h"
#include "ui/logic/lighting_panel_logic.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarvenor::testing {

// A device worker and a user interface thread in one: jobs and their answers wait in queues
// until the test lets them run, so a test sees what the panel shows before the keyboard answers.
class QueuedJobs final : public KeyboardJobs {
public:
    explicit QueuedJobs(CommandSet*& commands) : commands_(commands) {}
    void post(Work work, Done done) override {
        jobs_.emplace_back(std::move(work), std::move(done));
    }
    // Runs every job, then every answer, until nothing is left.
    void settle();
    std::size_t waiting_jobs() const { return jobs_.size(); }

private:
    CommandSet*& commands_;
    std::deque<std::pair<Work, Done>> jobs_;
    std::deque<std::function<void()>> ui_;
};

// One request as the keyboard received it.
struct Sent {
    int command;
    int address;
    Bytes data;
    bool operator==(const Sent&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Sent& sent);

// The lighting panel's logic on a virtual keyboard.
class LightingLogicTest : public SimKeyboardTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the keyboard (extra environment as for start()) and reads the lighting of arrival.
    void arrive(const std::map<std::string, std::string>& environment = {});
    // The requests since the last clear_traffic(), with their data cut to their length.
    std::vector<Sent> sent() const;
    Bytes record_in_memory(int profile) const;
    Bytes colour_in_memory(int profile, int position) const;

    CommandSet* commands_for_jobs_ = nullptr;
    QueuedJobs jobs_{commands_for_jobs_};
    std::unique_ptr<FolderDocuments> documents_;
    std::unique_ptr<UserStorage> storage_;
    std::unique_ptr<LightingPanelLogic> panel_;
    int changes_ = 0;
};

// A bracketed write: command 1, the writes, command 2.
std::vector<Sent> bracketed(std::vector<Sent> writes);
// The seven 18-key pieces of a colour row of one colour, at a profile's address.
std::vector<Sent> row_pieces(int profile, const std::function<Bytes(int position)>& colour_of);
Sent setting(int profile, int offset, Bytes data);
Sent key_colour(int profile, int position, Bytes rgb);
std::vector<Sent> operator+(std::vector<Sent> first, const std::vector<Sent>& second);

} // namespace tarvenor::testing

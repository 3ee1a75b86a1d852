#pragma once

#include "device/commands.h"
#include "device/connection_sink.h"
#include "device/device_facts.h"
#include "device/device_link.h"
#include "device/device_worker.h"
#include "device/job_outcome.h"
#include "device/keyboard_lock.h"
#include "device/service_library.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace tarvenor {

// What a keyboard session tells its owner. Calls come on the device worker thread, except
// bank_switched and indicator_changed, which come on the service library's thread. An
// implementation hands the news on (the windows: a queued invocation) and returns at once; it
// never waits for the user interface.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;

    // A keyboard arrived and its reads begin (on the worker); it is not counted until they end.
    virtual void arrival_started() {}
    // A keyboard arrived and its base data was read (factory key matrix, macro space). Runs on
    // the worker before anything queued after the arrival: read here whatever the windows need
    // from the keyboard (configuration, active profile, lighting) and hand the finished data on.
    // default_matrix_read is false when the factory key matrix could not be read.
    virtual void keyboard_arrived(CommandSet& commands, bool default_matrix_read) = 0;
    // The last keyboard has gone; the active profile cache is already unknown.
    virtual void keyboard_gone() = 0;
    // The connection count the session acted on changed (after the owner's start-up finished).
    virtual void connection_count_changed(int count) = 0;
    // The first keyboard of a run that was not started quietly: the window may show itself.
    virtual void open_requested() = 0;
    // The keyboard switched its G-key bank (0 = bank A, 1 = bank B); the bank report is written.
    virtual void bank_switched(int bank) = 0;
    // The keyboard asked for its lighting to be read again. Several requests may arrive before
    // the owner acts; the owner coalesces them into one re-read.
    virtual void lighting_refresh_requested() = 0;
    // The keyboard's indicator (tray icon 142) went on or off.
    virtual void indicator_changed(bool on) = 0;
    // The reads on arrival (after arrival_started) did not run: another program kept the
    // keyboard beyond the wait.
    // `holder` names it ("tarvenor-cli (process 1234)"). The owner reads again when it can.
    virtual void arrival_busy(const std::string& holder) { static_cast<void>(holder); }
};

// One connection to the keyboard for the whole run of a program: the loaded service library,
// the link, the command set and what is known of the keyboard, and one device worker thread on
// which connection changes and every keyboard job run, one after another, in the order asked.
class KeyboardSession {
public:
    // A job returns its own status; Success when it has none to report.
    using Job = std::function<DeviceStatus(CommandSet&)>;
    // Called exactly once per posted job, on the worker (or, for a job dropped at the end of the
    // session, on the thread that ends it). It hands the outcome on and returns at once.
    using Finish = std::function<void(const JobOutcome&)>;

    struct Options {
        std::filesystem::path library_file;
        // A run started quietly ("/Start") never asks to open the window by itself.
        bool quiet_start = false;
        // Connection changes and the keyboard's own events are followed (the program), or the
        // keyboards present are counted and learnt once and nothing else is heard (the CLI).
        bool follow_connections = true;
        // Shortened only by tests.
        std::chrono::milliseconds answer_wait = kAnswerWait;
        std::chrono::milliseconds lock_patience = kKeyboardLockPatience;
        // Empty: the file the service library names, else KeyboardLock::default_file().
        std::filesystem::path lock_file;
    };

    // Loads and starts the service library. nullptr with one line in `error` naming what is
    // missing when it cannot.
    static std::unique_ptr<KeyboardSession> open(const Options& options, SessionObserver& observer,
                                                 std::string& error);
    ~KeyboardSession(); // finishes the running job, drops queued ones, stops the worker

    // Places the standing reads and runs the connection handling for the keyboards present.
    // Returns the number of keyboards connected now.
    int start();
    // The owner's start-up is finished: connection handling may now report to it.
    void set_init_complete();

    // Queues a job for the device worker. The job runs with the keyboard lock of this keyboard
    // held, so that no other program talks to the keyboard meanwhile; `finish` hears how it
    // ended: done, busy, gone, or stopped when the session ends before the job ran.
    void post(Job job, Finish finish);
    // Runs a job on the worker and waits for it: for the command line and tests, never for the
    // user interface thread.
    JobOutcome run(const Job& job);

    // The program is ending (any thread): the running job stops at its next command, an open
    // transfer still getting its EndTransfer, and ends as stopped; queued and later jobs end as
    // stopped without running.
    void request_stop();

    int connected_count() const;
    const DeviceFacts& facts() const;
    // Keyboard nodes this user may not open: why a keyboard that is plugged in does not count.
    // Asked afresh on every call (it reads the system's device table); any thread.
    std::vector<std::string> inaccessible_nodes() const { return library_->inaccessible_nodes(); }

    // For an owner that talks to the keyboard itself for a whole run (the command line): takes
    // the keyboard lock until release_keyboard(). False, with who has the keyboard in `holder`,
    // when another program keeps it beyond the wait.
    bool hold_keyboard(std::string& holder);
    void release_keyboard();
    // The command set, for such an owner only, on its own thread, while it holds the keyboard
    // and posts no jobs.
    CommandSet& commands() { return *commands_; }

private:
    // Hands what the library's thread hears to the session.
    class Events final : public ConnectionSink {
    public:
        explicit Events(KeyboardSession& session) : session_(session) {}
        void connection_changed(int device_count) override;
        void consumer_code(std::uint16_t code) override;

    private:
        KeyboardSession& session_;
    };

    KeyboardSession(const Options& options, SessionObserver& observer,
                    std::unique_ptr<ServiceLibrary> library);

    void handle_connection(int count);
    void read_arrival();
    void read_arrival_data(CommandSet& commands);
    bool wait_for_init_complete();
    void switch_bank();
    JobOutcome run_job(const Job& job);
    bool enter_keyboard(std::string& holder);
    void leave_keyboard();

    const Options options_;
    SessionObserver& observer_;
    std::unique_ptr<ServiceLibrary> library_;
    Events events_;
    DeviceFacts facts_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<CommandSet> commands_;

    KeyboardLock keyboard_lock_;
    std::mutex keyboard_mutex_; // guards the lock and its depth
    int keyboard_depth_ = 0;

    std::mutex init_mutex_;
    std::condition_variable init_changed_;
    bool init_complete_ = false;
    bool stopping_ = false;

    std::atomic<int> connected_count_{0};
    bool quiet_start_ = false; // on the worker only
    int seen_count_ = 0;       // the last count heard, on the worker only
    std::atomic<std::uint8_t> bank_flags_;

    // Last, so that its thread is gone before the rest.
    DeviceWorker worker_;
};

} // namespace tarvenor

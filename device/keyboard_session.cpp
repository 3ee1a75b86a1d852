#include "device/keyboard_session.h"

#include <utility>

namespace tarvenor {
namespace {

// The keyboard's own events (consumer codes).
constexpr std::uint16_t kBankSwitchCode = 0x02FF;
constexpr std::uint16_t kLightingRefreshCode = 0x0401;
constexpr std::uint16_t kIndicatorOnCode = 0x1811;
constexpr std::uint16_t kIndicatorOffCode = 0x1810;

// BankFlags: bit 0 selects bank B; the run starts in bank A.
constexpr std::uint8_t kBankAFlags = 0x02;
constexpr std::uint8_t kBankBit = 0x01;
constexpr std::uint8_t kBankReportId = 0x05;

std::filesystem::path lock_file_for(const KeyboardSession::Options& options,
                                    const ServiceLibrary& library) {
    if (!options.lock_file.empty()) {
        return options.lock_file;
    }
    std::filesystem::path named = library.device_lock_path();
    return named.empty() ? KeyboardLock::default_file() : named;
}

} // namespace

void KeyboardSession::Events::connection_changed(int device_count) {
    if (session_.options_.follow_connections) {
        session_.worker_.post([this, device_count] { session_.handle_connection(device_count); });
    }
}

void KeyboardSession::Events::consumer_code(std::uint16_t code) {
    if (!session_.options_.follow_connections) {
        return;
    }
    switch (code) {
    case kBankSwitchCode:
        session_.switch_bank();
        break;
    case kLightingRefreshCode:
        session_.worker_.post([this] { session_.observer_.lighting_refresh_requested(); });
        break;
    case kIndicatorOnCode:
    case kIndicatorOffCode:
        session_.observer_.indicator_changed(code == kIndicatorOnCode);
        break;
    default:
        break;
    }
}

std::unique_ptr<KeyboardSession>
KeyboardSession::open(const Options& options, SessionObserver& observer, std::string& error) {
    std::unique_ptr<ServiceLibrary> library = ServiceLibrary::load(options.library_file, error);
    if (!library) {
        return nullptr;
    }
    std::unique_ptr<KeyboardSession> session(
        new KeyboardSession(options, observer, std::move(library)));
    if (!session->link_->routed()) {
        error = "too many keyboard sessions in one process";
        return nullptr;
    }
    return session;
}

KeyboardSession::KeyboardSession(const Options& options, SessionObserver& observer,
                                 std::unique_ptr<ServiceLibrary> library)
    : options_(options), observer_(observer), library_(std::move(library)), events_(*this),
      link_(std::make_unique<DeviceLink>(library_->functions(), events_, options.answer_wait)),
      commands_(std::make_unique<CommandSet>(link_->exchange(), facts_)),
      keyboard_lock_(lock_file_for(options, *library_)),
      init_complete_(!options.follow_connections), bank_flags_(kBankAFlags) {}

KeyboardSession::~KeyboardSession() {
    // Closed first: a task waiting for the owner's start-up must not let a queued job run once
    // it is woken.
    worker_.close();
    {
        const std::lock_guard lock(init_mutex_);
        stopping_ = true;
    }
    init_changed_.notify_all();
    worker_.stop();
    link_.reset(); // no notification reaches the session after this
    const std::lock_guard lock(keyboard_mutex_);
    keyboard_lock_.release();
}

int KeyboardSession::start() {
    const int count = link_->start();
    const auto first_connection = [this, count] {
        // Nobody to greet when the run starts without a keyboard.
        quiet_start_ = options_.quiet_start || count == 0;
        handle_connection(count);
    };
    if (options_.follow_connections) {
        worker_.post(first_connection);
    } else {
        worker_.run(first_connection);
    }
    return count;
}

void KeyboardSession::set_init_complete() {
    {
        const std::lock_guard lock(init_mutex_);
        init_complete_ = true;
    }
    init_changed_.notify_all();
}

namespace {

// A posted job that tells its poster it was stopped when the worker drops it unrun.
class PendingJob {
public:
    PendingJob(KeyboardSession::Job job, KeyboardSession::Finish finish)
        : job_(std::move(job)), finish_(std::move(finish)) {}
    PendingJob(const PendingJob&) = delete;
    PendingJob& operator=(const PendingJob&) = delete;
    ~PendingJob() {
        if (finish_) {
            finish_(JobOutcome{});
        }
    }

    const KeyboardSession::Job& job() const { return job_; }
    void finish(const JobOutcome& outcome) {
        const KeyboardSession::Finish finish = std::exchange(finish_, nullptr);
        if (finish) {
            finish(outcome);
        }
    }

private:
    KeyboardSession::Job job_;
    KeyboardSession::Finish finish_;
};

} // namespace

void KeyboardSession::post(Job job, Finish finish) {
    auto pending = std::make_shared<PendingJob>(std::move(job), std::move(finish));
    worker_.post([this, pending] { pending->finish(run_job(pending->job())); });
}

JobOutcome KeyboardSession::run(const Job& job) {
    JobOutcome outcome;
    worker_.run([this, &job, &outcome] { outcome = run_job(job); });
    return outcome;
}

void KeyboardSession::request_stop() {
    commands_->request_stop();
    worker_.close();
}

int KeyboardSession::connected_count() const {
    return connected_count_.load();
}

const DeviceFacts& KeyboardSession::facts() const {
    return facts_;
}

void KeyboardSession::handle_connection(int count) {
    if (count == connected_count_.load()) {
        return;
    }
    seen_count_ = count;
    if (count > 0) {
        read_arrival();
    } else {
        facts_.set_current_profile(DeviceFacts::kUnknownProfile);
        observer_.keyboard_gone();
    }
    if (!wait_for_init_complete()) {
        return;
    }
    connected_count_.store(count);
    observer_.connection_count_changed(count);
    if (!quiet_start_) {
        if (count > 0) {
            observer_.open_requested();
        }
        quiet_start_ = true;
    }
}

void KeyboardSession::read_arrival() {
    observer_.arrival_started();
    std::string holder;
    if (!enter_keyboard(holder)) {
        // Tried again behind whatever was asked meanwhile, until the holder lets go or the
        // keyboard goes.
        observer_.arrival_busy(holder);
        worker_.post([this] {
            if (seen_count_ > 0) {
                read_arrival();
            }
        });
        return;
    }
    read_arrival_data(*commands_);
    leave_keyboard();
}

void KeyboardSession::read_arrival_data(CommandSet& commands) {
    KeyMatrix matrix{};
    const bool matrix_read = commands.read_default_key_matrix(matrix) == DeviceStatus::Success;
    if (matrix_read) {
        facts_.set_default_key_matrix(matrix);
    }
    commands.read_macro_space();
    observer_.keyboard_arrived(commands, matrix_read);
}

bool KeyboardSession::wait_for_init_complete() {
    std::unique_lock lock(init_mutex_);
    init_changed_.wait(lock, [this] { return init_complete_ || stopping_; });
    return !stopping_;
}

void KeyboardSession::switch_bank() {
    const std::uint8_t flags = bank_flags_.fetch_xor(kBankBit) ^ kBankBit;
    // A failed bank report goes unnoticed, as on the keyboard's side; the flag stays switched.
    link_->write_status_report({kBankReportId, flags});
    observer_.bank_switched(flags & kBankBit);
}

JobOutcome KeyboardSession::run_job(const Job& job) {
    std::string holder;
    if (!enter_keyboard(holder)) {
        return JobOutcome::busy(std::move(holder));
    }
    const DeviceStatus status = job(*commands_);
    const bool stopped = commands_->operation_stopped();
    leave_keyboard();
    return stopped ? JobOutcome::stopped(status) : JobOutcome::done(status);
}

bool KeyboardSession::hold_keyboard(std::string& holder) {
    return enter_keyboard(holder);
}

void KeyboardSession::release_keyboard() {
    leave_keyboard();
}

bool KeyboardSession::enter_keyboard(std::string& holder) {
    const std::lock_guard lock(keyboard_mutex_);
    if (keyboard_depth_ == 0 && !keyboard_lock_.acquire(options_.lock_patience, holder)) {
        return false;
    }
    if (keyboard_depth_++ == 0) {
        commands_->begin_operation();
    }
    return true;
}

void KeyboardSession::leave_keyboard() {
    const std::lock_guard lock(keyboard_mutex_);
    if (keyboard_depth_ == 0 || --keyboard_depth_ > 0) {
        return;
    }
    commands_->end_operation();
    // Late answers still owed are let through first, so the next holder never takes them.
    link_->exchange().settle();
    keyboard_lock_.release();
}

} // namespace tarvenor

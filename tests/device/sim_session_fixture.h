#pragma once

#include "session_observer.h"
#include "transfer_fixture.h"

#include <memory>
#include <string>

namespace tarvenor::testing {

// A keyboard session as the command line opens it (the keyboards present learnt once, no
// connection changes followed) on a virtual keyboard; the traffic log starts empty.
class SimSessionTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        set_environment();
        KeyboardSession::Options options;
        options.library_file = TARVENOR_SIM_LIBRARY;
        options.answer_wait = kTestAnswerWait;
        options.lock_file = folder_ / "keyboard.lock";
        options.follow_connections = false;
        options.quiet_start = true;
        std::string error;
        session_ = KeyboardSession::open(options, observer_, error);
        ASSERT_NE(session_, nullptr) << error;
        ASSERT_EQ(session_->start(), 1);
        clear_traffic();
    }
    void TearDown() override {
        session_.reset();
        TransferTest::TearDown();
    }
    static DeviceStatus read(CommandSet& commands) {
        ParameterBlock parameters{};
        return commands.read_parameters(parameters);
    }

    RecordingSessionObserver observer_;
    std::unique_ptr<KeyboardSession> session_;
};

} // namespace tarvenor::testing

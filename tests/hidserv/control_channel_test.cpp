#include "hidserv/sim/control_channel.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace tarvenor::testing {
namespace {

using std::chrono::steady_clock;

class ControlChannelTest : public TempDirTest {
protected:
    // A server on `socket` whose replies start with `name`, then repeat the command.
    bool start(sim::ControlServer& server, const std::filesystem::path& socket,
               const std::string& name, std::string& error) {
        return server.start(
            socket, [name](std::string_view command) { return name + ":" + std::string(command); },
            error);
    }
    std::string send(const std::filesystem::path& socket, const std::string& command) {
        std::string error;
        const auto reply = sim::send_control_command(socket, command, error);
        return reply ? *reply : "failed: " + error;
    }
};

TEST_F(ControlChannelTest, SecondServerOnTheSameSocketIsRefusedAndTheFirstKeepsServing) {
    const auto socket = dir_ / "control.sock";
    sim::ControlServer first;
    std::string error;
    ASSERT_TRUE(start(first, socket, "first", error)) << error;

    sim::ControlServer second;
    EXPECT_FALSE(start(second, socket, "second", error));
    EXPECT_NE(error.find("another virtual keyboard"), std::string::npos) << error;
    EXPECT_EQ(send(socket, "status"), "first:status");

    first.stop();
    EXPECT_NE(send(socket, "status").find("no virtual keyboard is listening"), std::string::npos);
    ASSERT_TRUE(start(second, socket, "second", error)) << "the channel is free again: " << error;
    EXPECT_EQ(send(socket, "status"), "second:status");
}

TEST_F(ControlChannelTest, TwoSocketsAreTwoChannels) {
    std::filesystem::create_directories(dir_ / "a");
    std::filesystem::create_directories(dir_ / "b");
    sim::ControlServer a;
    sim::ControlServer b;
    std::string error;
    ASSERT_TRUE(start(a, dir_ / "a" / "control.sock", "a", error)) << error;
    ASSERT_TRUE(start(b, dir_ / "b" / "control.sock", "b", error)) << error;
    EXPECT_EQ(send(dir_ / "a" / "control.sock", "plug"), "a:plug");
    EXPECT_EQ(send(dir_ / "b" / "control.sock", "plug"), "b:plug");
}

TEST_F(ControlChannelTest, StopReturnsPromptlyWhileNoClientConnects) {
    for (int i = 0; i < 10; ++i) {
        sim::ControlServer server;
        std::string error;
        ASSERT_TRUE(start(server, dir_ / "control.sock", "idle", error)) << error;
        const auto stopping = steady_clock::now();
        server.stop();
        EXPECT_LT(steady_clock::now() - stopping, std::chrono::milliseconds(500)) << i;
    }
}

TEST_F(ControlChannelTest, LinesLongerThanOneReadArriveWhole) {
    const auto socket = dir_ / "control.sock";
    sim::ControlServer server;
    std::string error;
    ASSERT_TRUE(start(server, socket, "echo", error)) << error;
    std::string command;
    for (int i = 0; command.size() < 400; ++i) {
        command += std::to_string(i) + ' ';
    }
    EXPECT_EQ(send(socket, command), "echo:" + command);
}

TEST_F(ControlChannelTest, ClientsOneAfterAnotherAndAtOnceAreAllAnswered) {
    const auto socket = dir_ / "control.sock";
    sim::ControlServer server;
    std::string error;
    ASSERT_TRUE(start(server, socket, "ok", error)) << error;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(send(socket, "status " + std::to_string(i)), "ok:status " + std::to_string(i));
    }
    constexpr int kClients = 4;
    constexpr int kCommands = 10;
    std::vector<std::vector<std::string>> replies(kClients);
    std::vector<std::thread> clients;
    for (int client = 0; client < kClients; ++client) {
        clients.emplace_back([&, client] {
            for (int i = 0; i < kCommands; ++i) {
                replies[client].push_back(send(socket, std::to_string(client * 100 + i)));
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    for (int client = 0; client < kClients; ++client) {
        for (int i = 0; i < kCommands; ++i) {
            EXPECT_EQ(replies[client][i], "ok:" + std::to_string(client * 100 + i));
        }
    }
}

TEST_F(ControlChannelTest, NobodyListeningIsAFailureWithAReason) {
    std::string error;
    EXPECT_FALSE(sim::send_control_command(dir_ / "control.sock", "status", error));
    EXPECT_NE(error.find("no virtual keyboard is listening"), std::string::npos) << error;
}

} // namespace
} // namespace tarvenor::testing

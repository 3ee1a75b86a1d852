// tarvenor-simctl: sends one command to a running virtual keyboard's control channel.
#include "hidserv/sim/control_channel.h"
#include "hidserv/sim/sim_config.h"

#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: tarvenor-simctl COMMAND [ARGUMENT...]\n"
    "Commands for the virtual keyboard of a running program (same TARVENOR_SIM_DIR or\n"
    "TARVENOR_SIM_CONTROL):\n"
    "  plug | unplug            connect or disconnect the keyboard\n"
    "  consumer CODE            send a consumer code, e.g. consumer 0x02ff\n"
    "  latency MS               delay every answer by MS milliseconds\n"
    "  fault KIND [COUNT [AFTER]]  KIND: none no-answer status-ff status-fe bad-echo\n"
    "  status                   show the keyboard's state\n"
    "Exit codes: 0 done, 1 the keyboard refused the command, 2 no virtual keyboard listening.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::cout << kUsage;
        return argc < 2 ? 1 : 0;
    }
    std::string command;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            command += ' ';
        }
        command += argv[i];
    }
    std::string error;
    const auto reply = tarvenor::sim::send_control_command(
        tarvenor::sim::control_socket_from_environment(), command, error);
    if (!reply) {
        std::cerr << "tarvenor-simctl: " << error << '\n';
        return 2;
    }
    std::cout << *reply << '\n';
    return reply->rfind("ok", 0) == 0 ? 0 : 1;
}

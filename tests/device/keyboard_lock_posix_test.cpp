// The lock between processes (fork is POSIX's; threads of one process are tested on all systems).
#include "keyboard_lock_test.h"

#include <sys/wait.h>
#include <unistd.h>

namespace tarvenor::testing {
namespace {

TEST_F(KeyboardLockTest, ProcessesTakeTurns) {
    std::vector<pid_t> children;
    for (int i = 0; i < 6; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::_exit(take_turns() ? 0 : 2);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    expect_turns_taken(60);
}

} // namespace
} // namespace tarvenor::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// A simulated radio never outlives the test program that started it: it
// runs in a process group of its own and dies when the test program dies,
// even by a crash that runs no teardown.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/ChildProcess.h"
#include "support/SimProcess.h"

namespace vb420 {
namespace {

TEST(ChildLifetime, ARadioDiesWithATestProgramThatCrashes) {
  int report[2], go[2];
  ASSERT_EQ(::pipe(report), 0);
  ASSERT_EQ(::pipe(go), 0);
  const pid_t test = ::fork();
  ASSERT_GE(test, 0);
  if (test == 0) {
    // The "test program": starts a radio, says which, then crashes.
    testing::SimProcess sim({});
    const pid_t radio = sim.Started() ? sim.Pid() : -1;
    if (::write(report[1], &radio, sizeof radio) != sizeof radio) _exit(1);
    char c;
    (void)::read(go[0], &c, 1);
    ::kill(::getpid(), SIGKILL);
  }
  ::close(report[1]);
  ::close(go[0]);
  pid_t radio = -1;
  ASSERT_EQ(::read(report[0], &radio, sizeof radio), static_cast<ssize_t>(sizeof radio));
  ::close(report[0]);
  ASSERT_GT(radio, 0);
  EXPECT_EQ(::getpgid(radio), radio);  // a group of its own
  EXPECT_FALSE(testing::ProcessEnded(radio));
  ASSERT_EQ(::write(go[1], "x", 1), 1);
  ::close(go[1]);
  int st = 0;
  ASSERT_EQ(::waitpid(test, &st, 0), test);
  ASSERT_TRUE(WIFSIGNALED(st));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!testing::ProcessEnded(radio) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(testing::ProcessEnded(radio));
  // A radio that did survive must not hold this program's output open.
  if (!testing::ProcessEnded(radio)) ::kill(radio, SIGKILL);
}

}  // namespace
}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace vb420::testing {

pid_t StartChild(const std::vector<char*>& argv, int outFd, int errFd) {
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The test program may have died between the fork and the line above:
    // then no signal will come, and the child leaves at once.
    if (::getppid() != parent) _exit(127);
    if (outFd >= 0) ::dup2(outFd, STDOUT_FILENO);
    if (errFd >= 0) ::dup2(errFd, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  // Set from both sides, so that the group exists whichever runs first.
  if (pid > 0) ::setpgid(pid, pid);
  return pid;
}

void SignalGroup(pid_t child, int sig) {
  if (child > 0) ::kill(-child, sig);
}

bool ProcessEnded(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return true;
  // "pid (name) S ...": the state follows the last parenthesis.
  const size_t close = line.rfind(')');
  if (close == std::string::npos || close + 2 >= line.size()) return true;
  const char state = line[close + 2];
  return state == 'Z' || state == 'X';
}

}  // namespace vb420::testing

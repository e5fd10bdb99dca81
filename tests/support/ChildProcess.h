// SPDX-License-Identifier: GPL-3.0-or-later
// Programs a test starts (the simulated radio, the command-line tool running
// beside the test) are tied to the test program: each runs in a process group
// of its own, which the owner ends in its teardown, and the system kills it
// when the test program dies, however it dies. A test that crashes then
// fails in seconds instead of leaving a child that holds the test runner's
// output pipe open.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vb420::testing {

// Forks and runs `argv` (a full path first, a null pointer last) with its
// standard output and error on `outFd` and `errFd` (-1 leaves them as they
// are). Everything the child needs must be made by the caller: the child
// only makes async-signal-safe calls before it execs. The process id, or -1.
pid_t StartChild(const std::vector<char*>& argv, int outFd, int errFd);
// Sends `sig` to the child's process group. Only while the child has not
// been reaped: until then its group id cannot belong to anyone else.
void SignalGroup(pid_t child, int sig);
// True when no process `pid` runs any more (gone, or a zombie waiting to
// be reaped by whoever is its parent now).
bool ProcessEnded(pid_t pid);

}  // namespace vb420::testing

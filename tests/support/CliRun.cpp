// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>
#include <atomic>
#include <cstdio>
#include <filesystem>

#include "support/ChildProcess.h"
#include "support/Paths.h"

namespace vb420::test {

CliRun RunCli(const std::string& args, const std::string& env) { return RunProgram("tools/vb420cli", args, env); }

CliRun RunProgram(const std::string& program, const std::string& args, const std::string& env) {
  static std::atomic<int> counter{0};
  const std::string errFile = (std::filesystem::temp_directory_path() /
                               ("vb420-cli-err-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                                  .string();
  const std::string cmd = env + testsupport::BinaryDir() + "/" + program + " " + args + " 2>" + errFile;
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 512> buf{};
  while (fgets(buf.data(), buf.size(), p)) r.out += buf.data();
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* e = fopen(errFile.c_str(), "r")) {
    while (fgets(buf.data(), buf.size(), e)) r.err += buf.data();
    fclose(e);
  }
  std::filesystem::remove(errFile);
  return r;
}

CliProcess::CliProcess(const std::vector<std::string>& args) {
  static std::atomic<int> counter{0};
  errFile_ = (std::filesystem::temp_directory_path() /
              ("vb420-cliproc-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                 .string();
  // Everything the child needs is made before the fork.
  std::vector<std::string> all = {testsupport::BinaryDir() + "/tools/vb420cli"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int err = ::open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  pid_ = testing::StartChild(argv, null, err);
  ::close(err);
  ::close(null);
}

CliProcess::~CliProcess() {
  if (Wait(0) == -1 && pid_ > 0) {
    testing::SignalGroup(pid_, SIGKILL);
    Wait(5000);
  }
  std::filesystem::remove(errFile_);
}

void CliProcess::Signal(int sig) {
  if (pid_ > 0 && status_ == -1) kill(pid_, sig);
}

int CliProcess::Wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  if (status_ != -1) return status_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int st = 0;
    if (waitpid(pid_, &st, WNOHANG) == pid_) {
      status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? 128 + WTERMSIG(st) : -1;
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string CliProcess::Err() const { return testsupport::FileText(errFile_); }

}  // namespace vb420::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built vb420cli with arguments and collects what it printed; a
// test fixture with a new data file in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Files.h"

namespace vb420::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `env` is put before the command ("LANG=C "); `args` are shell words.
CliRun RunCli(const std::string& args, const std::string& env = "");
// The same for another program of the build, by its path below the build
// folder ("tools/sim/vb420sim", "src/app/vb420").
CliRun RunProgram(const std::string& program, const std::string& args, const std::string& env = "");

// vb420cli running beside the test, for what happens while it runs (a
// signal at a given point of a conversation). Its standard error goes to a
// file; standard output is discarded.
class CliProcess {
 public:
  explicit CliProcess(const std::vector<std::string>& args);
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void Signal(int sig);
  // The exit code (128 + the signal for a process a signal ended), or -1
  // when it is still running after `timeoutMs`.
  int Wait(int timeoutMs);
  std::string Err() const;

 private:
  int pid_ = -1;
  int status_ = -1;
  std::string errFile_;
};

// A test with its own folder and a new programming in it (`file_`, made by
// `vb420cli new -o`), removed afterwards.
class NewFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = Path("p.dat");
    ASSERT_EQ(RunCli("new -o " + file_).exitCode, 0);
  }
  std::string Path(const std::string& name) const { return tmp_.File(name); }
  // The data file's bytes, to show that a refused change saved nothing.
  std::string FileBytes() const { return testsupport::FileText(file_); }

  testsupport::TempDir tmp_{"cli"};
  const std::filesystem::path dir_ = tmp_.Dir();
  std::string file_;
};

}  // namespace vb420::test

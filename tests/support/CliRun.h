// Runs the built vb420cli with arguments and collects what it printed; a
// test fixture with a new data file in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/Files.h"

namespace vb420::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `env` is put before the command ("LANG=C "); `args` are shell words.
CliRun RunCli(const std::string& args, const std::string& env = "");

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

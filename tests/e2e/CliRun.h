// Runs the built vb420cli with arguments and collects what it printed.
#pragma once

#include "support/Paths.h"
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vb420::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline CliRun RunCli(const std::string& args, const std::string& env = "") {
  static int counter = 0;
  const std::string errFile = (std::filesystem::temp_directory_path() /
                               ("vb420-cli-err-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                                  .string();
  const std::string cmd = env + ::vb420::testsupport::BinaryDir() + "/tools/vb420cli " + args + " 2>" + errFile;
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

}  // namespace vb420::test

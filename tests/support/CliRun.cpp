#include "support/CliRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>

#include "support/Paths.h"

namespace vb420::test {

CliRun RunCli(const std::string& args, const std::string& env) {
  static std::atomic<int> counter{0};
  const std::string errFile = (std::filesystem::temp_directory_path() /
                               ("vb420-cli-err-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                                  .string();
  const std::string cmd = env + testsupport::BinaryDir() + "/tools/vb420cli " + args + " 2>" + errFile;
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

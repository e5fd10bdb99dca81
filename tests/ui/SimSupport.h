// What the GUI tests that talk to the simulated radio share: the simulator
// process of the end-to-end tests, environment variables set
// for the length of a test, and a file's bytes. Included by one test
// program's source only.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../e2e/SimProcess.cpp"

namespace vb420::uitest {

// An environment variable for the length of a test, set through Qt's own
// functions: they hold the lock under which QtTest's watchdog thread reads
// QTEST_FUNCTION_TIMEOUT as each test function starts. The C library's
// setenv beside that read may move the environment away under it (SIGSEGV
// in getenv on the watchdog thread).
class Env {
 public:
  Env(const std::string& name, const std::string& value) : name_(name.c_str()) {
    had_ = qEnvironmentVariableIsSet(name_.constData());
    if (had_) old_ = qgetenv(name_.constData());
    qputenv(name_.constData(), QByteArray(value.c_str()));
  }
  ~Env() {
    if (had_) qputenv(name_.constData(), old_);
    else qunsetenv(name_.constData());
  }
  Env(const Env&) = delete;
  Env& operator=(const Env&) = delete;

 private:
  QByteArray name_, old_;
  bool had_ = false;
};

using Bytes = std::vector<uint8_t>;

inline Bytes FileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

}  // namespace vb420::uitest

// SPDX-License-Identifier: GPL-3.0-or-later
// What the GUI tests that talk to the simulated radio share: the simulator
// process of the end-to-end tests, environment variables set
// for the length of a test, and a file's bytes. Included by one test
// program's source only.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/SimProcess.h"
#include "link/ui/RadioCommands.h"

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
using ::vb420::testsupport::FileBytes;

// What a GUI test that talks to a simulated radio on COM1 keeps: a folder of
// its own (backups under <tmp>/data), the radio and the port variable. A
// test class derives from it beside QObject and calls InitRadio() from its
// init() and CleanupRadio() from its cleanup().
class RadioOnCom1 {
 protected:
  void InitRadio() {
    data_ = std::make_unique<Env>("XDG_DATA_HOME", tmp_.filePath("data").toStdString());
    RadioState() = RadioCommandState();
  }
  void CleanupRadio() {
    sim_.reset();
    com1_.reset();
    data_.reset();
    std::filesystem::remove_all(tmp_.filePath("data").toStdString());
    std::filesystem::remove(tmp_.filePath("trace.txt").toStdString());
  }
  // Starts the radio with `args` and points COM1 at it.
  void StartSim(const std::vector<std::string>& args) {
    sim_ = std::make_unique<::vb420::testing::SimProcess>(args);
    QVERIFY(sim_->Started());
    com1_ = std::make_unique<Env>("VB420_COM1", sim_->Device());
  }
  std::string TmpPath(const char* name) const { return tmp_.filePath(QString::fromLatin1(name)).toStdString(); }

  std::unique_ptr<::vb420::testing::SimProcess> sim_;
  std::unique_ptr<Env> com1_;
  std::unique_ptr<Env> data_;
  QTemporaryDir tmp_;
};

}  // namespace vb420::uitest

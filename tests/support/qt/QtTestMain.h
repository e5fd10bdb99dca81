// SPDX-License-Identifier: GPL-3.0-or-later
// Several Qt Test classes in one program. A test file ends with
// VB420_QTEST(Class) where it used to end with QTEST_MAIN(Class); the
// program's shared main then runs one class, or one test function of it, in
// a process of its own, as the single-class programs did:
//
//   prog Class [function] [Qt Test options]   run a class (or one function)
//   prog --list                              every class and function
//   prog --ctest-file FILE NAME PATH         write the CTest entries, one
//                                            per test function
#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace vb420::testsupport {

using QtTestFactory = std::function<std::unique_ptr<QObject>()>;
bool RegisterQtTest(const QMetaObject& meta, QtTestFactory make);
int RunQtTests(int argc, char** argv);

}  // namespace vb420::testsupport

#define VB420_QTEST(Class)                                                                                    \
  namespace {                                                                                                 \
  const bool vb420QtTestRegistered_##Class = ::vb420::testsupport::RegisterQtTest(                            \
      Class::staticMetaObject, [] { return std::unique_ptr<QObject>(new Class); });                          \
  }

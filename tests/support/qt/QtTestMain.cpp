// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTestMain.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "editors/registry/Registration.h"

namespace vb420::testsupport {
namespace {

struct Entry {
  const QMetaObject* meta;
  QtTestFactory make;
};

std::map<std::string, Entry>& Registry() {
  static std::map<std::string, Entry> r;
  return r;
}

bool IsSpecial(const QByteArray& name) {
  return name == "initTestCase" || name == "cleanupTestCase" || name == "init" || name == "cleanup" ||
         name == "initTestCase_data" || name.endsWith("_data");
}

// The test functions of a class: its private slots without arguments, in
// the order Qt Test runs them.
std::vector<std::string> Functions(const QMetaObject& meta) {
  std::vector<std::string> out;
  for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
    const QMetaMethod m = meta.method(i);
    if (m.methodType() != QMetaMethod::Slot || m.access() != QMetaMethod::Private || m.parameterCount() != 0)
      continue;
    if (IsSpecial(m.name())) continue;
    out.push_back(m.name().toStdString());
  }
  return out;
}

int WriteCtestFile(const char* path, const char* program, const char* command) {
  std::ofstream out(path, std::ios::trunc);
  if (!out) return 1;
  for (const auto& [name, e] : Registry()) {
    for (const auto& fn : Functions(*e.meta)) {
      const std::string test = std::string(program) + "." + name + "." + fn;
      out << "add_test(\"" << test << "\" \"" << command << "\" \"" << name << "\" \"" << fn << "\")\n";
      out << "set_tests_properties(\"" << test << "\" PROPERTIES LABELS \"" << program
          << "\" ENVIRONMENT \"QT_QPA_PLATFORM=offscreen\" TIMEOUT 300)\n";
    }
  }
  return out ? 0 : 1;
}

}  // namespace

bool RegisterQtTest(const QMetaObject& meta, QtTestFactory make) {
  Registry().emplace(meta.className(), Entry{&meta, std::move(make)});
  return true;
}

int RunQtTests(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const auto& [name, e] : Registry())
      for (const auto& fn : Functions(*e.meta)) std::printf("%s %s\n", name.c_str(), fn.c_str());
    return 0;
  }
  if (argc >= 5 && std::strcmp(argv[1], "--ctest-file") == 0) return WriteCtestFile(argv[2], argv[3], argv[4]);

  const auto it = argc >= 2 ? Registry().find(argv[1]) : Registry().end();
  if (it == Registry().end()) {
    std::fprintf(stderr, "usage: %s CLASS [FUNCTION] [Qt Test options]   (--list names them)\n", argv[0]);
    return 2;
  }
  // What QTEST_MAIN does for a widget test, for the chosen class; the class
  // name is not an argument of Qt Test's.
  std::vector<char*> args{argv[0]};
  for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
  int n = static_cast<int>(args.size());
  args.push_back(nullptr);
  QApplication app(n, args.data());
  app.setAttribute(Qt::AA_Use96Dpi, true);
  // Every part registered before the first test, the way the programs do
  // at start: a test that makes a new programming before it starts the
  // application gets the same bytes as the program.
  ::vb420::RegisterCore();
  const std::unique_ptr<QObject> test = it->second.make();
  return QTest::qExec(test.get(), n, args.data());
}

}  // namespace vb420::testsupport

int main(int argc, char** argv) { return vb420::testsupport::RunQtTests(argc, argv); }

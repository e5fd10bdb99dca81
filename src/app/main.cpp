// vb420: the desktop programming application.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/MainFrame.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  // Only the four switches are ours; Qt's own command-line options (and a
  // file name) must have no effect, so Qt sees the program name alone.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication app(qtArgc, qtArgv);
  QApplication::setOrganizationName(vb420::AppSettings::kOrganisation);
  QApplication::setApplicationName(vb420::AppSettings::kApplication);

  vb420::StartupOptions options;
  options.args = std::move(args);
  options.programPath = QCoreApplication::applicationFilePath().toStdString();
  vb420::CVb420App vb(std::move(options));
  if (!vb.InitInstance()) return 1;
  // Start-up measurement (bench/startup_bench.cpp): report once the main
  // window is up with Zone Information open, then end normally.
  if (const char* probe = std::getenv("VB420_STARTUP_PROBE"); probe && *probe == '1') {
    QTimer::singleShot(0, &app, [&] {
      std::fprintf(stderr, "vb420: main window shown after %lld ms\n", static_cast<long long>(sinceMain.elapsed()));
      QCoreApplication::exit(0);  // without the exit question
    });
  }
  const int rc = app.exec();
  vb.ExitInstance();
  return rc;
}

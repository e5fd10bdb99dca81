// SPDX-License-Identifier: GPL-3.0-or-later
// vb420: the desktop programming application.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "editors/signalling/ui/ToneAudio.h"

namespace {

const char kHelp[] =
    "usage: vb420 [voting] [step] [aqua] [memmap]\n"
    "       vb420 --help | --version\n"
    "\n"
    "The VB-420 desktop programming application for VT series land-mobile radios:\n"
    "read a radio's programming over the serial programming cable, edit it, keep it\n"
    "in data files (.dat) and write it back into the radio.\n"
    "\n"
    "switches (in any case; anything else on the command line, such as a file\n"
    "name, is ignored):\n"
    "  voting     the Scan Information window shows its voting page, and the voting\n"
    "             zone types may be chosen\n"
    "  step       frequencies may also use the finest channel step, 1250 Hz\n"
    "  aqua       accepted for compatibility; it changes nothing in this version\n"
    "  memmap     the Channel Memory Map commands of the editors' pop-up menus open\n"
    "             the memory viewer on the record under the cursor\n"
    "  --help     print this text and end\n"
    "  --version  print the version and end\n"
    "\n"
    "environment:\n"
    "  VB420_COM<n>  points port COMn at a device (for example /dev/ttyUSB0)\n"
    "\n"
    "Settings are kept in ~/.config/MARDEKO/vb420.conf, a backup of every read\n"
    "and write in ~/.local/share/vb420/backups. The command-line tool is\n"
    "vb420cli, the simulated radio vb420sim.\n";

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  // Only the four switches are ours; Qt's own command-line options (and a
  // file name) must have no effect, so Qt sees the program name alone.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  // Asking what the program is starts no window (and needs no display).
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (a == "--version") {
      std::fputs("vb420 " VB420_VERSION "\n", stdout);
      return 0;
    }
  }
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
  // VB420_STARTUP_PROBE=audio also says whether the alert-tone test's audio
  // module (loaded only when needed) is found where the program looks.
  const char* probe = std::getenv("VB420_STARTUP_PROBE");
  if (probe && (std::strcmp(probe, "1") == 0 || std::strcmp(probe, "audio") == 0)) {
    const bool audio = std::strcmp(probe, "audio") == 0;
    QTimer::singleShot(0, &app, [&sinceMain, audio] {
      std::fprintf(stderr, "vb420: main window shown after %lld ms\n", static_cast<long long>(sinceMain.elapsed()));
      if (audio) {
        QObject owner;
        const bool found = vb420::MakeToneAudioOutput(&owner) != nullptr;
        std::fprintf(stderr, "vb420: audio module %s\n", found ? "loaded" : "not found");
      }
      QCoreApplication::exit(0);  // without the exit question
    });
  }
  const int rc = app.exec();
  vb.ExitInstance();
  return rc;
}

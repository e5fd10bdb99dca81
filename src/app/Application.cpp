// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/Workspace.h"
#include "app/Application.h"
#include <QStandardPaths>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <clocale>

#include "app/AppRegistration.h"
#include "app/MainFrame.h"
#include "app/UiLanguage.h"
#include "editors/grid/AccessibleNames.h"
#include "frame/ui/SettingsFormat.h"
#include "data/NewImage.h"
#include "lang/ResourcePaths.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "lang/ui/UiPrompter.h"

namespace vb420 {

namespace {

// Where Open and Save As start the first time: a writable DATA folder
// beside the program (a copy run from its own folder), otherwise the
// user's documents folder: an installed program's folder is read-only.
std::string FirstDataFolder(const std::string& programPath) {
  const QString beside = QString::fromStdString(DefaultDataFolder(programPath));
  const QFileInfo info(beside);
  if (beside.endsWith(QStringLiteral("DATA/")) && info.isDir() && info.isWritable()) return beside.toStdString();
  QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (docs.isEmpty() || !QFileInfo(docs).isDir()) docs = QDir::homePath();
  return (docs + QLatin1Char('/')).toStdString();
}

}  // namespace

namespace {

std::string ProgramFolder(const std::string& programPath) {
  const size_t cut = programPath.find_last_of("\\/");
  return cut == std::string::npos ? std::string(".") : programPath.substr(0, cut);
}

}  // namespace

CVb420App::CVb420App(StartupOptions options) : options_(std::move(options)) {
  // Every window, command, hook, field set and pre-write check, once.
  RegisterAll();
  if (options_.programPath.empty() && QCoreApplication::instance())
    options_.programPath = QCoreApplication::applicationFilePath().toStdString();
  const std::string folder = ProgramFolder(options_.programPath);
  // Every control a screen reader reaches has a name, in every window.
  InstallAccessibleNaming(QCoreApplication::instance());
  // Installed or not, the language file and the help come from the same
  // places: beside the program, ../share/vb420, the XDG data folders, and
  // the source tree only for a program run from its build tree.
  if (options_.languageDirs.empty()) options_.languageDirs = ResourceDirs(folder);
  if (options_.resourceDirs.empty())
    for (const std::string& d : ResourceDirs(folder)) options_.resourceDirs.push_back(QString::fromStdString(d));
  UiPrompter* prompter = options_.prompter;
  if (!prompter) {
    ownPrompter_ = std::make_unique<UiPrompter>();
    prompter = ownPrompter_.get();
  }
  msg_ = std::make_unique<MessageHelper>(ws_.text, *prompter);
  help_ = std::make_unique<HelpSystem>(options_.resourceDirs);
}

CVb420App::~CVb420App() {
  frame_.reset();
  help_.reset();
}

bool CVb420App::LoadLanguage() {
  const std::string path = TextTable::FindFile(options_.languageDirs);
  TextTable::LoadResult result = TextTable::LoadResult::NotFound;
  if (!path.empty()) result = ws_.text.LoadFile(path, ws_.languageName);
  if (result == TextTable::LoadResult::Ok) return true;
  msg_->Ask(QString::fromLatin1(result == TextTable::LoadResult::NotFound ? TextTable::kMsgNotFound
                                                                          : TextTable::kMsgDamaged),
            QString::fromLatin1(TextTable::kMsgCaption), MsgIcon::Error, kMsgOk);
  return false;
}

bool CVb420App::InitInstance() {
  // 1. Switches; nothing else on the command line has any effect.
  ws_.switches = ParseSwitches(options_.args);
  ws_.ApplySwitches();
  // 2. The user's locale decides the decimal separator of the texts shown.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "");
  if (const lconv* lc = std::localeconv(); lc && lc->decimal_point && lc->decimal_point[0]) {
    ws_.data.freq.SetDecimalSeparator(lc->decimal_point[0]);
    ws_.data.field.SetDecimalSeparator(lc->decimal_point[0]);
  }
  // Qt itself relies on the C numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  // 3. Colour depth for the splash picture.
  if (QScreen* screen = QGuiApplication::primaryScreen()) colourDepth_ = screen->depth();

  // 5. Language and settings.
  const int key = settings_.Language().value_or(1);
  const LanguageInfo* lang = LanguageByKey(key);
  ws_.languageName = lang ? lang->name : "";
  ws_.helpFile = lang ? lang->helpFile : "";
  help_->SetHelpFile(ws_.helpFile);
  if (!LoadLanguage()) return false;
  InstallQtTranslations(ws_.text.CurrentLanguage());

  RadioData& data = ws_.data;
  data.buffers.Clear();
  ws_.RestoreDefaultFileNames();
  ws_.comPort = NormalizeComPort(settings_.ComPort().value_or(1));
  ws_.lastFilePath = settings_.LastFilePath().toStdString();
  if (ws_.lastFilePath.empty()) ws_.lastFilePath = FirstDataFolder(options_.programPath);

  modelRestored_ = false;
  if (auto bytes = ParseLastModel(settings_.LastModel().toStdString())) {
    if (ModelRecord::IsKnownModel(*bytes) && ModelRecord::IsSelectableBand((*bytes)[5])) {
      (*bytes)[6] |= 0x03;  // no read and no overwrite password
      data.model.SetBytes(*bytes);
      modelRestored_ = true;
    }
  }
  InitNewImage(data, !modelRestored_);
  data.buffers.TakeSnapshot();
  ws_.started = true;

  // 7. The main window, with the splash over it.
  frame_ = std::make_unique<CMainFrame>(ws_, settings_, *msg_, *help_, colourDepth_, options_.splash);
  // 9. Stored placement, or maximised.
  frame_->RestorePlacement(settings_.LastWinPos());
  // 10. Zone Information as soon as the event loop runs.
  CMainFrame* frame = frame_.get();
  QTimer::singleShot(0, frame, [frame] { frame->RunCommand(kCmdZoneInfo); });
  return true;
}

void CVb420App::ExitInstance() {
  if (!ws_.started) return;
  settings_.SetLastModel(QString::fromStdString(FormatLastModel(ws_.data.model.Bytes())));
  settings_.SetComPort(ws_.comPort);
  settings_.SetLastFilePath(QString::fromStdString(ws_.lastFilePath));
  if (const LanguageInfo* lang = LanguageByName(ws_.text.CurrentLanguage())) settings_.SetLanguage(lang->key);
  settings_.Sync();
}

}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Paths.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

#include "frame/ui/AppSettings.h"
#include "lang/TextTable.h"

namespace vb420::test {

std::string MakeLanguageFile(const std::map<int, std::string>& overrides) {
  auto quote = [](const std::string& s) {
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
  };
  std::string s = "*Language,English,Spanish\n*Font,Arial,Arial\n";
  for (int i = 0; i < TextTable::kEntryCount; ++i) {
    std::string en = "E" + std::to_string(i), sp = "S" + std::to_string(i);
    if (auto it = overrides.find(i); it != overrides.end()) en = sp = it->second;
    s += "^#" + TextTable::IdentifierOf(i) + "," + quote(en) + "," + quote(sp) + "\n";
  }
  return s;
}

std::map<int, std::string> StandardOverrides() {
  return {
      {311, "File %s is from %s"},
      {312, "File %s is foreign"},
      {1247, "English"},
      {1248, "Spanish"},
  };
}

int ScriptedPrompter::Message(QWidget*, const MessageRequest& request) {
  messages.push_back(request);
  if (!answers.empty()) {
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (request.buttons) {
    case kMsgYesNo:
    case kMsgYesNoCancel: return kIdYes;
    default: return kIdOk;
  }
}

QString ScriptedPrompter::OpenFileName(QWidget*, const FileDialogRequest& request) {
  openRequests.push_back(request);
  if (openNames.empty()) return {};
  const QString name = openNames.front();
  openNames.pop_front();
  return name;
}

QString ScriptedPrompter::SaveFileName(QWidget*, const FileDialogRequest& request) {
  saveRequests.push_back(request);
  if (saveNames.empty()) return {};
  const QString name = saveNames.front();
  saveNames.pop_front();
  return name;
}

int ScriptedPrompter::RunDialog(QDialog& dialog) {
  dialogTitles.push_back(dialog.windowTitle());
  if (dialogs.empty()) {
    if (inspect) inspect(dialog);
    dialog.reject();
    return QDialog::Rejected;
  }
  auto script = std::move(dialogs.front());
  dialogs.pop_front();
  return script(dialog);
}

QStringList ScriptedPrompter::MessageTexts() const {
  QStringList out;
  for (const auto& m : messages) out << m.text;
  return out;
}

void ScriptedPrompter::Clear() {
  messages.clear();
  answers.clear();
  openRequests.clear();
  saveRequests.clear();
  dialogTitles.clear();
}

AppFixture::AppFixture() {
  QDir(dir_.path()).mkpath("lang");
  QDir(dir_.path()).mkpath("bin");
  QDir(dir_.path()).mkpath("config");
  // A home of its own: the first data folder and the backups are found from it.
  QDir(dir_.path()).mkpath("home");
  oldHome_ = qgetenv("HOME");
  qputenv("HOME", dir_.filePath("home").toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath("config"));
  languageText = MakeLanguageFile(StandardOverrides());
}

AppFixture::~AppFixture() {
  app_.reset();
  Settle();
  qputenv("HOME", oldHome_);
}

void AppFixture::SetSetting(const QString& key, const QVariant& value) {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, AppSettings::kOrganisation, AppSettings::kApplication);
  s.setValue(key, value);
  s.sync();
}

QVariant AppFixture::Setting(const QString& key) const {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, AppSettings::kOrganisation, AppSettings::kApplication);
  return s.value(key);
}

bool AppFixture::HasSetting(const QString& key) const {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, AppSettings::kOrganisation, AppSettings::kApplication);
  return s.contains(key);
}

bool AppFixture::Start(const std::vector<std::string>& args, bool splash) {
  if (!languageText.empty()) {
    QFile f(dir_.filePath("lang/vb420.lng"));
    f.open(QIODevice::WriteOnly);
    f.write(languageText.data(), static_cast<qint64>(languageText.size()));
  }
  StartupOptions o;
  o.args = args;
  o.programPath = dir_.filePath("bin/vb420").toStdString();
  o.languageDirs = {dir_.filePath("lang").toStdString()};
  o.resourceDirs = {QString::fromStdString(::vb420::testsupport::ResourceDir())};
  o.splash = splash;
  o.prompter = &prompter;
  app_ = std::make_unique<CVb420App>(std::move(o));
  if (!app_->InitInstance()) return false;
  Settle();
  return true;
}

void AppFixture::Exit() {
  if (app_->Frame()) app_->Frame()->close();
  Settle();
  app_->ExitInstance();
}

QStringList MenuTitles(CMainFrame& frame) {
  QStringList out;
  for (QAction* a : frame.menuBar()->actions())
    if (a->menu()) out << a->text();
  return out;
}

QStringList MenuItems(CMainFrame& frame, const QString& title) {
  QStringList out;
  for (QAction* a : frame.menuBar()->actions()) {
    if (!a->menu() || a->text() != title) continue;
    for (QAction* item : a->menu()->actions()) out << (item->isSeparator() ? QStringLiteral("-") : item->text());
  }
  return out;
}

ImageState Now(Workspace& ws) { return {ws.data.buffers.ImageBytes(), ws.data.buffers.ExtBytes()}; }

QByteArray FileData(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(1);
    QCoreApplication::processEvents();
  }
}

}  // namespace vb420::test

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

#include <QClipboard>
#include <cstring>

#include "app/UndoController.h"
#include "editors/grid/ToneCombo.h"
#include "editors/forms/FieldSets.h"
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

// ---- the script every list grid runs ------------------------------------------

namespace {

QByteArray Programming(RadioData& d) {
  QByteArray out(reinterpret_cast<const char*>(d.Image().data()), static_cast<qsizetype>(kImageSize));
  out.append(reinterpret_cast<const char*>(d.Ext().data()), static_cast<qsizetype>(kExtSize));
  return out;
}

// The same change through the settings operation, on the twin.
void SetOnTwin(RadioData& twin, TextTable& text, const std::string& key, const QString& value) {
  forms::SettingLine out;
  int message = 0;
  forms::SetSetting(twin, text, key, value.toStdString(), out, message);
}

void TypeInto(CFieldGrid* g, int row, int col, const QString& text) {
  g->setFocus();
  g->SetCurrent(row, col);
  QTest::keyClicks(g, text.left(1));
  if (QWidget* ed = g->Editor(); ed && g->EditorKindOpen()) {
    QWidget* target = g->EditorKindOpen() == CEditGrid::kEditCombo ? static_cast<QWidget*>(g->CellCombo()->lineEdit()) : ed;
    QTest::keyClicks(target, text.mid(1));
    QTest::keyClick(target, Qt::Key_Return);
  }
}

}  // namespace

void RunGridScript(AppFixture& app, const GridScriptCase& c) {
  TextTable& text = app.Ws().text;
  RadioData& data = app.Ws().data;
  CUndoController& undo = *app.Frame().Undo();
  app.Frame().CommitPendingEdits();
  undo.CommitNow();
  RadioData twin(&text);
  auto resetTwin = [&] {
    std::memcpy(twin.Image().data(), data.Image().data(), kImageSize);
    std::memcpy(twin.Ext().data(), data.Ext().data(), kExtSize);
    twin.SyncCodecs();
  };
  resetTwin();
  bool ran = false;
  c.with(app, [&](CFieldGrid* g) {
    ran = true;
    QVERIFY2(g, c.name);
    QVERIFY2(g->Field(c.col), c.name);
    auto key = [&](int row, int col) { return c.prefix(row) + "." + g->Field(col)->key; };
    auto same = [&](const char* step) {
      const QByteArray a = Programming(data), b = Programming(twin);
      qsizetype at = 0;
      while (at < a.size() && a[at] == b[at]) ++at;
      QVERIFY2(a == b, qPrintable(QStringLiteral("%1: %2 (first difference at byte %3)").arg(c.name, step).arg(at)));
    };
    auto shown = [&](int row, int col) {
      forms::SettingLine line;
      forms::GetSetting(twin, text, key(row, col), line);
      QCOMPARE(g->Text(row, col), QString::fromStdString(line.text));
    };

    // A valid value, then one out of range: the cell shows what is stored.
    const QByteArray start = Programming(data);
    TypeInto(g, c.row, c.col, c.valid);
    SetOnTwin(twin, text, key(c.row, c.col), c.valid);
    same("valid");
    shown(c.row, c.col);
    QVERIFY2(Programming(data) != start, c.name);
    app.prompter.messages.clear();
    TypeInto(g, c.row, c.col, c.outOfRange);
    SetOnTwin(twin, text, key(c.row, c.col), c.outOfRange);
    same("out of range");
    shown(c.row, c.col);

    // Letters open no editor in a number cell and change nothing.
    const QByteArray before = Programming(data);
    g->SetCurrent(c.row, c.col);
    QTest::keyClicks(g, c.letters);
    QCOMPARE(g->EditorKindOpen(), 0);
    QCOMPARE(Programming(data), before);

    // Escape puts the cell back.
    const QString cell = g->Text(c.row, c.col);
    QTest::keyClick(g, Qt::Key_Return);
    QVERIFY2(g->EditorKindOpen(), c.name);
    QTest::keyClicks(g->Editor(), c.valid.left(2));
    QTest::keyClick(g->Editor(), Qt::Key_Escape);
    QCOMPARE(g->EditorKindOpen(), 0);
    QCOMPARE(g->Text(c.row, c.col), cell);
    QCOMPARE(Programming(data), before);

    // A 3 x 3 block from a spreadsheet, cell by cell through the field rules.
    const QString block = c.block(g);
    QApplication::clipboard()->setText(block);
    g->setFocus();
    g->SetCurrent(c.row + 1, c.col);
    QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
    const QStringList lines = block.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const QStringList cells = lines[i].split(QLatin1Char('\t'));
      QCOMPARE(cells.size(), 3);
      for (int j = 0; j < 3 && c.col + j <= g->FieldColumns(); ++j)
        SetOnTwin(twin, text, key(c.row + 1 + i, c.col + j), cells[j]);
    }
    same("paste");
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3 && c.col + j <= g->FieldColumns(); ++j) shown(c.row + 1 + i, c.col + j);
    undo.CommitNow();

    // Delete empties a cell through the field's rule (the pasted row's
    // second field); Ctrl+Z brings it back as one step named after the field.
    const int delRow = c.row + 1, delCol = std::min(c.col + 1, g->FieldColumns());
    const QByteArray beforeDelete = Programming(data);
    g->setFocus();
    g->SetCurrent(delRow, delCol);
    QTest::keyClick(g, Qt::Key_Delete);
    SetOnTwin(twin, text, key(delRow, delCol), QString());
    same("Delete");
    shown(delRow, delCol);
    undo.CommitNow();
    QVERIFY2(Programming(data) != beforeDelete, c.name);
    const QString label = MenuLabel(QString::fromStdString(text.Text(g->Field(delCol)->labelEntry)));
    QVERIFY2(QString::fromStdString(undo.History().UndoName()).contains(label),
             qPrintable(QStringLiteral("%1: step \"%2\" names not \"%3\"")
                            .arg(c.name, QString::fromStdString(undo.History().UndoName()), label)));
    if (c.dialog) undo.Undo();  // a modal list: the Edit menu's Ctrl+Z is not reachable from it
    else QTest::keyClick(g, Qt::Key_Z, Qt::ControlModifier);
    {
      const QByteArray now = Programming(data);
      qsizetype at = 0;
      while (at < now.size() && now[at] == beforeDelete[at]) ++at;
      QVERIFY2(now == beforeDelete, qPrintable(QStringLiteral("%1: Ctrl+Z (first difference at byte %2, steps %3)")
                                                   .arg(c.name).arg(at).arg(undo.History().UndoSteps())));
    }
    g->Refill();
    resetTwin();
    shown(delRow, delCol);
  });
  QVERIFY2(ran, c.name);
}

}  // namespace vb420::test

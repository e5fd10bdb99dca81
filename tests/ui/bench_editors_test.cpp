// SPDX-License-Identifier: GPL-3.0-or-later
// The test-frequency, embedded-message and password-message windows: what
// typing stores in the image and the extension area, and the password
// message's Write against the simulated radio.
#include "support/Files.h"
#include "support/Paths.h"
#include <stdlib.h>

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/messages/MessageFields.h"
#include "editors/messages/ui/MessageViews.h"
#include "editors/testfreq/ui/TestFreqView.h"
#include "link/ui/RadioDialogs.h"

#include "SimSupport.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;
using vb420::testing::SimProcess;
using vb420::uitest::Bytes;
using vb420::uitest::Env;
using vb420::uitest::FileBytes;

namespace {

Bytes Area(const ByteArea& a, size_t off, size_t n) {
  const uint8_t* p = a.ptr(off, n);
  return Bytes(p, p + n);
}

}  // namespace

class BenchEditorsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void testFrequencyRowsCopyPasteAndDefaults();
  void embeddedMessageLinesAreStoredAsTyped();
  void passwordMessageIsWrittenIntoTheRadioAlone();
  void passwordMessageAsksTheRadioPassword();
  void screenshots();

 private:
  // Through the Edit menu's command, as the user opens it.
  template <class V>
  V* Open(EditorKind kind) {
    const int command = kind == EditorKind::TestFreq     ? kCmdTestFreq
                        : kind == EditorKind::EmbMessage ? kCmdEmbMessage
                                                         : kCmdEmbPassword;
    f_->Frame().RunCommand(command);
    Settle();
    return qobject_cast<V*>(f_->Frame().FindEditor(kind));
  }
  void Type(CTestFreqView* v, int row, int col, const QString& text) {
    v->Grid()->SetCurrent(row, col);
    QTest::keyClick(v->Grid(), text.isEmpty() ? Qt::Key_Backspace : Qt::Key(text.at(0).unicode()), Qt::NoModifier);
    v->CellEdit()->setText(text);
    QTest::keyClick(v->CellEdit(), Qt::Key_Return);
  }

  std::unique_ptr<AppFixture> f_;
  std::unique_ptr<SimProcess> sim_;
  QTemporaryDir tmp_;
};

void BenchEditorsTest::init() {
  f_ = std::make_unique<AppFixture>();
  QVERIFY(f_->Start());
}

void BenchEditorsTest::cleanup() {
  f_.reset();
  sim_.reset();
  qunsetenv("VB420_COM1");
}

void BenchEditorsTest::testFrequencyRowsCopyPasteAndDefaults() {
  auto* v = Open<CTestFreqView>(EditorKind::TestFreq);
  QVERIFY(v);
  RadioData& data = f_->Ws().data;
  const ByteArea image = data.Image();
  const Bytes defaults = Area(image, img::kTestFreqs, 160);
  QCOMPARE(v->Grid()->Text(1, 1), QString::fromStdString(TestFreqText(data, 0, 0)));
  QVERIFY(v->Grid()->Text(12, 1).isEmpty());

  // Typing on the transmit column of an empty row starts with the receive one.
  Type(v, 12, 2, "151.5");
  QVERIFY(TestFreqSet(data, 11, 0));
  QCOMPARE(Area(image, img::kTestFreqs + 110, 4), Area(image, img::kTestFreqs + 114, 4));
  QCOMPARE(v->Grid()->Text(12, 2), v->Grid()->Text(12, 1));
  QVERIFY(!v->Grid()->Text(12, 1).isEmpty());

  // Outside the model's range: stored, and the warning for its column.
  Type(v, 12, 2, "460");
  QVERIFY(f_->prompter.MessageTexts().contains("E284"));

  // Copy two rows, paste them from row 15: as far as there are rows.
  v->Grid()->SelectRows(1, 2);
  v->RunCommand(kCmdGridCopy);
  v->Grid()->SetRowSelectMode(false);
  v->Grid()->SetCurrent(16, 1);
  v->RunCommand(kCmdGridPaste);
  QCOMPARE(Area(image, img::kTestFreqs + 150, 10), Area(image, img::kTestFreqs, 10));
  QCOMPARE(v->Grid()->Text(16, 1), v->Grid()->Text(1, 1));

  // Clearing everything brings the model's defaults back into every row.
  v->Grid()->SelectRows(1, 16);
  v->RunCommand(kCmdGridDelete);
  QCOMPARE(Area(image, img::kTestFreqs, 160), defaults);
  QVERIFY(v->Grid()->Text(16, 1).isEmpty());
  QCOMPARE(v->Grid()->Text(1, 1), QString::fromStdString(TestFreqText(data, 0, 0)));
  QVERIFY(!CTestFreqView::CopyBuffer().Empty());
  f_->Frame().RunCommand(kCmdFileNew);
  Settle();
  QVERIFY(CTestFreqView::CopyBuffer().Empty());
}

void BenchEditorsTest::embeddedMessageLinesAreStoredAsTyped() {
  auto* v = Open<CEmbView>(EditorKind::EmbMessage);
  QVERIFY(v);
  const ByteArea image = f_->Ws().data.Image();
  const Bytes around = Area(image, 0x990, 16) , after = Area(image, 0x9E0, 16);
  v->Line(0)->setText("AB      ");
  Q_EMIT v->Line(0)->editingFinished();
  Bytes want(32, 0);
  want[0] = 'A';
  want[1] = 'B';
  QCOMPARE(Area(image, 0x9A0, 32), want);
  QCOMPARE(v->Line(0)->text(), QStringLiteral("AB"));
  const QString full = "THIRTY-TWO CHARACTERS EXACTLY!!!";
  v->Line(1)->setText(full);
  Q_EMIT v->Line(1)->editingFinished();
  const QByteArray latin = full.toLatin1();
  QCOMPARE(Area(image, 0x9C0, 32), Bytes(latin.begin(), latin.end()));
  QCOMPARE(Area(image, 0x990, 16), around);  // the neighbours untouched
  QCOMPARE(Area(image, 0x9E0, 16), after);
  QCOMPARE(v->Line(1)->maxLength(), 32);
  v->Line(0)->setText("    ");
  Q_EMIT v->Line(0)->editingFinished();
  QCOMPARE(Area(image, 0x9A0, 32), Bytes(32, 0));
  // Wide enough for 32 characters of its fixed-pitch font, and not much more.
  const QFontMetrics fm(v->Line(0)->font());
  const int text = fm.horizontalAdvance(QString(32, 'W'));
  QVERIFY(v->Line(0)->width() >= text);
  QVERIFY(v->Line(0)->width() <= text + 24);
}

void BenchEditorsTest::passwordMessageIsWrittenIntoTheRadioAlone() {
  // The radio holds the programming of the program at start.
  const std::string image = tmp_.filePath("radio.dat").toStdString();
  const std::string saved = tmp_.filePath("saved.dat").toStdString();
  QCOMPARE(SaveDatFile(image, f_->Ws().data).result, kFileOk);
  sim_ = std::make_unique<SimProcess>(std::vector<std::string>{"--image", image, "--save", saved});
  QVERIFY(sim_->Started());
  qputenv("VB420_COM1", sim_->Device().c_str());  // Qt locks the environment for its watchdog

  auto* v = Open<CEmbPassView>(EditorKind::EmbPassword);
  QVERIFY(v);
  v->Line(0)->setText("RETURN TO");
  Q_EMIT v->Line(0)->editingFinished();
  v->Line(1)->setText("BENCH 7");
  Q_EMIT v->Line(1)->editingFinished();
  bool othersDisabled = false;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    othersDisabled = !v->WriteButton()->isEnabled() && !v->Line(0)->isEnabled();
    static_cast<CMessagePasswordDlg&>(d).Edit()->setText("42");
    return int(QDialog::Accepted);
  });
  v->PasswordButton()->click();
  QVERIFY(othersDisabled);
  const ByteArea ext = f_->Ws().data.Ext();
  QCOMPARE(Area(ext, 0x640, 7), (Bytes{2, '4', '2', 0xFF, 0xFF, 0xFF, 0xFF}));
  const Bytes mine = Area(ext, 0x600, 64);

  v->WriteButton()->click();
  Settle();
  const QStringList texts = f_->prompter.MessageTexts();
  QVERIFY2(texts.contains("E320") && texts.contains("E318"), qPrintable(texts.join(" | ")));
  QVERIFY(v->WriteButton()->isEnabled());
  sim_->Stop();
  const Bytes before = FileBytes(image), after = FileBytes(saved);
  QCOMPARE(after.size(), before.size());
  const size_t lines = kHeaderSize + kImageSize + 0x600 - 0x100;
  QVERIFY(std::equal(mine.begin(), mine.end(), after.begin() + lines));
  for (size_t i = 0; i < after.size(); ++i)
    if (i < lines || i >= lines + 64) QCOMPARE(after[i], before[i]);
}

void BenchEditorsTest::passwordMessageAsksTheRadioPassword() {
  const std::string image = tmp_.filePath("radio.dat").toStdString();
  const std::string saved = tmp_.filePath("saved.dat").toStdString();
  QCOMPARE(SaveDatFile(image, f_->Ws().data).result, kFileOk);
  sim_ = std::make_unique<SimProcess>(
      std::vector<std::string>{"--image", image, "--save", saved, "--tech-password", "246"});
  QVERIFY(sim_->Started());
  qputenv("VB420_COM1", sim_->Device().c_str());  // Qt locks the environment for its watchdog
  auto* v = Open<CEmbPassView>(EditorKind::EmbPassword);
  v->Line(0)->setText("LOCKED");
  Q_EMIT v->Line(0)->editingFinished();
  int passwordDialogs = 0;
  f_->prompter.dialogs.push_back([&](QDialog& d) {
    if (auto* p = qobject_cast<CPasswordDlg*>(&d)) {
      ++passwordDialogs;
      p->Edit()->setText("246");
      return int(QDialog::Accepted);
    }
    return int(QDialog::Rejected);
  });
  v->WriteButton()->click();
  Settle();
  QCOMPARE(passwordDialogs, 1);
  QVERIFY(f_->prompter.MessageTexts().contains("E318"));
  // The notice belongs to the password message's window and says so.
  for (const MessageRequest& m : f_->prompter.messages)
    if (m.text == "E318") QCOMPARE(m.caption, QStringLiteral("E349"));
  QVERIFY(!f_->prompter.MessageTexts().contains("E320"));
  sim_->Stop();
  const Bytes after = FileBytes(saved);
  const size_t lines = kHeaderSize + kImageSize + 0x600 - 0x100;
  QCOMPARE(QByteArray(reinterpret_cast<const char*>(after.data() + lines), 6), QByteArray("LOCKED"));
}

void BenchEditorsTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  for (const char* lang : {"en", "es"}) {
    f_.reset();
    f_ = std::make_unique<AppFixture>();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    QVERIFY(f_->Start());
    f_->Frame().showNormal();
    f_->Frame().resize(900, 650);
    StoreMessageLine(f_->Ws().data.Image(), 0x9A0, "PROPERTY OF CITY WORKS");
    StoreMessageLine(f_->Ws().data.Ext(), 0x600, "CALL 555-0100 IF FOUND");
    const QString base = QString(dir) + "/" + lang;
    const std::pair<EditorKind, const char*> kinds[] = {{EditorKind::TestFreq, "-test-freq.png"},
                                                        {EditorKind::EmbMessage, "-emb-message.png"},
                                                        {EditorKind::EmbPassword, "-emb-password.png"}};
    for (const auto& [kind, name] : kinds) {
      CEditorView* v = f_->Frame().OpenEditor(kind);
      Settle();
      QTest::qWait(150);
      QVERIFY(v->window()->grab().save(base + name));
    }
  }
}

VB420_QTEST(BenchEditorsTest)
#include "bench_editors_test.moc"

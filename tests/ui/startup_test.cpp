// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and exit of the program: switches, stored settings and their
// defaults, the language file, the first image, window placement, closing.
#include "support/Paths.h"
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QTest>

#include "UiTestSupport.h"
#include "app/SplashWnd.h"
#include "lang/ui/HelpSystem.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "frame/ui/SettingsFormat.h"
#include "lang/TextTable.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

namespace {

QByteArray Bytes(Workspace& ws, size_t offset, size_t n) {
  return QByteArray(reinterpret_cast<const char*>(ws.data.buffers.ImageBytes().data() + offset), static_cast<int>(n));
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void comPortIsBroughtIntoRange_data();
  void comPortIsBroughtIntoRange();
  void lastModelRestoresOnlyAKnownModel_data();
  void lastModelRestoresOnlyAKnownModel();
  void switchesIgnoreCaseAndAFileNameOpensNothing();
  void missingOrDamagedLanguageFileEndsStartupWithoutWritingSettings_data();
  void missingOrDamagedLanguageFileEndsStartupWithoutWritingSettings();
  void exitWritesTheSettingsBack();
  void dataFolderDefaultsToTheProgramFolderOrItsDataFolder();
  void storedLanguageChoosesTheColumn();
  void placementMaximisedWhenNoneIsStored();
  void placementRestoresAStoredRectangle();
  void placementWithoutAWindowSizeIsIgnored();
  void minimisedFromMaximisedIsStoredAsMaximised();
  void closingAsksFirstAndCanBeRefused();
  void zoneInformationOpensAfterStartup();
  void splashShowsTextsAndAnyKeyClosesItWithoutRunningTheKey();
  void splashLaysOutTheShippedTextsWholeInBothLanguages();
  void splashMakesRoomForLongerTexts();
};

void StartupTest::comPortIsBroughtIntoRange_data() {
  QTest::addColumn<QVariant>("stored");
  QTest::addColumn<int>("expected");
  QTest::newRow("0") << QVariant(0) << 1;
  QTest::newRow("21") << QVariant(21) << 1;
  QTest::newRow("-3") << QVariant(-3) << 1;
  QTest::newRow("20") << QVariant(20) << 20;
  QTest::newRow("7") << QVariant(7) << 7;
  QTest::newRow("text") << QVariant(QStringLiteral("COM3")) << 1;
  QTest::newRow("absent") << QVariant() << 1;
}

void StartupTest::comPortIsBroughtIntoRange() {
  QFETCH(QVariant, stored);
  QFETCH(int, expected);
  AppFixture f;
  if (stored.isValid()) f.SetSetting("Backup/ComPort", stored);
  QVERIFY(f.Start());
  QCOMPARE(f.Ws().comPort, expected);
  QCOMPARE(f.Frame().PortPane()->text(), QStringLiteral("COM%1").arg(expected));
  f.Exit();
  QCOMPARE(f.Setting("Backup/ComPort").toInt(), expected);
}

void StartupTest::lastModelRestoresOnlyAKnownModel_data() {
  QTest::addColumn<QString>("stored");
  QTest::addColumn<QByteArray>("modelBytes");
  QTest::addColumn<QByteArray>("firstTestFreq");  // image 0x8C0, receive frequency
  const QByteArray vt1600("M1600\x04\xFF\xFF", 8);
  const QByteArray vhf155("\x00\x50\x50\x15", 4);
  QTest::newRow("seven fields") << "4D:32:36:30:30:06:FF" << vt1600 << vhf155;
  QTest::newRow("nine fields") << "4D:32:36:30:30:06:FF:FF:00" << vt1600 << vhf155;
  QTest::newRow("unknown model") << "58:58:58:58:58:04:FF:FF" << vt1600 << vhf155;
  QTest::newRow("band not allowed") << "4D:31:36:30:32:07:FF:FF" << vt1600 << vhf155;
  QTest::newRow("not hex") << "4D:31:36:30:30:0G:FF:FF" << vt1600 << vhf155;
  QTest::newRow("empty") << "" << vt1600 << vhf155;
  // VT-2602H on 400-470 MHz, stored with both passwords set: restored
  // without passwords, and the image is built for that model.
  QTest::newRow("VT-2602H 400-470") << "4D:32:36:30:32:07:F8:FF" << QByteArray("M2602\x07\xFB\xFF", 8)
                                    << QByteArray("\x00\x50\x50\x43", 4);
  QTest::newRow("VT-2400 450-520") << "50:32:34:30:30:06:FF:FF" << QByteArray("P2400\x06\xFF\xFF", 8)
                                   << QByteArray("\x00\x50\x50\x48", 4);
}

void StartupTest::lastModelRestoresOnlyAKnownModel() {
  QFETCH(QString, stored);
  QFETCH(QByteArray, modelBytes);
  QFETCH(QByteArray, firstTestFreq);
  AppFixture f;
  f.SetSetting("Backup/LastModel", stored);
  QVERIFY(f.Start());
  QCOMPARE(Bytes(f.Ws(), 0x120, 8), modelBytes);
  QCOMPARE(Bytes(f.Ws(), 0x8C0, 4), firstTestFreq);
  QCOMPARE(Bytes(f.Ws(), 0x100, 12), QByteArray("VB420\0\0V1.20", 12));
  // The new image is the unmodified state.
  QVERIFY(!f.Ws().data.buffers.Modified());
}

void StartupTest::switchesIgnoreCaseAndAFileNameOpensNothing() {
  // A valid data file of another model, named on the command line.
  AppFixture f;
  const QString file = f.Path("other.dat");
  {
    RadioData other;
    other.model.SetBytes({'M', '2', '6', '0', '0', 0x06, 0xFF, 0xFF});
    ResetToNewImage(other);
    QCOMPARE(SaveDatFile(file.toStdString(), other).result, kFileOk);
  }
  QVERIFY(f.Start({"StEp", file.toStdString(), "VOTING", "-platform", "xcb", "memMap"}));
  QVERIFY(f.Ws().switches.fineStep);
  QVERIFY(f.Ws().switches.voting);
  QVERIFY(f.Ws().switches.memMap);
  QVERIFY(!f.Ws().switches.aqua);
  QVERIFY(f.Ws().data.freq.FineStep());
  QVERIFY(f.Ws().data.votingSwitch);
  QCOMPARE(Bytes(f.Ws(), 0x120, 5), QByteArray("M1600"));
  QCOMPARE(f.Ws().datName, std::string("vb420.dat"));
  QVERIFY(f.prompter.messages.empty());
}

void StartupTest::missingOrDamagedLanguageFileEndsStartupWithoutWritingSettings_data() {
  QTest::addColumn<bool>("present");
  QTest::addColumn<QString>("message");
  QTest::newRow("missing") << false << QString(TextTable::kMsgNotFound);
  QTest::newRow("damaged") << true << QString(TextTable::kMsgDamaged);
}

void StartupTest::missingOrDamagedLanguageFileEndsStartupWithoutWritingSettings() {
  QFETCH(bool, present);
  QFETCH(QString, message);
  AppFixture f;
  if (present) {
    // One entry line short.
    std::string text = MakeLanguageFile();
    text.erase(text.rfind("^#"));
    f.languageText = text;
  } else {
    f.languageText.clear();
  }
  QVERIFY(!f.Start());
  QCOMPARE(f.prompter.messages.size(), size_t(1));
  QCOMPARE(f.prompter.messages[0].text, message);
  QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("VB-420"));
  QVERIFY(f.prompter.messages[0].icon == MsgIcon::Error);
  QVERIFY(f.App().Frame() == nullptr);
  f.App().ExitInstance();
  QVERIFY(!f.HasSetting("Backup/LastModel"));
  QVERIFY(!f.HasSetting("Backup/ComPort"));
  QVERIFY(!f.HasSetting("Backup/Language"));
}

void StartupTest::exitWritesTheSettingsBack() {
  AppFixture f;
  f.SetSetting("Backup/ComPort", 12);
  QVERIFY(f.Start());
  f.Exit();
  QCOMPARE(f.Setting("Backup/LastModel").toString(), QStringLiteral("4D:31:36:30:30:04:FF:FF"));
  QCOMPARE(f.Setting("Backup/ComPort").toInt(), 12);
  QCOMPARE(f.Setting("Backup/Language").toInt(), 1);
  QCOMPARE(f.Setting("Backup/LastFilePath").toString(), f.Path("home") + "/");
  QVERIFY(f.HasSetting("Backup/LastWinPos"));
}

void StartupTest::dataFolderDefaultsToTheProgramFolderOrItsDataFolder() {
  // Not the program's folder (read-only once installed): the documents
  // folder, or the home folder when there is none.
  {
    AppFixture f;
    QVERIFY(f.Start());
    QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("home") + "/");
  }
  {
    AppFixture f;
    QDir(f.Dir()).mkpath("home/Documents");
    QVERIFY(f.Start());
    QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("home/Documents") + "/");
  }
  {
    AppFixture f;
    QDir(f.Dir()).mkpath("bin/DATA");
    QVERIFY(f.Start());
    QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("bin/DATA") + "/");
  }
  {
    AppFixture f;
    f.SetSetting("Backup/LastFilePath", f.Path("elsewhere/"));
    QVERIFY(f.Start());
    QCOMPARE(QString::fromStdString(f.Ws().lastFilePath), f.Path("elsewhere/"));
  }
}

void StartupTest::storedLanguageChoosesTheColumn() {
  AppFixture f;
  f.SetSetting("Backup/Language", 2);
  QVERIFY(f.Start());
  QCOMPARE(QString::fromStdString(f.Ws().text.CurrentLanguage()), QStringLiteral("Spanish"));
  QCOMPARE(MenuTitles(f.Frame()).front(), QStringLiteral("S41"));
  QCOMPARE(f.Ws().helpFile, std::string("vb420Sp.chm"));
  f.Exit();
  QCOMPARE(f.Setting("Backup/Language").toInt(), 2);
}

void StartupTest::placementMaximisedWhenNoneIsStored() {
  AppFixture f;
  QVERIFY(f.Start());
  QVERIFY(f.Frame().windowState() & Qt::WindowMaximized);
  QVERIFY(f.Frame().isVisible());
}

void StartupTest::placementRestoresAStoredRectangle() {
  AppFixture f;
  f.SetSetting("Backup/LastWinPos", "0:1:-1:-1:-1:-1:40:30:640:510");
  QVERIFY(f.Start());
  QVERIFY(!(f.Frame().windowState() & Qt::WindowMaximized));
  QCOMPARE(f.Frame().geometry(), QRect(40, 30, 600, 480));
  f.Exit();
  QCOMPARE(f.Setting("Backup/LastWinPos").toString(), QStringLiteral("0:1:-1:-1:-1:-1:40:30:640:510"));
}

// A stored rectangle whose width or height no int holds is damaged: the
// window opens maximised, as with none.
void StartupTest::placementWithoutAWindowSizeIsIgnored() {
  QVERIFY(!ParseWindowPlacement("0:1:-1:-1:-1:-1:-2147483648:0:2147483647:600"));
  QVERIFY(!ParseWindowPlacement("0:1:-1:-1:-1:-1:0:-10:600:2147483647"));
  QVERIFY(ParseWindowPlacement("0:1:-1:-1:-1:-1:-1:0:2147483646:600"));
  AppFixture f;
  f.SetSetting("Backup/LastWinPos", "0:1:-1:-1:-1:-1:-2147483648:0:2147483647:600");
  QVERIFY(f.Start());
  QVERIFY(f.Frame().windowState() & Qt::WindowMaximized);
}

void StartupTest::minimisedFromMaximisedIsStoredAsMaximised() {
  AppFixture f;
  f.SetSetting("Backup/LastWinPos", "0:3:-1:-1:-1:-1:40:30:640:510");
  QVERIFY(f.Start());
  QVERIFY(f.Frame().windowState() & Qt::WindowMaximized);
  f.Frame().showMinimized();
  Settle();
  f.Exit();
  const QStringList fields = f.Setting("Backup/LastWinPos").toString().split(':');
  QCOMPARE(fields.size(), 10);
  QCOMPARE(fields[1], QStringLiteral("3"));       // shown maximised again
  QCOMPARE(fields[0].toInt() & 2, 2);             // restores to maximised
}

void StartupTest::closingAsksFirstAndCanBeRefused() {
  AppFixture f;
  QVERIFY(f.Start());
  f.prompter.Clear();
  // No to "exit?" keeps everything open.
  f.prompter.answers = {kIdNo};
  QVERIFY(!f.Frame().close());
  QVERIFY(f.Frame().isVisible());
  QCOMPARE(f.prompter.messages.size(), size_t(1));
  QCOMPARE(f.prompter.messages[0].text, QStringLiteral("E194"));
  QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("E195"));
  // Yes, then Cancel in the save-changes question for a changed image.
  f.Ws().data.Image().setU8(0x860, 'X');
  f.prompter.Clear();
  f.prompter.answers = {kIdYes, kIdCancel};
  QVERIFY(!f.Frame().close());
  QVERIFY(f.Frame().isVisible());
  QCOMPARE(f.prompter.MessageTexts(), QStringList({"E194", "E277 \"vb420.dat\" ?"}));
  QCOMPARE(f.Frame().Children().size(), size_t(1));
  QVERIFY(!f.HasSetting("Backup/LastWinPos"));
  // Yes, then No: closes without saving and stores the placement.
  f.prompter.answers = {kIdYes, kIdNo};
  QVERIFY(f.Frame().close());
  QVERIFY(f.HasSetting("Backup/LastWinPos"));
}

void StartupTest::zoneInformationOpensAfterStartup() {
  AppFixture f;
  QVERIFY(f.Start());
  const auto children = f.Frame().Children();
  QCOMPARE(children.size(), size_t(1));
  QVERIFY(children[0]->View()->Kind() == EditorKind::ZoneInfo);
  QCOMPARE(children[0]->windowTitle(), children[0]->View()->Title());
  QVERIFY(MenuTitles(f.Frame()).contains("E95"));
}

void StartupTest::splashShowsTextsAndAnyKeyClosesItWithoutRunningTheKey() {
  AppFixture f;
  QVERIFY(f.Start({}, true));
  QPointer<CSplashWnd> splash = f.Frame().Splash();
  QVERIFY(splash);
  QVERIFY(splash->isVisible());
  // The plain picture differs from the composed one where the texts are.
  const QImage plain = CSplashWnd::Picture(24).toImage();
  const QImage composed = splash->Composed().toImage();
  QCOMPARE(composed.size(), plain.size());
  for (int y : {80, 105, 140, 165, 200, 220, 240}) {
    bool differs = false;
    for (int x = 16; x < 300 && !differs; ++x)
      for (int dy = 2; dy < 16 && !differs; ++dy) differs = composed.pixel(x, y + dy) != plain.pixel(x, y + dy);
    QVERIFY2(differs, qPrintable(QStringLiteral("no text at height %1").arg(y)));
  }
  // F1 would open the help window; here it only closes the splash.
  QVERIFY(f.App().Help().Window() == nullptr);
  QTest::keyClick(&f.Frame(), Qt::Key_F1);
  Settle();
  QVERIFY(!splash || !splash->isVisible());
  QVERIFY(f.App().Help().Window() == nullptr);
  // Once it is gone the same key works.
  QTest::keyClick(&f.Frame(), Qt::Key_F1);
  QVERIFY(f.App().Help().Window() != nullptr);
}

namespace {

// The splash of a program started on the shipped texts in `language`.
struct ShippedSplash {
  QImage plain, composed;
  std::vector<CSplashWnd::Line> lines;
  QStringList texts;
};
ShippedSplash SplashOf(const char* language) {
  QFile lng(QString::fromStdString(::vb420::testsupport::ResourceDir() + "/vb420.lng"));
  lng.open(QIODevice::ReadOnly);
  TextTable text;
  text.LoadText(lng.readAll().toStdString(), language);
  CSplashWnd splash(text, 24);
  ShippedSplash out;
  out.composed = splash.Composed().toImage();
  out.plain = CSplashWnd::Picture(24, out.composed.height()).toImage();
  out.lines = splash.Lines();
  for (int e = 1; e <= 7; ++e) out.texts << QString::fromStdString(text.Text(e));
  return out;
}

}  // namespace

void StartupTest::splashLaysOutTheShippedTextsWholeInBothLanguages() {
  for (const char* language : {"English", "Spanish"}) {
    const ShippedSplash s = SplashOf(language);
    QCOMPARE(int(s.lines.size()), 7);
    const QFontMetrics fm(CSplashWnd::TextFont());
    const QRect picture = s.composed.rect();
    QRect previous;
    for (const CSplashWnd::Line& l : s.lines) {
      const QString where = QStringLiteral("%1 entry %2").arg(language).arg(l.entry);
      // Exactly the entry's text, nothing cut away.
      QCOMPARE(l.text, s.texts[l.entry - 1]);
      QVERIFY2(!l.text.isEmpty(), qPrintable(where));
      const QRect need = fm.boundingRect(l.rect, l.flags, l.text);
      QVERIFY2(l.rect.contains(need), qPrintable(where + " is clipped"));
      QVERIFY2(picture.contains(l.rect), qPrintable(where + " leaves the picture"));
      QVERIFY2(!l.rect.intersects(CSplashWnd::RadioRect()), qPrintable(where + " runs under the radio"));
      QVERIFY2(!previous.isValid() || l.rect.top() > previous.bottom(), qPrintable(where + " overlaps the one before"));
      previous = l.rect;
    }
    // The texts are where they were laid out, and nothing else is written
    // over the picture: outside the lines it is the plain picture.
    QCOMPARE(s.composed.size(), s.plain.size());
    for (int y = 0; y < s.composed.height(); ++y) {
      for (int x = 0; x < s.composed.width(); ++x) {
        bool inLine = false;
        for (const CSplashWnd::Line& l : s.lines) inLine = inLine || l.rect.adjusted(-1, 0, 1, 1).contains(x, y);
        if (!inLine && s.composed.pixel(x, y) != s.plain.pixel(x, y))
          QFAIL(qPrintable(QStringLiteral("%1: drawn outside the texts at %2,%3").arg(language).arg(x).arg(y)));
      }
    }
  }
  // The Spanish description keeps its end, which a fixed two-line box lost.
  const ShippedSplash es = SplashOf("Spanish");
  QVERIFY(es.lines[1].text.endsWith(" y PassPort)"));
  QVERIFY(es.lines[1].rect.height() >= 2 * QFontMetrics(CSplashWnd::TextFont()).height());
}

void StartupTest::splashMakesRoomForLongerTexts() {
  // Short texts stand at their usual heights, unless the face is taller
  // than the room between two of them: then each goes right below the one
  // before rather than over it.
  const QFont font = CSplashWnd::TextFont();
  const std::vector<QString> shortTexts{"a", "b", "c", "d", "e", "f", "g"};
  auto lines = CSplashWnd::Layout(shortTexts, font);
  const int tops[] = {80, 105, 140, 165, 200, 220, 240};
  QCOMPARE(lines[0].rect.top(), 80);
  for (size_t i = 1; i < lines.size(); ++i)
    QCOMPARE(lines[i].rect.top(), std::max(tops[i], lines[i - 1].rect.bottom() + 1));
  QCOMPARE(lines[1].rect.top(), 105);
  // A long description pushes everything below it down, and the picture
  // grows instead of cutting the last lines.
  std::vector<QString> longTexts = shortTexts;
  longTexts[1] = QString("word ").repeated(120).trimmed();
  lines = CSplashWnd::Layout(longTexts, font);
  QVERIFY(lines[1].rect.height() > 4 * QFontMetrics(font).height());
  for (size_t i = 2; i < lines.size(); ++i) QVERIFY(lines[i].rect.top() > lines[i - 1].rect.bottom());
  std::map<int, std::string> overrides = StandardOverrides();
  overrides[2] = longTexts[1].toStdString();
  TextTable text;
  QCOMPARE(int(text.LoadText(MakeLanguageFile(overrides), "English")), int(TextTable::LoadResult::Ok));
  CSplashWnd splash(text, 24);
  QVERIFY(splash.Composed().height() > CSplashWnd::Picture(24).height());
  QVERIFY(splash.Composed().rect().contains(splash.Lines().back().rect));
  QCOMPARE(splash.size(), splash.Composed().size());
}

VB420_QTEST(StartupTest)
#include "startup_test.moc"

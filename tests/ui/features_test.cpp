// SPDX-License-Identifier: GPL-3.0-or-later
// The radio-wide windows driven as a user drives them: Optional Features,
// Key Assignment with its front panel, the option board, Extended Function
// and Technician Setting. Typing, spinning, choosing and ticking, then the
// bytes of the image.
#include "support/Files.h"
#include "support/Paths.h"
#include <stdlib.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdio>
#include <ctime>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <iterator>

#include "UiTestSupport.h"
#include "data/ModelChange.h"
#include "editors/features/FeatureFields.h"
#include "editors/features/KeyFields.h"
#include "editors/features/OptBoardFields.h"
#include "editors/features/ui/FeatureViews.h"
#include "editors/features/ui/KeyViews.h"
#include "editors/forms/FieldSets.h"
#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FilterEdit.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "link/WriteValidation.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::test;

class FeaturesTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void typedNumbersAreClampedAndSharedBytesRewritten();
  void budgetLowersTheOtherBoxesAtOnce();
  void pagesFollowTheModel();
  void keyFunctionsAndHoldCompanions();
  void accessorySettingsAddAndRemoveKeyRows();
  void keyWindowEditsTheTableOfTheShownZone();
  void optionBoardRemovesFunctionsFromAnOpenKeyWindow();
  void systemTypeAsksAndCancelRestores();
  void extendedFunctionAndTechnicianSetting();
  void writeRefusesAKeyTheBoardCannotRun();
  void listingShowsWhatTheWindowShows();
  void timings();
  void screenshots();

 private:
  template <class V>
  V* Open(int command, EditorKind kind) { return OpenEditor<V>(*f_, command, kind); }
  static void Type(QWidget* w, const QString& text) {
    auto* e = qobject_cast<QLineEdit*>(w);
    QVERIFY(e);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    if (!text.isEmpty()) QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
  }
  static bool Choose(QWidget* w, const QString& text) {
    auto* c = qobject_cast<QComboBox*>(w);
    if (!c) return false;
    const int row = c->findText(text);
    if (row < 0) return false;
    c->setCurrentIndex(row);
    return true;
  }
  static QStringList Rows(QWidget* w) {
    QStringList out;
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
  }
  void SetModel(int model) {
    RadioData& d = f_->Ws().data;
    const int old = d.model.ModelNumber();
    ModelChangeFlags flags;
    flags.kind = (old >= 8) != (model >= 8);
    flags.generation = IsSecondGeneration(old) != IsSecondGeneration(model);
    ApplyModelChange(d, model, model == 9 || (model >= 4 && model <= 7) ? 0x06 : 0x04, flags, {});
  }
  uint8_t B(size_t off) { return f_->Ws().data.Image().u8(off); }
  uint16_t W(size_t off) { return f_->Ws().data.Image().u16le(off); }

  std::unique_ptr<AppFixture> f_;
};

void FeaturesTest::init() {
  f_ = std::make_unique<AppFixture>();
  QVERIFY(f_->Start());
}

void FeaturesTest::cleanup() { f_.reset(); }

void FeaturesTest::typedNumbersAreClampedAndSharedBytesRewritten() {
  auto* v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  QVERIFY(v);
  CFormRenderer* form = v->Form();
  QCOMPARE(form->CurrentPage(), 0);
  form->SetCurrentPage(1);
  Type(form->Control(1, 2), "35");
  QCOMPARE(B(0x171), uint8_t(31));
  QCOMPARE(qobject_cast<QLineEdit*>(form->Control(1, 2))->text(), QString("31"));
  // Sign and magnitude by the arrows.
  for (int i = 0; i < 2; ++i) QTest::mouseClick(form->Spin(1, 1)->Down(), Qt::LeftButton);
  QCOMPARE(B(0x170), uint8_t(0x82));
  QCOMPARE(qobject_cast<QLineEdit*>(form->Control(1, 1))->text(), QString("-2"));
  // The range pair: the upper bound follows the lower.
  Type(form->Control(1, 8), "10");
  Type(form->Control(1, 9), "5");
  QCOMPARE(B(0x16F), uint8_t(10));

  form->SetCurrentPage(0);
  auto* ignition = qobject_cast<QCheckBox*>(form->Control(0, 21));
  QVERIFY(!form->Control(0, 23)->isEnabled());
  QTest::mouseClick(ignition, Qt::LeftButton, {}, QPoint(5, ignition->height() / 2));
  QCOMPARE(B(0x19D) & 0x01, 0);
  QVERIFY(form->Control(0, 23)->isEnabled());
  QVERIFY(!form->Control(0, 10)->isEnabled());
  Type(form->Control(0, 23), "8");
  Type(form->Control(0, 24), "50");
  QCOMPARE(B(0x17A), uint8_t(48));
  QCOMPARE(qobject_cast<QLineEdit*>(form->Control(0, 24))->text(), QString("00"));
  // Length byte out of range: an empty box.
  f_->Ws().data.Image().setU8(0x142, 7);
  v->Refresh();
  QCOMPARE(qobject_cast<QComboBox*>(form->Control(0, 8)->parentWidget())->currentText(), QString());
  // The password button opens the dialog; its entries are stored with the model bits.
  // Typed as a user types: the boxes take digits only, six at most (the
  // radio's password prompts take nothing else).
  f_->prompter.dialogs.push_back([](QDialog& d) {
    auto* read = d.findChild<QLineEdit*>("readPassword");
    auto* overwrite = d.findChild<QLineEdit*>("overwritePassword");
    QTest::keyClicks(read, "AB12CD42");
    QTest::keyClicks(overwrite, "1234567");
    if (read->text() != "1242" || overwrite->text() != "123456") return int(QDialog::Rejected);
    return int(QDialog::Accepted);
  });
  QTest::mouseClick(qobject_cast<QPushButton*>(form->Control(0, 9)), Qt::LeftButton);
  QCOMPARE(B(0x149), uint8_t(4));
  QCOMPARE(B(0x14A), uint8_t('1'));
  QCOMPARE(B(0x150), uint8_t(6));
  QVERIFY(f_->Ws().data.model.ReadPasswordSet());
  // Reopened, the window starts on the first page again.
  form->SetCurrentPage(3);
  f_->Frame().CloseAllEditors();
  Settle();
  v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  QCOMPARE(v->Form()->CurrentPage(), 0);
}

void FeaturesTest::budgetLowersTheOtherBoxesAtOnce() {
  f_->Ws().data.Image().setU8(0x853, 0);
  auto* v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  CFormRenderer* form = v->Form();
  form->SetCurrentPage(6);
  QVERIFY(f_->prompter.MessageTexts().isEmpty());
  Type(form->Control(6, 3), "60");
  Type(form->Control(6, 2), "300");
  QCOMPARE(W(0x1B7), uint16_t(240));
  QCOMPARE(qobject_cast<QLineEdit*>(form->Control(6, 2))->text(), QString("240"));
  // Index 1: nothing is left, so a step clears it rather than break the budget.
  QTest::mouseClick(form->Spin(6, 1)->Up(), Qt::LeftButton);
  QCOMPARE(W(0x1B1), uint16_t(0xFFFF));
  // Lowering index 2 makes room at once: index 3's arrows now go to 90.
  Type(form->Control(6, 2), "210");
  QTest::mouseClick(form->Spin(6, 3)->Up(), Qt::LeftButton);
  QCOMPARE(W(0x1BD), uint16_t(90));
  QCOMPARE(qobject_cast<QLineEdit*>(form->Control(6, 3))->text(), QString("90"));
  QTest::mouseClick(form->Spin(6, 3)->Up(), Qt::LeftButton);
  QCOMPARE(W(0x1BD), uint16_t(0xFFFF));
  // The auto position report box follows index 2.
  QVERIFY(form->Control(6, 6)->isEnabled());
  Type(form->Control(6, 2), "");
  QVERIFY(!form->Control(6, 6)->isEnabled());
  // Without the data board the page is disabled and its tab tells why.
  f_->Ws().data.Image().setU8(0x853, 0xFF);
  form->SetCurrentPage(0);
  form->SetCurrentPage(6);
  QVERIFY(f_->prompter.MessageTexts().contains("E334"));
  QVERIFY(!form->Control(6, 2)->isEnabled());
}

void FeaturesTest::pagesFollowTheModel() {
  auto* v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  QVERIFY(v->Form()->Tabs()->isTabVisible(6));
  QVERIFY(Rows(v->Form()->Control(1, 22)).contains("E649"));
  SetModel(2);
  f_->Frame().RefreshAllEditors();
  QVERIFY(!v->Form()->Tabs()->isTabVisible(6));
  QVERIFY(!Rows(v->Form()->Control(1, 22)).contains("E649"));
  Type(v->Form()->Control(0, 0), "12");
  QCOMPARE(B(0x140), uint8_t(8));
}

void FeaturesTest::keyFunctionsAndHoldCompanions() {
  auto* v = Open<CKeyView>(kCmdKeys, EditorKind::Keys);
  QVERIFY(v);
  QCOMPARE(v->Tabs()->count(), 5);
  QWidget* s3 = v->KeyControl(3, 0);
  QVERIFY(s3);
  QVERIFY(!Rows(s3).contains("E1092"));  // battery check: portables only
  QVERIFY(Choose(s3, "E921"));
  const size_t rec = 0x5B0 + 8 * 3;
  QCOMPARE(B(rec + 2), uint8_t(21));
  QCOMPARE(W(rec + 4), uint16_t(3000));
  QCOMPARE(B(rec + 3), uint8_t(20));
  QVERIFY(Choose(v->KeyControl(3, 0), "E898"));  // manual dial: no companion
  QCOMPARE(B(rec + 2), uint8_t(0xFF));
  QCOMPARE(W(rec + 4), uint16_t(0xFFFF));
  QCOMPARE(B(rec + 0), uint8_t(18));
  // Emergency on the rear key clears and locks its second column.
  QVERIFY(Choose(v->KeyControl(2, 1), "E934"));
  QCOMPARE(B(0x5B0 + 16 + 1), uint8_t(1));
  QVERIFY(!Rows(v->KeyControl(3, 0)).contains("E942"));
  QVERIFY(Choose(v->KeyControl(2, 0), "E942"));
  QCOMPARE(B(0x5B0 + 16 + 1), uint8_t(0xFF));
  QVERIFY(!v->KeyControl(2, 1)->isEnabled());
  // The front panel lights the key whose list has the focus.
  QTest::mouseClick(v->PanelButton(), Qt::LeftButton);
  Settle();
  auto* image = qobject_cast<CKeyImageView*>(f_->Frame().FindEditor(EditorKind::KeyImage));
  QVERIFY(image);
  v->SelectKey(5);
  QCOMPARE(image->Panel()->SelectedKey(), 5);
  QVERIFY(!image->Panel()->KeyRect(5).isEmpty());
  QVERIFY(image->Panel()->KeyRect(10).isEmpty());  // no orange key on a mobile
}

void FeaturesTest::accessorySettingsAddAndRemoveKeyRows() {
  auto* v = Open<CKeyView>(kCmdKeys, EditorKind::Keys);
  CFormRenderer* setup = v->PageForm(0);
  QVERIFY(v->Pages()[2].keys.empty());
  QVERIFY(Choose(setup->Control(0, 0), "E896"));
  Settle();
  QCOMPARE(int(v->Pages()[2].keys.size()), 16);
  QVERIFY(v->KeyControl(24, 0));
  QVERIFY(Choose(v->PageForm(0)->Control(0, 0), "E895"));
  Settle();
  QCOMPARE(int(v->Pages()[2].keys.size()), 12);
  QVERIFY(!v->KeyControl(24, 0));
  QVERIFY(Choose(v->PageForm(0)->Control(0, 1), "E898"));
  Settle();
  QVERIFY(v->Pages()[2].keys.empty());
  QVERIFY(!v->KeyControl(11, 0));
  // Switching the model to a portable with the window open rebuilds its pages.
  SetModel(8);
  f_->Frame().RefreshAllEditors();
  QCOMPARE(v->Tabs()->count(), 6);
  QCOMPARE(v->Tabs()->tabText(1), QString("E885"));
  QVERIFY(v->KeyControl(10, 0));
  QVERIFY(!v->KeyControl(0, 0));
}

// An existing PassPort zone shown in Zone Information while the type kept
// for a zone not yet made is conventional: its keys are the PassPort table's.
// Showing a zone that does not exist goes back to the main table; the caption
// names the table either way.
void FeaturesTest::keyWindowEditsTheTableOfTheShownZone() {
  CZoneMemory& zones = ZonesOf(f_->Frame().Context()).zones;
  QCOMPARE(int(zones.CreateZone(1, '5')), 1);
  QCOMPARE(zones.PendingType(), uint8_t('1'));
  auto* info = qobject_cast<CZnInfoView*>(f_->Frame().FindEditor(EditorKind::ZoneInfo));
  QVERIFY(info);
  info->SetZone(1);
  auto* v = Open<CKeyView>(kCmdKeys, EditorKind::Keys);
  QVERIFY(v);
  auto* frame = qobject_cast<CChildFrame*>(v->parentWidget());
  QCOMPARE(frame->windowTitle(), QStringLiteral("E55 - E1310"));
  const size_t mainRec = 0x5B0 + 8 * 3, altRec = 0x5308 + 8 * 3;
  const uint8_t mainBefore = B(mainRec);
  QVERIFY(Choose(v->KeyControl(3, 0), "E898"));  // manual dial, code 18
  QCOMPARE(B(altRec), uint8_t(18));
  QCOMPARE(B(mainRec), mainBefore);
  // A zone that does not exist yet, of the kept conventional type.
  info->SetZone(0);
  Settle();
  QCOMPARE(frame->windowTitle(), QStringLiteral("E55 - E1309"));
  QVERIFY(Choose(v->KeyControl(4, 0), "E898"));
  QCOMPARE(B(0x5B0 + 8 * 4), uint8_t(18));
  QVERIFY(B(0x5308 + 8 * 4) != uint8_t(18));
}

void FeaturesTest::optionBoardRemovesFunctionsFromAnOpenKeyWindow() {
  SetModel(8);
  auto* ob = Open<COptBoardView>(kCmdExtFunction, EditorKind::OptionBoard);
  QVERIFY(ob);
  QVERIFY(Choose(ob->Form()->Control(0, 4), "E1149"));
  QCOMPARE(B(0x81C), uint8_t('3'));
  auto* keys = Open<CKeyView>(kCmdKeys, EditorKind::Keys);
  QVERIFY(Rows(keys->KeyControl(27, 0)).contains("E670"));
  QVERIFY(Choose(keys->KeyControl(27, 0), "E670"));
  QCOMPARE(B(0x5B0 + 8 * 27 + 2), uint8_t(72));
  QVERIFY(Choose(ob->Form()->Control(0, 4), "E1148"));
  QCOMPARE(DisplayedFirstFunction(f_->Ws().data, {}, 27), 0xFF);
  auto* c = qobject_cast<QComboBox*>(keys->KeyControl(27, 0));
  QCOMPARE(c->currentText(), QString("E362"));
  QVERIFY(!Rows(c).contains("E670"));
}

void FeaturesTest::systemTypeAsksAndCancelRestores() {
  SetModel(8);
  auto* ob = Open<COptBoardView>(kCmdExtFunction, EditorKind::OptionBoard);
  auto* system = qobject_cast<QComboBox*>(ob->Form()->Control(0, 0));
  QCOMPARE(Rows(system), (QStringList{"E362", "E366", "E1097", "E367"}));
  QVERIFY(!Rows(ob->Form()->Control(0, 1)).contains("E1144"));
  f_->prompter.answers.push_back(kIdCancel);
  QVERIFY(Choose(system, "E1097"));
  QCOMPARE(f_->prompter.messages.back().defaultAnswer, int(kIdCancel));
  QCOMPARE(B(0x853), uint8_t(0xFF));
  QCOMPARE(system->currentText(), QString("E362"));
  QVERIFY(Choose(system, "E1097"));  // OK this time
  QCOMPARE(B(0x853), uint8_t(0));
  QVERIFY(Rows(ob->Form()->Control(0, 1)).contains("E1144"));
  // Entering type 2 sets the PTT ID type to ANI; an open Optional Features shows it.
  auto* fv = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  QVERIFY(Choose(system, "E367"));
  QCOMPARE(B(0x180), uint8_t('2'));
  QCOMPARE(qobject_cast<QComboBox*>(fv->Form()->Control(2, 5))->currentText(), QString("E607"));
}

void FeaturesTest::extendedFunctionAndTechnicianSetting() {
  auto* ef = Open<CExtFuncView>(kCmdExtFunction, EditorKind::ExtFunction);
  QVERIFY(ef);
  QWidget* pin1 = ef->Form()->Control(0, optb::kExtFuncPin1);
  QVERIFY(Rows(pin1).contains("E661"));
  QVERIFY(!Rows(pin1).contains("E1092"));
  QVERIFY(Choose(pin1, "E661"));
  QCOMPARE(B(0x15A), uint8_t(49));
  Type(ef->Form()->Control(0, optb::kExtFuncZone1), "5");
  QCOMPARE(B(0x830), uint8_t(5));
  Type(ef->Form()->Control(0, optb::kExtFuncChannel1 + 15), "300");
  QCOMPARE(B(0x84F), uint8_t(250));
  // Mobiles choose the system type here; the data board asks first and is
  // not offered on the second generation.
  auto* system = qobject_cast<QComboBox*>(ef->Form()->Control(0, optb::kExtFuncSystem));
  f_->prompter.answers.push_back(kIdCancel);
  QVERIFY(Choose(system, "E1097"));
  QCOMPARE(B(0x853), uint8_t(0xFF));
  QVERIFY(Choose(system, "E366"));
  QCOMPARE(B(0x851), uint8_t(0));
  QVERIFY(!ef->Form()->Control(0, optb::kExtFuncPin1 + 1)->isEnabled());  // pin 2 unused with type 1
  SetModel(2);
  f_->Frame().RefreshAllEditors();
  QVERIFY(!Rows(system).contains("E1097"));
  SetModel(0);
  f_->Frame().RefreshAllEditors();
  // The connector byte is shown again when the system type lowers it.
  f_->Ws().data.Image().setU8(0x855, '2');
  f_->Ws().data.Image().setU8(0x851, 0);
  ef->Refresh();
  QCOMPARE(qobject_cast<QComboBox*>(ef->Form()->Control(0, optb::kExtFuncConnector))->currentText(), QString("E1144"));

  auto* sp = Open<CSpecialView>(kCmdTechSetting, EditorKind::TechSetting);
  QVERIFY(sp);
  QVERIFY(!sp->Form()->isEnabled());
  f_->prompter.answers.push_back(kIdCancel);
  QTest::mouseClick(sp->EnableBox(), Qt::LeftButton, {}, QPoint(5, sp->EnableBox()->height() / 2));
  QVERIFY(!sp->Form()->isEnabled());
  QTest::mouseClick(sp->EnableBox(), Qt::LeftButton, {}, QPoint(5, sp->EnableBox()->height() / 2));
  QVERIFY(sp->Form()->isEnabled());
  const auto& fields = sp->Form()->Pages()[0].fields;
  int at = -1;
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].key == "0x854") at = int(i);
  QVERIFY(at > 0);
  const std::vector<uint8_t> before = f_->Ws().data.buffers.ImageBytes();
  Type(sp->Form()->Control(0, at), "3c");
  QCOMPARE(B(0x854), uint8_t(0x3C));
  std::vector<uint8_t> after = f_->Ws().data.buffers.ImageBytes();
  after[0x854] = before[0x854];
  QVERIFY(after == before);
}

void FeaturesTest::writeRefusesAKeyTheBoardCannotRun() {
  SetModel(8);
  RadioData& d = f_->Ws().data;
  d.Image().setU8(0x81C, '3');
  QVERIFY(AssignKeyFunction(d, {}, 27, 0, 73));
  d.Image().setU8(0x81C, '1');  // byte by byte, as the memory viewer would
  const WriteValidationResult r = ValidateForWrite(d, f_->Ws().text);
  QCOMPARE(int(r.problems.size()), 1);
  QVERIFY(QString::fromStdString(r.problems[0].line).contains("E670"));
}

// What `vb420cli settings --editor features` prints is the listing of the
// field sets: on a new VT-1600 and VT-1602 each line's text is what the
// window's control shows for the same field, and the line is disabled
// exactly when the control is.
void FeaturesTest::listingShowsWhatTheWindowShows() {
  for (int model : {0, 2}) {
    f_->Frame().CloseAllEditors();
    Settle();
    SetModel(model);
    f_->Ws().data.Image().setU8(0x142, 3);  // a few values that are not the defaults
    f_->Ws().data.Image().setU8(0x170, 0x82);
    auto* v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
    CFormRenderer* form = v->Form();
    std::vector<forms::SettingLine> lines;
    QCOMPARE(forms::ListSettings(f_->Ws().data, f_->Ws().text, "features", lines), forms::SettingStatus::Ok);
    int compared = 0;
    for (const forms::SettingLine& l : lines) {
      int page = -1, index = -1, row = -1;
      char rest[16] = {};
      // The window places a control by its page and index: the field's
      // positional key.
      std::string positional;
      for (const forms::FieldDescriptor& d : FeatureFieldTable())
        if ("features." + d.key == l.key) positional = "features." + d.oldKey;
      const int n = std::sscanf(positional.c_str(), "features.%d.%d.%15s", &page, &index, rest);
      if (n == 3 && std::string(rest).find_first_not_of("0123456789") != std::string::npos) continue;  // passwords
      if (n == 3) row = std::atoi(rest) - 1;
      QVERIFY2(page >= 0 && index >= 0, l.key.c_str());
      if (page == 6 && model == 2) {
        QVERIFY(!form->Tabs()->isTabVisible(6));
        QVERIFY(!l.enabled);
        continue;
      }
      QWidget* w = form->Control(page, index);
      QVERIFY2(w, l.key.c_str());
      QString shown;
      bool enabled = w->isEnabled();
      if (auto* c = qobject_cast<QCheckBox*>(w)) shown = QString::fromStdString(f_->Ws().text.Text(c->isChecked() ? 370 : 371));
      else if (auto* c = qobject_cast<QComboBox*>(w)) shown = c->currentText();
      else if (auto* e = qobject_cast<QLineEdit*>(w)) shown = e->text();
      else if (auto* t = qobject_cast<QTableWidget*>(w)) {
        shown = t->item(row, 1)->text();
        enabled = t->isEnabled() && (t->item(row, 1)->flags() & Qt::ItemIsEnabled);
      }
      if (auto* e = qobject_cast<QLineEdit*>(w); e && qobject_cast<QComboBox*>(e->parentWidget()))
        shown = qobject_cast<QComboBox*>(e->parentWidget())->currentText();
      QCOMPARE(shown, QString::fromStdString(l.text));
      QVERIFY2(enabled == l.enabled, l.key.c_str());
      ++compared;
    }
    QVERIFY(compared > 90);
  }
}

// Wall-clock and this thread's CPU time (the machine may be shared).
struct Clock {
  QElapsedTimer wall;
  double cpu0 = 0;
  static double Cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
  }
  void Start() {
    wall.start();
    cpu0 = Cpu();
  }
  double WallMs() const { return wall.nsecsElapsed() / 1e6; }
  double CpuMs() const { return Cpu() - cpu0; }
};

void FeaturesTest::timings() {
  Clock c;
  c.Start();
  auto* v = Open<CFeatureView>(kCmdFeatures, EditorKind::Features);
  const double openWall = c.WallMs(), openCpu = c.CpuMs();
  c.Start();
  for (int p = 1; p < 7; ++p) v->Form()->SetCurrentPage(p);
  const double tabWall = c.WallMs() / 6, tabCpu = c.CpuMs() / 6;
  v->Form()->SetCurrentPage(1);
  c.Start();
  for (int i = 0; i < 50; ++i) QTest::mouseClick(v->Form()->Spin(1, 2)->Up(), Qt::LeftButton);
  const double spinWall = c.WallMs() / 50, spinCpu = c.CpuMs() / 50;
  c.Start();
  auto* k = Open<CKeyView>(kCmdKeys, EditorKind::Keys);
  const double keysWall = c.WallMs(), keysCpu = c.CpuMs();
  QVERIFY(k);
  qInfo("wall/CPU ms: open Optional Features %.1f/%.1f (menu command to shown window), tab switch %.2f/%.2f, "
        "spin step %.2f/%.2f, open Key Assignment %.1f/%.1f",
        openWall, openCpu, tabWall, tabCpu, spinWall, spinCpu, keysWall, keysCpu);
}

void FeaturesTest::screenshots() {
  const char* dir = getenv("VB420_SCREENSHOT_DIR");
  if (!dir || !*dir) QSKIP("VB420_SCREENSHOT_DIR not set");
  for (const char* lang : {"en", "es"}) {
    f_.reset();
    f_ = std::make_unique<AppFixture>();
    f_->languageText = ::vb420::testsupport::ShippedLanguageText();
    f_->SetSetting("Backup/Language", std::string(lang) == "es" ? 2 : 1);
    QVERIFY(f_->Start());
    f_->Frame().showNormal();
    f_->Frame().resize(1500, 950);
    f_->Ws().data.Image().setU8(0x853, 0);  // data board: page 6 enabled
    f_->Ws().data.Image().setU8(0x583, '2');
    f_->prompter.answers.clear();
    const QString base = QString(dir) + "/" + lang;
    auto* fv = qobject_cast<CFeatureView*>(f_->Frame().OpenEditor(EditorKind::Features));
    for (int p = 0; p < 7; ++p) {
      fv->Form()->SetCurrentPage(p);
      Settle();
      QTest::qWait(100);
      QVERIFY(fv->window()->grab().save(base + QString("-features-%1.png").arg(p)));
    }
    auto* kv = qobject_cast<CKeyView*>(f_->Frame().OpenEditor(EditorKind::Keys));
    for (int p = 0; p < kv->Tabs()->count(); ++p) {
      kv->Tabs()->setCurrentIndex(p);
      Settle();
      QTest::qWait(100);
      QVERIFY(kv->window()->grab().save(base + QString("-keys-mobile-%1.png").arg(p)));
    }
    kv->SelectKey(4);
    CEditorView* img = f_->Frame().OpenEditor(EditorKind::KeyImage);
    kv->SelectKey(4);
    Settle();
    QVERIFY(img->window()->grab().save(base + "-front-panel-mobile.png"));
    CEditorView* ef = f_->Frame().OpenEditor(EditorKind::ExtFunction);
    Settle();
    QVERIFY(ef->window()->grab().save(base + "-extfunc.png"));
    CEditorView* sp = f_->Frame().OpenEditor(EditorKind::TechSetting);
    Settle();
    QVERIFY(sp->window()->grab().save(base + "-special.png"));
    f_->Frame().CloseAllEditors();
    Settle();
    SetModel(8);
    f_->Ws().data.Image().setU8(0x583, '0');
    kv = qobject_cast<CKeyView*>(f_->Frame().OpenEditor(EditorKind::Keys));
    for (int p = 0; p < kv->Tabs()->count(); ++p) {
      kv->Tabs()->setCurrentIndex(p);
      Settle();
      QTest::qWait(100);
      QVERIFY(kv->window()->grab().save(base + QString("-keys-portable-%1.png").arg(p)));
    }
    img = f_->Frame().OpenEditor(EditorKind::KeyImage);
    kv->SelectKey(10);
    Settle();
    QVERIFY(img->window()->grab().save(base + "-front-panel-portable.png"));
    CEditorView* ob = f_->Frame().OpenEditor(EditorKind::OptionBoard);
    Settle();
    QVERIFY(ob->window()->grab().save(base + "-optboard.png"));
  }
}

VB420_QTEST(FeaturesTest)
#include "features_test.moc"

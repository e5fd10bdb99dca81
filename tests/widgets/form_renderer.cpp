// SPDX-License-Identifier: GPL-3.0-or-later
// The form renderer: tables in, widgets out, keys typed into them, bytes checked.
#include "data/RadioData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editors/forms/ui/FormRenderer.h"
#include "editors/grid/FilterEdit.h"
#include "WidgetTestUtil.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::forms;

namespace {

std::vector<FormPage> Pages() {
  FormPage p0;
  p0.tabEntry = 534;
  {
    FieldDescriptor d;  // 0: number 1..12, empty 0xFF
    d.labelEntry = 540;
    d.kind = ControlKind::EditSpin;
    d.field = ImageByte(0x140);
    d.encoding = Encoding::Number;
    d.minimum = 1;
    d.maximum = 12;
    d.emptyValue = 0xFF;
    d.emptyTextEntry = 362;
    p0.fields.push_back(d);
  }
  {
    FieldDescriptor d;  // 1: check box, checked stores 0
    d.labelEntry = 563;
    d.kind = ControlKind::Check;
    d.field = ImageWordBit(0x19C, 8);
    d.encoding = Encoding::Value;
    p0.fields.push_back(d);
  }
  {
    FieldDescriptor d;  // 2: list, only while the box is checked
    d.labelEntry = 564;
    d.kind = ControlKind::Combo;
    d.field = ImageByte(0x179);
    d.encoding = Encoding::Value;
    d.choices = {{617, '0', {}}, {616, '1', {}}};
    d.enabled = [](const FormContext& c) { return (c.data.buffers.Image().u16le(0x19C) & 0x100) == 0; };
    p0.fields.push_back(d);
  }
  {
    FieldDescriptor d;  // 3: a caption
    d.labelEntry = 558;
    d.kind = ControlKind::Caption;
    p0.fields.push_back(d);
  }
  {
    FieldDescriptor d;  // 4: rows that depend on the image, value kept elsewhere
    d.labelEntry = 569;
    d.kind = ControlKind::Combo;
    d.encoding = Encoding::Custom;
    d.dynamicChoices = [](const FormContext& c) {
      std::vector<Choice> rows{{362, 0xFF, {}}};
      for (int i = 1; i <= c.data.buffers.Image().u8(0x17E) && i < 10; ++i) rows.push_back({-1, i, "Entry " + std::to_string(i)});
      return rows;
    };
    d.customValue = [](const FormContext& c) { return int(c.data.buffers.Image().u8(0x17F)); };
    d.customStoreValue = [](FormContext& c, int v) { c.data.buffers.Image().setU8(0x17F, uint8_t(v)); };
    p0.fields.push_back(d);
  }
  FormPage p1;
  p1.tabEntry = 535;
  p1.shown = [](const FormContext& c) { return !c.IsSecondGen(); };
  {
    FieldDescriptor d;  // scaled seconds 0.50 .. 5.00
    d.labelEntry = 821;
    d.kind = ControlKind::EditSpin;
    d.field = ImageWord(0x6A7);
    d.encoding = Encoding::Scaled;
    d.scale = 1000;
    d.decimals = 2;
    d.minimum = 500;
    d.maximum = 5000;
    d.step = 50;
    p1.fields.push_back(d);
  }
  return {p0, p1};
}

}  // namespace

class FormRendererTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void typedNumbersSpinsAndEmptyValues() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    data.Image().setU8(0x140, 3);
    FormContext ctx{data, testing::NumberedTexts()};
    CFormRenderer form(ctx, Pages());
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.Tabs());
    QCOMPARE(form.Tabs()->tabText(0), QString("T534"));
    QCOMPARE(form.Label(0, 0)->text(), QString("T540"));
    auto* edit = qobject_cast<CFilterEdit*>(form.Control(0, 0));
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("3"));
    QCOMPARE(edit->InputMode(), int(kInputDigits));
    QSignalSpy stored(&form, &CFormRenderer::Stored);

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "15");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(data.Image().u8(0x140), 12);  // clamped to the range
    QCOMPARE(edit->text(), QString("12"));
    QCOMPARE(stored.count(), 1);

    QTest::keyClick(edit, Qt::Key_Up);  // beyond the maximum: the empty value
    QCOMPARE(data.Image().u8(0x140), 0xFF);
    QCOMPARE(edit->text(), QString("T362"));
    QTest::mouseClick(form.Spin(0, 0)->Up(), Qt::LeftButton);
    QCOMPARE(data.Image().u8(0x140), 1);
    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(data.Image().u8(0x140), 0xFF);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "7");
    QTest::keyClick(edit, Qt::Key_Tab);  // leaving the box stores too
    QCOMPARE(data.Image().u8(0x140), 7);
  }

  void enableRulesFollowEveryStore() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    ByteArea im = data.Image();
    im.setU16le(0x19C, 0xFFFF);
    im.setU8(0x179, '1');
    FormContext ctx{data, testing::NumberedTexts()};
    CFormRenderer form(ctx, Pages());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* check = qobject_cast<QCheckBox*>(form.Control(0, 1));
    auto* combo = qobject_cast<QComboBox*>(form.Control(0, 2));
    QVERIFY(check && combo);
    QVERIFY(!check->isChecked());
    QVERIFY(!combo->isEnabled());
    QCOMPARE(combo->currentText(), QString("T616"));
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Space);
    QCOMPARE(im.u16le(0x19C), 0xFEFF);  // checked stores 0
    QVERIFY(combo->isEnabled());
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(im.u8(0x179), '0');

    // Another window sets the bit again: the list greys and gives up the keyboard.
    im.setU16le(0x19C, 0xFFFF);
    form.Refresh();
    QVERIFY(!combo->isEnabled());
    QVERIFY(!check->isChecked());
    QWidget* f = QApplication::focusWidget();
    QVERIFY(f && f != combo && f->isEnabled());
  }

  void dynamicListsAndHiddenPages() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    ByteArea im = data.Image();
    im.setU8(0x17E, 2);
    im.setU8(0x17F, 2);
    FormContext ctx{data, testing::NumberedTexts()};
    CFormRenderer form(ctx, Pages());
    auto* list = qobject_cast<QComboBox*>(form.Control(0, 4));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentText(), QString("Entry 2"));
    list->setCurrentIndex(0);
    QCOMPARE(im.u8(0x17F), 0xFF);
    im.setU8(0x17E, 4);
    im.setU8(0x17F, 4);
    form.Refresh();
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->currentText(), QString("Entry 4"));
    QVERIFY(form.Tabs()->isTabVisible(1));
    data.model.SetModel(2);  // a second-generation model
    form.Refresh();
    QVERIFY(!form.Tabs()->isTabVisible(1));
  }

  void scaledDecimalsUseTheSeparator() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    data.field.SetDecimalSeparator(',');
    data.Image().setU16le(0x6A7, 1500);
    FormContext ctx{data, testing::NumberedTexts()};
    CFormRenderer form(ctx, Pages());
    form.show();
    form.SetCurrentPage(1);
    auto* edit = qobject_cast<CFilterEdit*>(form.Control(1, 0));
    QCOMPARE(edit->text(), QString("1,50"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "5.07");
    QCOMPARE(edit->text(), QString("5,07"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(data.Image().u16le(0x6A7), 5000);
    QCOMPARE(edit->text(), QString("5,00"));
  }
};

VB420_QTEST(FormRendererTest)
#include "form_renderer.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The field grid's editing protocol on a small list of its own: a number
// (stepped with Alt+Up/Down in its editor) and a two-row list that is
// enabled only while the number is not zero. Each row is two bytes of the
// test-frequency area.
// The programming first: its headers use names that Qt defines as macros.
#include "data/RadioData.h"

#include <QAction>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "data/ImageLayout.h"
#include "editors/grid/FieldGrid.h"
#include "editors/grid/FilterEdit.h"
#include "WidgetTestUtil.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;
using namespace vb420::forms;

namespace {

constexpr size_t kRows = img::kTestFreqs;

class TwoByteRows : public RecordLocator {
 public:
  long Locate(const FormContext& ctx, RecordBase base) const override {
    return base == RecordBase::ListRow ? static_cast<long>(kRows + 2 * static_cast<size_t>(ctx.cursor.record)) : -1;
  }
};

const std::vector<FieldDescriptor>& Fields() {
  static const std::vector<FieldDescriptor> t = [] {
    FieldRef level{.area = Area::Image, .offset = 0, .base = RecordBase::ListRow};
    FieldRef mode{.area = Area::Image, .offset = 1, .base = RecordBase::ListRow};
    std::vector<FieldDescriptor> v;
    v.push_back({.key = "level", .labelEntry = 360, .kind = ControlKind::EditSpin, .field = level,
                 .encoding = Encoding::Number, .minimum = 0, .maximum = 10, .inputMode = 2, .maxLength = 2});
    v.push_back({.key = "mode", .labelEntry = 361, .kind = ControlKind::Combo, .field = mode, .encoding = Encoding::Value,
                 .format = "", .choices = {{372, 0}, {373, 1}},
                 .enabled = [](const FormContext& c) {
                   const long at = c.locator->Locate(c, RecordBase::ListRow);
                   return at >= 0 && c.ImageByte(static_cast<uint32_t>(at)) != 0;
                 }});
    return v;
  }();
  return t;
}

}  // namespace

class FieldGridTest : public QObject {
  Q_OBJECT
  RadioData data{&testing::NumberedTexts()};
  QWidget* window = nullptr;
  CFieldGrid* grid = nullptr;

  uint8_t Byte(int row, int i) { return data.Image().u8(kRows + 2 * static_cast<size_t>(row - 1) + static_cast<size_t>(i)); }

 private Q_SLOTS:
  void init() {
    testing::FreshImage(data);
    for (size_t i = 0; i < 8; ++i) data.Image().setU8(kRows + i, 0);
    window = new QWidget;
    grid = new CFieldGrid(data, testing::NumberedTexts(), false, std::make_unique<TwoByteRows>(),
                          {{&Fields()[0], 80, kAlignRight}, {&Fields()[1], 80, kAlignCentre}}, 4, -1, window);
    (new QVBoxLayout(window))->addWidget(grid);
    window->show();
    QApplication::setActiveWindow(window);
    grid->setFocus();
    TakeNextStepName();
  }
  void cleanup() {
    delete window;
    window = nullptr;
  }

  void altArrowsStepTheNumberInItsEditor() {
    grid->SetCurrent(1, 1);
    QTest::keyClick(grid, Qt::Key_4);
    CFilterEdit* ed = grid->CellEdit();
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->accessibleName(), QString("T360"));  // announced by its heading
    QTest::keyClick(ed, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(int(Byte(1, 0)), 5);  // the typed 4, one step up
    QCOMPARE(ed->text(), QString("5"));
    QVERIFY(grid->EditorKindOpen());
    QTest::keyClick(ed, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(ed, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(int(Byte(1, 0)), 3);
    QCOMPARE(grid->Text(1, 1), QString("3"));
    QCOMPARE(TakeNextStepName(), QString("T360"));  // the undo step is named after the field
  }

  void aDisabledFieldIsGreyAndDoesNotOpen() {
    QVERIFY(grid->Model()->Greyed(2, 2));
    QVERIFY(!grid->Model()->Greyed(2, 1));
    grid->SetCurrent(2, 2);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->EditorKindOpen(), 0);
    data.Image().setU8(kRows + 2, 1);  // row 2's number
    grid->Refill();
    QVERIFY(!grid->Model()->Greyed(2, 2));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->EditorKindOpen(), int(CEditGrid::kDropList));
    QCOMPARE(grid->CellList()->accessibleName(), QString("T361"));
  }

  void spaceFlipsATwoRowListAndALetterNoRowStartsWithOpensNothing() {
    data.Image().setU8(kRows, 1);
    grid->Refill();
    grid->SetCurrent(1, 2);
    QCOMPARE(int(Byte(1, 1)), 0);
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(int(Byte(1, 1)), 1);
    QCOMPARE(grid->Text(1, 2), QString("T373"));
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(int(Byte(1, 1)), 0);
    QTest::keyClick(grid, Qt::Key_Q);  // no row starts with "q"
    QCOMPARE(grid->EditorKindOpen(), 0);
    QTest::keyClick(grid, Qt::Key_T);  // both rows do: the first is picked, not stored yet
    QCOMPARE(grid->EditorKindOpen(), int(CEditGrid::kDropList));
    QCOMPARE(int(Byte(1, 1)), 0);
  }

  // Keys the window claims reach its commands even when another action of
  // the window has the same shortcut.
  void claimedKeysReachTheWindowsCommands() {
    auto* other = new QAction(window);
    other->setShortcuts({QKeySequence::Copy, QKeySequence::Paste});
    window->addAction(other);
    QSignalSpy stolen(other, &QAction::triggered);
    std::vector<int> ran;
    grid->ClaimCommands({kCmdGridCopy, kCmdGridPaste, kCmdGridDelete}, [&ran](int cmd) { ran.push_back(cmd); });
    grid->SetCurrent(1, 1);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(stolen.count(), 0);
    QCOMPARE(ran, (std::vector<int>{kCmdGridCopy, kCmdGridPaste}));
    // Delete on a cell empties it through the field's rule; on whole rows it
    // is the window's command.
    data.Image().setU8(kRows, 7);
    grid->Refill();
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(int(Byte(1, 0)), 0);  // the number's empty text stores its minimum
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(ran.back(), kCmdGridDelete);
  }
};

VB420_QTEST(FieldGridTest)
#include "field_grid.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The editing grid and its in-cell editors, driven with keys and the mouse.
#include "data/RadioData.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

#include "editors/grid/DialogHelper.h"
#include "editors/grid/EditGrid.h"
#include "editors/grid/FilterEdit.h"
#include "editors/grid/ToneCombo.h"
#include "WidgetTestUtil.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;

namespace {

const ColumnDescriptor kColumns[] = {
    {359, 30, kAlignCentre, 1}, {382, 80, kAlignRight, 1}, {383, 80, kAlignRight, 1}, {386, 115, kAlignLeft, 0},
};

}  // namespace

class EditGridTest : public QObject {
  Q_OBJECT

 private:
  // A grid of 251 rows (header and 250 records) and 4 columns in a shown window.
  struct Fixture {
    QWidget window;
    CEditGrid* grid;
    Fixture() {
      window.resize(420, 300);
      grid = new CEditGrid(&window);
      grid->setGeometry(0, 0, 420, 300);
      grid->SetTextTable(&testing::NumberedTexts());
      grid->SetSize(251, 4);
      grid->SetupColumns(kColumns, 0, 4);
      grid->NumberRows(1);
      grid->SetWrapNavigation(true);
      window.show();
      grid->setFocus();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
  };

 private Q_SLOTS:
  void decimalModeTakesOneLocaleSeparator() {
    CFilterEdit e;
    e.SetInputMode(kInputDecimal);
    e.SetDecimalSeparator(',');
    QTest::keyClicks(&e, "146.5");
    QCOMPARE(e.text(), QString("146,5"));
    QTest::keyClicks(&e, ",2.");  // a second separator is refused either way
    QCOMPARE(e.text(), QString("146,52"));
    QTest::keyClicks(&e, "x-");
    QCOMPARE(e.text(), QString("146,52"));
    // With the selection covering the separator a new one may replace it.
    e.setSelection(3, 1);
    QTest::keyClick(&e, '.');
    QCOMPARE(e.text(), QString("146,52"));
    e.setSelection(4, 1);  // covers a digit only
    QTest::keyClick(&e, ',');
    QCOMPARE(e.text(), QString("146,52"));
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClick(&e, Qt::Key_Backspace);
    QCOMPARE(e.text(), QString("146,5"));
  }

  void lettersAreUpperCasedAndFiltered() {
    CFilterEdit name;
    name.SetInputMode(kInputName);
    QTest::keyClicks(&name, "ch 1#a!?");
    QCOMPARE(name.text(), QString("CH 1#A"));

    CFilterEdit hex;
    hex.SetInputMode(kInputHex);
    QTest::keyClicks(&hex, "0afg9z");
    QCOMPARE(hex.text(), QString("0AF9"));

    CFilterEdit dtmf;
    dtmf.SetInputMode(kInputDtmf);
    QTest::keyClicks(&dtmf, "12abde*#");
    QCOMPARE(dtmf.text(), QString("12ABD*#"));

    CFilterEdit a;
    a.SetInputMode(kInputDigitsA);
    QTest::keyClicks(&a, "12a3a");
    QCOMPARE(a.text(), QString("12A3"));  // "A" only at the end and only once

    CFilterEdit option;
    option.SetInputMode(kInputOptionDigits);
    option.SetOptionWords({"Off", "Continuous"});
    QTest::keyClicks(&option, "12oc");
    QCOMPARE(option.text(), QString("12O"));

    CFilterEdit nothing;
    nothing.SetInputMode(kInputNothing);
    nothing.setText("AB");
    QTest::keyClicks(&nothing, "1");
    QTest::keyClick(&nothing, Qt::Key_Backspace);
    QCOMPARE(nothing.text(), QString("AB"));
  }

  void toneComboTakesFiveToneCharacters() {
    RadioData data(&testing::NumberedTexts());
    CToneCombo combo;
    combo.Fill(data.field, testing::NumberedTexts());
    QCOMPARE(combo.count(), kToneListRows);
    QCOMPARE(combo.itemText(0), QString("T362"));
    combo.show();
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), "d023n");
    QCOMPARE(combo.currentText(), QString("D023N"));
    QTest::keyClick(combo.lineEdit(), '1');  // at most 5 characters
    QCOMPARE(combo.currentText(), QString("D023N"));
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), "67,0x");
    QCOMPARE(combo.currentText(), QString("67.0"));
  }

  void headerAndNumbering() {
    Fixture f;
    QCOMPARE(f.grid->Text(0, 1), QString("T382"));
    QCOMPARE(f.grid->Text(250, 0), QString("250"));
    QCOMPARE(f.grid->columnWidth(3), 115);
    // Column 3 has no proportional-font flag: the platform's fixed face.
    const QFont font = f.grid->Model()->index(0, 3).data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.family(), GridFixedFont().family());
    // What the user sees: every character of the column advances alike.
    QVERIFY(HasEqualAdvances(font));
    const QFontMetricsF m(font);
    QCOMPARE(m.horizontalAdvance('i'), m.horizontalAdvance('W'));
    QCOMPARE(m.horizontalAdvance('i'), m.horizontalAdvance('0'));
    QVERIFY(!f.grid->Model()->index(0, 1).data(Qt::FontRole).isValid());
    QCOMPARE(f.grid->Row(), 1);
    QCOMPARE(f.grid->Col(), 1);
  }

  void wrapNavigation() {
    Fixture f;
    QTest::keyClick(f.grid, Qt::Key_Left);  // first cell: nothing
    QCOMPARE(f.grid->Row(), 1);
    QCOMPARE(f.grid->Col(), 1);
    f.grid->SetCurrent(5, 3);
    QTest::keyClick(f.grid, Qt::Key_Right);
    QCOMPARE(f.grid->Row(), 6);
    QCOMPARE(f.grid->Col(), 1);
    QTest::keyClick(f.grid, Qt::Key_Left);
    QCOMPARE(f.grid->Row(), 5);
    QCOMPARE(f.grid->Col(), 3);
    f.grid->SetCurrent(250, 3);
    QTest::keyClick(f.grid, Qt::Key_Right);  // last cell: nothing
    QCOMPARE(f.grid->Row(), 250);
    QCOMPARE(f.grid->Col(), 3);
    f.grid->SetWrapNavigation(false);
    f.grid->SetCurrent(5, 3);
    QTest::keyClick(f.grid, Qt::Key_Right);
    QCOMPARE(f.grid->Row(), 5);
  }

  void rowSelection() {
    Fixture f;
    f.grid->SetCurrent(3, 2);
    QTest::keyClick(f.grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(f.grid, Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(f.grid->RowSelectState());
    QCOMPARE(f.grid->Col(), 1);
    int first = 0, last = 0;
    f.grid->SelectedRows(first, last);
    QCOMPARE(first, 3);
    QCOMPARE(last, 5);
    QVERIFY(f.grid->selectionModel()->isRowSelected(3, QModelIndex()));
    QVERIFY(f.grid->PopupAllowed(4));
    QVERIFY(!f.grid->PopupAllowed(6));
    QVERIFY(!f.grid->PopupAllowed(0));
    QTest::keyClick(f.grid, Qt::Key_Up, Qt::ShiftModifier);
    f.grid->SelectedRows(first, last);
    QCOMPARE(last, 4);
    QTest::keyClick(f.grid, Qt::Key_Right);  // switches the highlight off
    QVERIFY(!f.grid->RowSelectState());
    QVERIFY(!f.grid->PopupAllowed(4));

    // A click on the record number selects the row; a click on a cell ends it.
    f.grid->SetTopRow(1);
    const QRect r0 = f.grid->visualRect(f.grid->Model()->index(1, 0));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, r0.center());
    QVERIFY(f.grid->RowSelectState());
    QCOMPARE(f.grid->Row(), 2);
    QCOMPARE(f.grid->Col(), 1);
    const QRect r1 = f.grid->visualRect(f.grid->Model()->index(3, 0));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, r1.center());
    f.grid->SelectedRows(first, last);
    QCOMPARE(first, 2);
    QCOMPARE(last, 4);
    const QRect cell = f.grid->visualRect(f.grid->Model()->index(5, 2));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(!f.grid->RowSelectState());
    QCOMPARE(f.grid->Row(), 6);
    QCOMPARE(f.grid->Col(), 2);

    // All rows selected: the header row counts for the menu.
    f.grid->SelectRows(1, 250);
    QVERIFY(f.grid->PopupAllowed(0));
  }

  void popupMenuRules() {
    Fixture f;
    std::unique_ptr<QMenu> shortMenu(f.grid->BuildPopupMenu(false, false, false));
    auto acts = shortMenu->actions();
    QCOMPARE(acts.size(), 3);
    QCOMPARE(acts[0]->text(), QString("T104"));
    QCOMPARE(acts[0]->data().toInt(), kCmdGridCopy);
    QVERIFY(acts[0]->isEnabled());
    QVERIFY(!acts[1]->isEnabled());  // nothing to paste
    QVERIFY(acts[2]->isEnabled());
    std::unique_ptr<QMenu> noCopy(f.grid->BuildPopupMenu(false, true, true));
    acts = noCopy->actions();
    QVERIFY(!acts[0]->isEnabled());
    QVERIFY(!acts[1]->isEnabled());
    std::unique_ptr<QMenu> longMenu(f.grid->BuildPopupMenu(true, true, true));
    acts = longMenu->actions();
    QCOMPARE(acts.size(), 6);
    QVERIFY(acts[0]->isEnabled());  // the copy ban applies to the short menu only
    QVERIFY(acts[3]->isSeparator());
    QCOMPARE(acts[4]->data().toInt(), kCmdGridToClip);
    QCOMPARE(acts[5]->data().toInt(), kCmdGridToClipTitle);
  }

  void clipboardRetries() {
    int calls = 0;
    QVERIFY(PutClipboardText("a\tb", [&](const QString& t) {
      ++calls;
      return calls == 2 && t == "a\tb";  // busy at the first attempt
    }));
    QCOMPARE(calls, 2);
    calls = 0;
    QVERIFY(!PutClipboardText("x", [&](const QString&) {
      ++calls;
      return false;
    }));
    QCOMPARE(calls, 3);
  }

  void editorsOpenOnlyOnDataCellsAndCoverThem() {
    Fixture f;
    CFilterEdit edit;
    f.grid->SetCurrent(2, 2);
    f.grid->SetText(2, 2, "146.52000");
    QCOMPARE(f.grid->ShowEdit(&edit, f.grid->Text(2, 2), true), 1);
    QCOMPARE(f.grid->EditorKindOpen(), int(CEditGrid::kEditBox));
    QCOMPARE(f.grid->SavedCellText(), QString("146.52000"));
    QCOMPARE(f.grid->Text(2, 2), QString());  // blanked under the editor
    QCOMPARE(edit.selectedText(), QString("146.52000"));
    QVERIFY(edit.hasFocus());
    const QRect cell = f.grid->visualRect(f.grid->Model()->index(1, 2));
    QVERIFY(edit.geometry().intersects(cell));
    QVERIFY(cell.adjusted(0, 0, -1, -1).contains(edit.geometry()));
    QVERIFY(edit.geometry().width() >= cell.width() - 2);
    // Escape handed back: the owner cancels and the old text returns.
    QSignalSpy keys(f.grid, &CEditGrid::EditorKey);
    QTest::keyClick(&edit, Qt::Key_Escape);
    QCOMPARE(keys.count(), 1);
    QCOMPARE(keys.at(0).at(0).toInt(), int(Qt::Key_Escape));
    f.grid->CancelEdit();
    QCOMPARE(f.grid->Text(2, 2), QString("146.52000"));
    QVERIFY(!edit.isVisible());
    QCOMPARE(f.grid->HideEditor(false), 0);

    // Edit box with a button: the button sits at the cell's right end.
    QPushButton button;
    QCOMPARE(f.grid->ShowEdit(&edit, "x", false, &button), 1);
    QCOMPARE(f.grid->EditorKindOpen(), int(CEditGrid::kEditButton));
    QCOMPARE(button.geometry().left(), edit.geometry().right() + 1);
    QCOMPARE(button.width(), 18);
    f.grid->HideEditor(true);
    QVERIFY(!button.isVisible());
    QCOMPARE(edit.text(), QString());
  }

  void comboEditorsSelectByTextAndFollowScrolling() {
    Fixture f;
    QComboBox list;
    list.addItems({"T362", "T405", "T406"});
    f.grid->SetCurrent(3, 3);
    QCOMPARE(f.grid->ShowList(&list, "not there", true), 1);
    QCOMPARE(list.currentIndex(), -1);
    f.grid->HideEditor(false);
    f.grid->SetText(3, 3, "T405");
    f.grid->ShowList(&list, f.grid->Text(3, 3), true);
    QCOMPARE(list.currentIndex(), 1);
    const QRect before = list.geometry();
    QVERIFY(before.top() >= 0);
    // Scrolled out of view: parked off-screen; scrolled back: over the cell.
    f.grid->SetTopRow(100);
    QCOMPARE(list.geometry().topLeft(), QPoint(-1024, -1024));
    QCOMPARE(list.width(), 0);
    f.grid->SetTopRow(1);
    QCOMPARE(list.geometry(), before);
    f.grid->HideEditor(false);

    QComboBox combo;
    combo.setEditable(true);
    combo.addItems({"67.0", "69.3"});
    QCOMPARE(f.grid->ShowCombo(&combo, "D023N", false), 1);
    QCOMPARE(combo.currentText(), QString("D023N"));
    f.grid->HideEditor(false);
  }

  void enterReleasedAndAdvance() {
    Fixture f;
    QSignalSpy enter(f.grid, &CEditGrid::EnterPressed);
    f.grid->SetCurrent(1, 1);
    QTest::keyClick(f.grid, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    f.grid->Advance(1);
    QCOMPARE(f.grid->Col(), 2);
    f.grid->Advance(5);  // 3 data columns a row: two rows on
    QCOMPARE(f.grid->Row(), 3);
    QCOMPARE(f.grid->Col(), 1);
    // Shift held: nothing moves and Enter is swallowed until it is released.
    f.grid->Advance(1, Qt::ShiftModifier);
    QCOMPARE(f.grid->Col(), 1);
    QVERIFY(!f.grid->EnterReleased());
    QTest::keyPress(f.grid, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QTest::keyRelease(f.grid, Qt::Key_Return);
    QVERIFY(f.grid->EnterReleased());
    QTest::keyClick(f.grid, Qt::Key_Return);
    QCOMPARE(enter.count(), 2);
    // Past the last row nothing moves.
    f.grid->SetCurrent(250, 3);
    f.grid->Advance(1);
    QCOMPARE(f.grid->Row(), 250);
    QVERIFY(!f.grid->EnterReleased());
  }

  void pagingAndWheel() {
    Fixture f;
    const int pr = f.grid->PageRows();
    QVERIFY(pr > 3 && pr < 20);
    f.grid->SetCurrent(2, 2);
    QSignalSpy notes(f.grid, &CEditGrid::Notify);
    QTest::keyClick(f.grid, Qt::Key_PageDown);
    QCOMPARE(f.grid->TopRow(), 1 + pr);
    QCOMPARE(f.grid->Row(), 2 + pr);
    QCOMPARE(f.grid->Col(), 2);
    QVERIFY(notes.count() >= 1);
    QCOMPARE(notes.last().at(0).toInt(), 2);
    QCOMPARE(notes.last().at(1).toInt(), int(Qt::Key_PageDown));
    QTest::keyClick(f.grid, Qt::Key_PageUp);
    QCOMPARE(f.grid->TopRow(), 1);
    QCOMPARE(f.grid->Row(), 2);

    // One wheel notch scrolls three rows, with Control a page.
    const QPoint at = f.grid->viewport()->rect().center();
    QWheelEvent down(at, f.grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.grid->viewport(), &down);
    QCOMPARE(f.grid->TopRow(), 4);
    QWheelEvent pageDown(at, f.grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.grid->viewport(), &pageDown);
    QCOMPARE(f.grid->TopRow(), 4 + pr);
    QWheelEvent up(at, f.grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 1200), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.grid->viewport(), &up);
    QCOMPARE(f.grid->TopRow(), 1);
  }

  void lazyRowsAreFilledWhenRead() {
    Fixture f;
    int filled = 0;
    f.grid->Model()->SetRowFiller([&](int row, std::vector<QString>& cells) {
      ++filled;
      cells[1] = QString("r%1").arg(row);
    });
    f.grid->Model()->RefillAll();
    QCOMPARE(f.grid->Text(200, 1), QString("r200"));
    const int afterOne = filled;
    QCOMPARE(f.grid->Text(200, 2), QString());
    QCOMPARE(filled, afterOne);  // the row is kept until refilled
    f.grid->Model()->RefillRow(200);
    QCOMPARE(f.grid->Text(200, 1), QString("r200"));
    QCOMPARE(filled, afterOne + 1);
  }

  void dialogHelperCombos() {
    QWidget parent;
    QComboBox combo(&parent);
    CDialogHelper::Instance().FillCombo(&combo, {{362, 0xFF}, {405, '0'}}, testing::NumberedTexts());
    QCOMPARE(combo.itemText(1), QString("T405"));
    QCOMPARE(CDialogHelper::RowOfValue(&combo, '0'), 1);
    QLineEdit over(&parent);
    over.setGeometry(10, 20, 100, 20);
    parent.show();
    CDialogHelper::Instance().PlaceCombo(&combo, &over, "T405", false);
    QVERIFY(over.isHidden());
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(combo.x(), 10);
    CDialogHelper::Instance().ReleaseCombo(&combo, &over, true);
    QVERIFY(!over.isHidden());
    QVERIFY(!combo.isEnabled());
    QCOMPARE(combo.currentIndex(), -1);
    int opened = -1;
    CDialogHelper::Instance().SetHelpOpener([&](int c) { opened = c; });
    CDialogHelper::Instance().OpenHelp(&parent, 0x31000);
    QCOMPARE(opened, 0x31000);
  }

  void editBoxFollowsItsCellWhenTheScrollEnds() {
    Fixture f;
    CFilterEdit edit;
    f.grid->SetCurrent(6, 1);
    f.grid->SetText(6, 1, "151.625");
    f.grid->ShowEdit(&edit, f.grid->Text(6, 1), true);
    QTest::keyClicks(&edit, "4");
    const QRect before = edit.geometry();
    auto cellRect = [&f] { return f.grid->visualRect(f.grid->Model()->index(5, 1)).adjusted(0, 0, -1, -1); };
    QCOMPARE(before, cellRect());
    // Dragging the thumb: the box stays where it was...
    QScrollBar* bar = f.grid->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setValue(2);
    QCOMPARE(f.grid->TopRow(), 3);
    QCOMPARE(edit.geometry(), before);
    // ...and moves onto the cell, three rows higher, when it is released.
    bar->setSliderDown(false);
    QCOMPARE(edit.geometry(), cellRect());
    QCOMPARE(edit.geometry().top(), before.top() - 2 * f.grid->RowHeight());
    // Released with the cell out of view: parked off-screen, text kept.
    bar->setSliderDown(true);
    bar->setValue(100);
    bar->setSliderDown(false);
    QCOMPARE(edit.geometry(), QRect(-1024, -1024, 0, 0));
    QCOMPARE(edit.text(), QString("4"));
    // A step without a drag (arrow, wheel) is a whole scroll: it follows at once.
    f.grid->SetTopRow(4);
    QCOMPARE(edit.geometry(), cellRect());
    QVERIFY(edit.hasFocus());
    f.grid->HideEditor(false);
  }

  void fitToRowsShowsWholeRowsAndMovesItsNeighbours() {
    Fixture f;
    QPushButton right(&f.window), below(&f.window);
    f.grid->setGeometry(10, 10, 300, 200);
    right.setGeometry(320, 20, 60, 24);    // 10 right of the grid
    below.setGeometry(10, 220, 100, 24);   // 10 below it
    f.grid->MoveRelative(&right, CEditGrid::kAnchorRight);
    f.grid->MoveRelative(&below, CEditGrid::kAnchorTop | CEditGrid::kAnchorBottom);
    f.grid->SetHomeRect(QRect(10, 10, 300, 200));
    f.grid->FitToRows();
    // As wide as the columns and a scroll bar; cut to the last whole row.
    int columns = 0;
    for (int c = 0; c < f.grid->Cols(); ++c) columns += f.grid->columnWidth(c);
    QCOMPARE(f.grid->width(), f.grid->FullWidth());
    QVERIFY(f.grid->width() > columns);
    QVERIFY(f.grid->height() <= 200);
    const int rows = (f.grid->height() - f.grid->HeightForRows(0)) / f.grid->RowHeight();
    QCOMPARE(f.grid->height(), f.grid->HeightForRows(rows));
    QVERIFY(200 - f.grid->height() < f.grid->RowHeight());
    QCOMPARE(f.grid->PageRows(), rows);
    QCOMPARE(right.x(), f.grid->geometry().right() + 11);
    QCOMPARE(right.y(), 20);
    QCOMPARE(below.y(), f.grid->geometry().bottom() + 11);
    QCOMPARE(below.height(), 24);
    // A grid whose rows all fit keeps the height of its home rectangle.
    f.grid->SetSize(4, 4);
    f.grid->SetupColumns(kColumns, 0, 4);
    f.grid->FitToRows();
    QCOMPARE(f.grid->height(), 200);
    QCOMPARE(below.y(), 220);  // back where it started
  }

  // Grid lines in the mid tone of the grid's palette, drawn without a style
  // sheet: a sheet would put the grid's scroll bars, header and in-cell
  // editors under Qt's slow style-sheet style.
  void gridLinesTakeThePalettesMidTone() {
    Fixture f;
    QStyleOptionViewItem option;
    option.initFrom(f.grid);
    QCOMPARE(static_cast<QRgb>(f.grid->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, f.grid)),
             f.grid->palette().color(QPalette::Mid).rgba());
    QCOMPARE(f.grid->verticalScrollBar()->style(), QApplication::style());
    QCOMPARE(f.grid->horizontalHeader()->style(), QApplication::style());
  }

  void disabledLookGreysTheFixedCellsAndTexts() {
    Fixture f;
    f.grid->SetText(1, 1, "146.52000");
    const QModelIndex cell = f.grid->Model()->index(0, 1), fixed = f.grid->Model()->index(0, 0);
    QVERIFY(!f.grid->Model()->data(cell, Qt::ForegroundRole).isValid());
    const QBrush enabledFixed = f.grid->Model()->data(fixed, Qt::BackgroundRole).value<QBrush>();
    f.grid->SetEnabledLook(false);
    QVERIFY(!f.grid->EnabledLook());
    QCOMPARE(f.grid->Model()->data(cell, Qt::ForegroundRole).value<QBrush>().color(),
             QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    QVERIFY(f.grid->Model()->data(fixed, Qt::BackgroundRole).value<QBrush>() != enabledFixed);
    QCOMPARE(f.grid->horizontalHeader()->palette().color(QPalette::ButtonText),
             f.grid->palette().color(QPalette::Disabled, QPalette::Text));
    f.grid->SetEnabledLook(true);
    QVERIFY(!f.grid->Model()->data(cell, Qt::ForegroundRole).isValid());
    QCOMPARE(f.grid->Model()->data(fixed, Qt::BackgroundRole).value<QBrush>(), enabledFixed);
  }
};

VB420_QTEST(EditGridTest)
#include "edit_grid.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The tone combo box takes a typed text as typed: no inline completion from
// the list, and the edit part knows whether its text was typed or set from
// the list. (The zone and channel number combo is tested with the zone
// editors, tests/ui/number_combo_test.cpp.)
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "editors/grid/FilterEdit.h"
#include "editors/grid/FitCombo.h"
#include "editors/grid/ToneCombo.h"
#include "WidgetTestUtil.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;

class CombosTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void toneComboKeepsPartlyTypedTones() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    CToneCombo combo;
    combo.Fill(data.field, testing::NumberedTexts());
    combo.show();
    QVERIFY(!combo.completer());
    // Each of these starts a list row ("71.9", "110.9", "151.4", "203.5").
    for (const char* typed : {"71", "110", "15", "2"}) {
      combo.lineEdit()->clear();
      combo.lineEdit()->setFocus();
      QTest::keyClicks(combo.lineEdit(), QString::fromLatin1(typed));
      QCOMPARE(combo.currentText(), QString::fromLatin1(typed));
      QVERIFY(combo.Edit()->UserTyped());
    }
    // A row set by the program (or chosen from the list) is not typed text.
    combo.setCurrentIndex(combo.findText(QStringLiteral("71.9")));
    QCOMPARE(combo.currentText(), QStringLiteral("71.9"));
    QVERIFY(!combo.Edit()->UserTyped());
    // Typed again, even to the very text of a row: typed.
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("74.4"));
    QVERIFY(combo.Edit()->UserTyped());
  }

  // The fitting box measures as a box that adjusts to its contents, follows
  // its items as they change, and builds its pop-up only when it opens.
  void fitComboIsAsWideAsItsItemsAndBuildsItsListWhenOpened() {
    QWidget window;
    CFitCombo fit(&window);
    QComboBox qt(&window);
    qt.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QCOMPARE(fit.sizeHint(), qt.sizeHint());  // empty
    for (QComboBox* c : {static_cast<QComboBox*>(&fit), &qt}) c->addItems({"Off", "Monitor", "Talk Around"});
    QCOMPARE(fit.sizeHint(), qt.sizeHint());
    QCOMPARE(fit.minimumSizeHint(), qt.sizeHint());
    const int three = fit.sizeHint().width();
    for (QComboBox* c : {static_cast<QComboBox*>(&fit), &qt}) c->setItemText(1, "Scan Add/Delete Nuisance");
    QCOMPARE(fit.sizeHint(), qt.sizeHint());
    QVERIFY(fit.sizeHint().width() > three);
    for (QComboBox* c : {static_cast<QComboBox*>(&fit), &qt}) c->removeItem(1);
    QCOMPARE(fit.sizeHint(), qt.sizeHint());
    for (QComboBox* c : {static_cast<QComboBox*>(&fit), &qt}) c->clear();
    QCOMPARE(fit.sizeHint(), qt.sizeHint());
    // Typed into: editable through the given box, and still no pop-up.
    auto* edit = new CFilterEdit;
    fit.SetEditor(edit);
    QVERIFY(fit.isEditable());
    QCOMPARE(fit.lineEdit(), edit);
    fit.addItems({"100.0", "D023N"});
    QVERIFY(fit.findChildren<QAbstractItemView*>().isEmpty());
    window.show();
    fit.showPopup();
    QVERIFY(!fit.findChildren<QAbstractItemView*>().isEmpty());
    QCOMPARE(fit.view()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    fit.hidePopup();
  }
};

VB420_QTEST(CombosTest)
#include "combos.moc"

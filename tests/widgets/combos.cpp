// SPDX-License-Identifier: GPL-3.0-or-later
// The tone combo box takes a typed text as typed: no inline completion from
// the list, and the edit part knows whether its text was typed or set from
// the list. (The zone and channel number combo is tested with the zone
// editors, tests/ui/number_combo_test.cpp.)
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "editors/grid/FilterEdit.h"
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
};

VB420_QTEST(CombosTest)
#include "combos.moc"

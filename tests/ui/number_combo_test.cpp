// The zone and channel number combo box takes a typed number as typed: no
// inline completion from the list ("1" is zone 1 even when zone 12 exists).
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "../widgets/WidgetTestUtil.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/NumberCombo.h"

using namespace vb420;

class NumberComboTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void numberComboTakesTheTypedNumber() {
    RadioData data(&testing::NumberedTexts());
    testing::FreshImage(data);
    CZoneMemory zones(data);
    QCOMPARE(zones.CreateZone(11, '1'), 1);   // zone 12
    QCOMPARE(zones.CreateZone(100, '1'), 1);  // zone 101
    CNumberCombo combo;
    combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kAllZones);
    combo.show();
    QVERIFY(!combo.completer());
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("1"));
    QCOMPARE(combo.currentText(), QStringLiteral("1"));
    QCOMPARE(combo.Value(), 0);  // zone 1 as typed, not zone 12
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("0"));
    QCOMPARE(combo.Value(), 9);  // "10", not "101"
  }
};

QTEST_MAIN(NumberComboTest)
#include "number_combo_test.moc"

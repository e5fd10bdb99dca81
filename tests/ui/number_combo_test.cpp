// SPDX-License-Identifier: GPL-3.0-or-later
// The zone and channel number combo box of the zone editors: which zones or
// channels each list kind offers, and what a typed or chosen text stands for.
#include <QLineEdit>
#include <QTest>

#include "../widgets/WidgetTestUtil.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ui/NumberCombo.h"
#include "support/qt/QtTestMain.h"

using namespace vb420;

class NumberComboTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void listsZonesOfAKind();
  void valueOfTypedAndChosenTexts();
  void takesTheTypedNumber();
};

namespace {

QStringList Texts(const QComboBox& combo) {
  QStringList out;
  for (int i = 0; i < combo.count(); ++i) out << combo.itemText(i);
  return out;
}

}  // namespace

void NumberComboTest::listsZonesOfAKind() {
  RadioData data(&testing::NumberedTexts());
  testing::FreshImage(data);
  CZoneMemory zones(data);
  QCOMPARE(zones.CreateZone(0, '1'), 1);
  QCOMPARE(zones.CreateZone(2, '0'), 1);
  QCOMPARE(zones.CreateZone(4, '3'), 1);
  QCOMPARE(zones.InsertRecord(0, 6), 1);
  CNumberCombo combo;
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kAllZones);
  QCOMPARE(combo.count(), 4);
  QCOMPARE(combo.itemData(0).toInt(), 255);
  QCOMPARE(combo.itemText(3), QString("5"));
  QCOMPARE(combo.itemData(3).toInt(), 4);
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kConvTypeOneZones);
  QCOMPARE(combo.count(), 2);
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kConvZones);
  QCOMPARE(combo.count(), 3);
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kLtrZones);
  QCOMPARE(Texts(combo), (QStringList{"T362", "3"}));
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kPassPortCapable);
  QCOMPARE(Texts(combo), (QStringList{"T362", "1", "3"}));
  // The caller's own zone joins the list whatever its type, when it exists.
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kPassPortPlusZone, 4);
  QCOMPARE(Texts(combo), (QStringList{"T362", "1", "3", "5"}));
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kPassPortPlusZone, 6);
  QCOMPARE(Texts(combo), (QStringList{"T362", "1", "3"}));
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kRecordsFirst, 0);
  QCOMPARE(combo.count(), 2);
  QCOMPARE(combo.itemText(1), QString("7"));
  QCOMPARE(combo.itemData(1).toInt(), 6);
  // Records of a zone out of range: only the "none" row.
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kRecordsFirst, 128);
  QCOMPARE(Texts(combo), (QStringList{"T362"}));
}

void NumberComboTest::valueOfTypedAndChosenTexts() {
  RadioData data(&testing::NumberedTexts());
  testing::FreshImage(data);
  CZoneMemory zones(data);
  QCOMPARE(zones.CreateZone(1, '1'), 1);
  CNumberCombo combo;
  combo.Fill(zones, testing::NumberedTexts(), CNumberCombo::kAllZones);
  combo.setCurrentIndex(1);
  QCOMPARE(combo.Value(), 1);
  combo.setCurrentIndex(0);
  QCOMPARE(combo.Value(), 255);
  combo.setEditText("12");  // a number not in the list still counts
  QCOMPARE(combo.Value(), 11);
  combo.setEditText(" 2 ");
  QCOMPARE(combo.Value(), 1);
  for (const char* bad : {"0", "256", "", "x"}) {
    combo.setEditText(bad);
    QCOMPARE(combo.Value(), 255);
  }
  // The edit part takes three digits at most.
  combo.lineEdit()->clear();
  QTest::keyClicks(combo.lineEdit(), "1a2345");
  QCOMPARE(combo.currentText(), QString("123"));
}

// No inline completion from the list: "1" stays zone 1 although zone 12
// starts with it.
void NumberComboTest::takesTheTypedNumber() {
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

VB420_QTEST(NumberComboTest)
#include "number_combo_test.moc"

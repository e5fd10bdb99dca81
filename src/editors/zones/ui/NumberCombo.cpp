// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/NumberCombo.h"

#include "editors/grid/FilterEdit.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {

CNumberCombo::CNumberCombo(QWidget* parent) : QComboBox(parent), edit_(new CFilterEdit) {
  setEditable(true);
  setLineEdit(edit_);
  // A typed number is taken as typed, never completed from the list.
  setCompleter(nullptr);
  edit_->SetInputMode(kInputDigits);
  edit_->setMaxLength(3);
  setInsertPolicy(QComboBox::NoInsert);
}

void CNumberCombo::Fill(const CZoneMemory& zones, TextTable& text, int kind, int zone) {
  clear();
  addItem(QString::fromStdString(text.Text(362)), 255);
  if (kind >= kRecordsFirst && kind <= kRecordsLast) {
    if (zone < 0 || zone >= zones::kZoneCount) return;
    for (int n : zones.RecordNumbers(zone))
      if (n >= 0 && n < zones::kMaxRecords) addItem(QString::number(n + 1), n);
    return;
  }
  for (int z = 0; z < zones::kZoneCount; ++z) {
    const uint8_t t = zones.ZoneType(z);
    bool take = false;
    switch (kind) {
      case kAllZones: take = zones.ZoneExists(z); break;
      case kLtrZones: take = t == '0'; break;
      case kConvTypeOneZones: take = t == '1'; break;
      case kPassPortCapable: take = t == '0' || t == '1' || t == '5'; break;
      case kPassPortPlusZone: take = t == '0' || t == '1' || t == '5' || (z == zone && zones.ZoneExists(z)); break;
      case kConvZones: take = t >= '1' && t <= '4'; break;
      default: break;
    }
    if (take) addItem(QString::number(z + 1), z);
  }
}

int CNumberCombo::Value() const {
  const QString t = currentText().trimmed();
  const int row = findText(t, Qt::MatchExactly);
  if (row >= 0) return itemData(row).toInt();
  bool ok = false;
  const int n = t.toInt(&ok);
  return (ok && n >= 1 && n <= 255) ? n - 1 : 255;
}

}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
// The editable combo box of zone or channel numbers. It lists what the zone
// memory holds, so it lives with the zone editors rather than in the widget
// library.
#pragma once

#include <QComboBox>

namespace vb420 {

class CFilterEdit;
class CZoneMemory;
class TextTable;

// Zone or channel numbers. Row 0 is the "none" text with item data 255;
// then one row "%d" (1-based) per qualifying entry with the 0-based index as
// item data.
class CNumberCombo : public QComboBox {
  Q_OBJECT
 public:
  enum ListKind {
    kAllZones = 0,
    kLtrZones = 1,
    kConvTypeOneZones = 2,
    kPassPortCapable = 3,  // types '0', '1', '5'
    kPassPortPlusZone = 4, // as 3, plus the zone the caller names
    kConvZones = 5,        // types '1' to '4'
    kRecordsFirst = 10,    // 10 to 15: the records of the caller's zone
    kRecordsLast = 15,
  };
  explicit CNumberCombo(QWidget* parent = nullptr);
  void Fill(const CZoneMemory& zones, TextTable& text, int kind, int zone = -1);
  // Item data of the row whose text equals the edit text, or the typed
  // number less one; 255 for none or nothing usable.
  int Value() const;
  CFilterEdit* Edit() const { return edit_; }

 private:
  CFilterEdit* edit_;
};

}  // namespace vb420

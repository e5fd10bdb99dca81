// SPDX-License-Identifier: GPL-3.0-or-later
// The DTMF settings (image 0x6D0 onwards, the 32-entry DTMF memory at ext
// 0x100) and the 2-tone settings (image 0xBC00 onwards) as tables of the form
// engine. The DTMF and 2-tone windows and `vb420cli settings` store through
// the same descriptors:
//   dtmf.0.I, dtmf.1.I            controls of the DTMF pages 0 and 1
//   dtmf.grid.R.code|decode|alert the two stun/kill code rows of page 1
//   dtmf.mem.R.name|code          the DTMF memory, R 1 to 32
//   twotone.0.I                   controls of the 2-tone timing page
//   twotone.code.R.name|a|b|long  the 32 named 2-tone codes
//   twotone.decode.P.I            controls of decode set-up P (1 to 4)
//   twotone.dgrid.P.R.seq|long|alert  row R (1 to 4) of decode set-up P
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editors/forms/FieldSets.h"
#include "editors/forms/FormEngine.h"

namespace vb420 {

class RadioData;

namespace dtmf {

// Page tables (the grids sit on the pages as List controls with key "grid").
const std::vector<forms::FormPage>& DtmfPages();
// The page-1 grid columns ("code", "decode", "alert"): cursor record 0 or 1.
const std::vector<forms::FieldDescriptor>& StunGridFields();
// The DTMF memory columns ("name", "code"): cursor record 0 to 31.
const std::vector<forms::FieldDescriptor>& MemoryFields();

// Page 0 (timing and the code list) and the four decode pages.
const std::vector<forms::FormPage>& TwoTonePages();
// The code list columns ("name", "a", "b", "long"): cursor record 0 to 31.
const std::vector<forms::FieldDescriptor>& TwoToneCodeFields();
// Decode grid columns ("seq", "long", "alert"): cursor zone = decode page
// 0..3, record = row 0..3.
const std::vector<forms::FieldDescriptor>& DecodeGridFields();

// Finds the records of one of the lists above by the cursor.
enum class DtmfList { StunGrid, Memory, Codes, DecodeGrid };
class DtmfLocator : public forms::RecordLocator {
 public:
  explicit DtmfLocator(DtmfList list) : list_(list) {}
  long Locate(const forms::FormContext& ctx, forms::RecordBase base) const override;

 private:
  DtmfList list_;
};

// The page index of the list controls.
constexpr int kDtmfGridIndex = 0;   // page 1
constexpr int kTwoToneCodeIndex = 6;  // page 0
constexpr int kDecodeGridIndex = 0;   // pages 1..4

// Pre-write check: the stun/kill decode needs its code (1160). Added to the
// write validation once.
void RegisterDtmfWriteChecks();
// The problems (text entries) the checks find, for the tests.
std::vector<int> DtmfProblems(RadioData& data);

// Adds this file's field sets to the registry (see editors/registry/Registration.h).
void RegisterDtmfFieldSets();

}  // namespace dtmf
}  // namespace vb420

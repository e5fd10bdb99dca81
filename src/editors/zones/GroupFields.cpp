#include "editors/zones/GroupFields.h"

#include "data/FieldCodec.h"
#include "data/RadioData.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace {
// Text entries.
constexpr int kOff = 362, kListOff = 371, kOn = 370, kYes = 372, kNo = 373, kHigh = 1084, kLow = 1085;
constexpr int kDtmf = 405, kVantelix = 410;
constexpr int kBot = 441, kEot = 442, kBotEot = 443, kId = 444;

// Bit n of a table of bits in the extension area.
bool ExtBit(const ByteArea& ext, size_t table, int n) { return ext.bit(table + static_cast<size_t>(n) / 8, n % 8); }
}  // namespace

std::string CGroupFields::CheckText(bool bitSet) const { return text_.Text(bitSet ? kNo : kYes); }

bool CGroupFields::LtrFieldText(int zone, int group, int field, std::string& text) const {
  text.clear();
  if (zones_.ZoneClass(zone) != kClassLtr) return false;
  const int at = zones_.FindRecord(zone, group);
  if (at < 0) return false;
  RadioData& data = zones_.Data();
  const ByteArea im = data.Image();
  const size_t rec = static_cast<size_t>(at);
  auto number = [&](uint8_t v) { return v >= 1 && v <= 250 ? std::to_string(v) : std::string(); };
  const uint8_t opts = im.u8(rec + 30);
  switch (field) {
    case 1: text = std::to_string(group + 1); break;
    case 2: text = number(im.u8(rec + 2)); break;
    case 3: text = number(im.u8(rec + 1)); break;
    case 4:
      if (const uint8_t* p = im.ptr(rec + 3, 12)) text = CFieldCodec::NameFromField(p, data.model.NameWidth());
      break;
    case 5: text = text_.Text((opts & 1) ? kHigh : kLow); break;
    case 6:
      switch (im.u8(rec + 15)) {
        case 0xFF: text = text_.Text(kOff); break;
        case '0': text = text_.Text(kDtmf); break;
        case '5': text = text_.Text(kVantelix); break;
        default: break;  // no value of ours: shown empty
      }
      break;
    case 7:
      switch (im.u8(rec + 16)) {
        case 0xFF: text = text_.Text(kListOff); break;
        case '0': text = text_.Text(kBot); break;
        case '1': text = text_.Text(kEot); break;
        case '2': text = text_.Text(kBotEot); break;
        case '3': text = text_.Text(kId) + " " + std::to_string(im.u16le(rec + 17)); break;
        case '4': text = text_.Text(kOn); break;
        default: break;
      }
      break;
    case 8: text = CheckText(opts & 0x02); break;
    case 9: text = CheckText(opts & 0x04); break;
    case 12: text = CheckText(opts & 0x10); break;
    case 13: text = CheckText(opts & 0x20); break;
    case 14: text = CheckText(opts & 0x40); break;
    case 10:
    case 16: {
      const int global = zones_.GlobalChannel(zone, group);
      if (global < 0 || global >= zones::kChannelLimit) break;
      text = CheckText(ExtBit(data.Ext(), field == 10 ? zones::kExtChanBitsA : zones::kExtChanBitsB, global));
      break;
    }
    default: return false;
  }
  return true;
}

bool CGroupFields::PassPortColumnText(int zone, int group, int column, std::string& text) const {
  text.clear();
  if (zones_.ZoneClass(zone) != kClassPassPort) return false;
  const int at = zones_.FindRecord(zone, group);
  if (at < 0) return false;
  RadioData& data = zones_.Data();
  const ByteArea im = data.Image();
  const size_t rec = static_cast<size_t>(at);
  if (column == 1) {
    const int id = im.u16le(rec + 1);
    if (id >= 1 && id <= 65519) text = std::to_string(id);
  } else if (column == 2) {
    if (const uint8_t* p = im.ptr(rec + 5, 12)) text = CFieldCodec::NameFromField(p, data.model.NameWidth());
  } else if (column >= 3 && column <= 9) {
    text = CheckText(im.bit(rec + kPassPortSwitchesOffset, column - 3));
  } else {
    return false;
  }
  return true;
}

}  // namespace vb420

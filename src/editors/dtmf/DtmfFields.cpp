// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/dtmf/DtmfFields.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>

#include "data/FieldCodec.h"
#include "data/ImageLayout.h"
#include "data/SignallingLayout.h"
#include "data/RadioData.h"
#include "link/WriteValidation.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets; every other member keeps its
// default on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420::dtmf {

using namespace forms;

namespace {

constexpr int kOffText = 371;
constexpr int kNoneText = 362;

std::string Key(int i) { return std::to_string(i); }

bool Blank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c); });
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

int LeadingInt(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  long v = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && v < 1000000) v = v * 10 + (s[i++] - '0');
  return static_cast<int>(v);
}

// The check-box map: a clear bit is ticked.
FieldDescriptor Check(int index, int label, FieldRef ref) {
  return {.key = Key(index), .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = {{370, 0}, {371, 1}}, .checkedValue = 0, .uncheckedValue = 1};
}

FieldDescriptor Number(std::string key, int label, FieldRef ref, int lo, int hi, int step, int none = -1,
                       int noneText = -1) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
          .encoding = Encoding::Number, .minimum = lo, .maximum = hi, .step = step, .emptyValue = none,
          .emptyTextEntry = noneText, .inputMode = none >= 0 ? 1 : 2,
          // A box that shows the "off" text must hold it whole.
          .maxLength = none >= 0 ? 0 : 4};
}

FieldDescriptor Caption(int index, int label) {
  return {.key = Key(index), .labelEntry = label, .kind = ControlKind::Caption};
}

FieldDescriptor Grid(int) { return {.key = "grid", .kind = ControlKind::List}; }

// A value that is one of a list: a typed number becomes the largest listed
// value that does not exceed it (the first when it is below all), the spin
// steps through the list, an empty box stores the first. `stored[i]` is what
// the image holds for `shown[i]`.
FieldDescriptor Listed(int index, int label, FieldRef ref, std::vector<int> shown, std::vector<int> stored) {
  FieldDescriptor d{.key = Key(index), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
                    .encoding = Encoding::Custom, .inputMode = 2, .maxLength = 4};
  auto position = [ref, stored](const FormContext& c) {
    const int v = FormEngine::ReadValue(c, ref);
    for (size_t i = 0; i < stored.size(); ++i)
      if (stored[i] == v) return static_cast<int>(i);
    return -1;
  };
  d.customShow = [position, shown](const FormContext& c) {
    const int i = position(c);
    return i >= 0 ? std::to_string(shown[static_cast<size_t>(i)]) : std::string();
  };
  d.customStore = [ref, shown, stored](FormContext& c, std::string& text) {
    size_t pick = 0;
    if (!Blank(text)) {
      const int typed = LeadingInt(text);
      for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] <= typed) pick = i;
    }
    FormEngine::WriteValue(c, ref, stored[pick]);
  };
  d.customSpin = [ref, position, stored](FormContext& c, int direction) {
    const int n = static_cast<int>(stored.size());
    const int i = position(c);
    int next;
    if (i < 0) next = direction > 0 ? 0 : n - 1;
    else next = direction > 0 ? (i + 1) % n : (i + n - 1) % n;
    FormEngine::WriteValue(c, ref, stored[static_cast<size_t>(next)]);
  };
  return d;
}

// A decimal (seconds, hertz) whose empty value has a text of its own or an
// empty box: that text, or an empty box, stores the empty value; everything
// else follows the decimal entry rule.
FieldDescriptor ScaledOrNone(std::string key, int label, FieldRef ref, int lo, int hi, int step, int scale,
                             int decimals, int none, int noneText, bool showNoneText = true) {
  FieldDescriptor base{.key = key, .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
                       .encoding = Encoding::Scaled, .minimum = lo, .maximum = hi, .step = step,
                       .emptyValue = none, .scale = scale, .decimals = decimals, .maxLength = 6};
  if (none < 0) return base;
  FieldDescriptor d = base;
  d.encoding = Encoding::Custom;
  d.inputMode = 1;
  d.maxLength = 0;
  d.customShow = [base, none, noneText, showNoneText](const FormContext& c) {
    if (FormEngine::ReadValue(c, base.field) == none)
      return noneText >= 0 && showNoneText ? c.text.Text(noneText) : std::string();
    return FormEngine::ShowText(c, base);
  };
  d.customStore = [base, none, noneText](FormContext& c, std::string& text) {
    if (Blank(text) || (noneText >= 0 && SameText(text, c.text.Text(noneText)))) {
      FormEngine::WriteValue(c, base.field, none);
      return;
    }
    std::string t = text;
    FormEngine::StoreText(c, base, t);
  };
  d.customSpin = [base](FormContext& c, int direction) { FormEngine::Spin(c, base, direction); };
  return d;
}

// Frequencies in tenths of a hertz, 288.5 to 3106.0 Hz. A code's tone may be
// none: an empty cell (or the "off" text typed) clears it, and it shows empty.
FieldDescriptor Frequency(std::string key, int label, FieldRef ref, bool emptyAllowed) {
  return ScaledOrNone(std::move(key), label, ref, 2885, 31060, 1, 10, 1, emptyAllowed ? 0xFFFF : -1,
                      emptyAllowed ? kOffText : -1, false);
}

// Seconds with one decimal, stored in milliseconds.
FieldDescriptor Seconds(int index, int label, size_t at, int lo, int hi, int step) {
  return ScaledOrNone(Key(index), label, ImageWord(static_cast<uint32_t>(at)), lo, hi, step, 1000, 1, -1, -1);
}

FieldDescriptor YesNo(std::string key, int label, FieldRef ref) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Combo, .field = ref,
          .encoding = Encoding::Value, .format = "", .choices = {{372, 0}, {373, 0xFF}}};
}

// A DTMF memory name. A new programming (and a radio whose entry was never
// named) holds 0xFF bytes there: the name ends at the first of them, so an
// unnamed entry shows empty rather than as filler characters. Typing stores
// by the name rule (zero-filled).
FieldDescriptor MemoryName();

FieldRef Row(size_t offset, int width = 1) {
  return {.area = Area::Image, .offset = static_cast<uint32_t>(offset), .width = width, .base = RecordBase::ListRow};
}
FieldRef ExtRow(size_t offset, int width = 1) {
  return {.area = Area::Ext, .offset = static_cast<uint32_t>(offset), .width = width, .base = RecordBase::ListRow};
}

FieldDescriptor Digits(std::string key, int label, FieldRef ref, int bytes) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Text, .field = ref,
          .encoding = Encoding::Digits, .textWidth = bytes, .dtmfDigits = true};
}

FieldDescriptor Name(std::string key, int label, FieldRef ref, int gen2Width) {
  return {.key = std::move(key), .labelEntry = label, .kind = ControlKind::Text, .field = ref,
          .encoding = Encoding::Name, .textWidth = 12, .textWidthGen2 = gen2Width};
}

FieldDescriptor MemoryName() {
  const FieldDescriptor base = Name("name", 880, ExtRow(0), 8);
  FieldDescriptor d = base;
  d.encoding = Encoding::Custom;
  d.inputMode = 0;
  d.maxLength = 12;
  d.customShow = [base](const FormContext& c) {
    FormEngine::Place place;
    if (!FormEngine::Resolve(c, base.field, place)) return std::string();
    const uint8_t* p = c.data.buffers.Ext().ptr(place.offset, 12);
    if (!p) return std::string();
    uint8_t name[12];
    for (size_t i = 0; i < 12; ++i) name[i] = p[i] == 0xFF ? 0 : p[i];
    return CFieldCodec::NameFromField(name, FormEngine::TextWidth(c, base));
  };
  d.customStore = [base](FormContext& c, std::string& text) {
    std::string t = text;
    FormEngine::StoreText(c, base, t);
  };
  return d;
}

// ---- DTMF -----------------------------------------------------------------------------

FormPage DtmfPage0() {
  using namespace dtmffld;
  FormPage p{.tabEntry = 849};
  p.fields = {
      WithNew(Listed(0, 852, ImageByte(kSpeed), {6, 8, 10, 15}, {'0', '1', '2', '3'}), '0'),
      WithNew(Number(Key(1), 853, ImageWord(kFirstDelay), 0, 1000, 50), 0),
      WithNew(Listed(2, 854, ImageWord(kFirstTime), {0, 100, 500, 1000}, {0, 100, 500, 1000}), 0),
      WithNew(Listed(3, 855, ImageWord(kStarTime), {0, 100, 500, 1000}, {0, 100, 500, 1000}), 0),
      WithNew(ScaledOrNone(Key(4), 856, ImageWord(kHoldTime), 500, 2000, 500, 1000, 1, 0xFFFF, kOffText), 0xFFFF),
      WithNew(Number(Key(5), 859, ImageByte(kDecodeDigits), 1, 16, 1, 0xFF, 865), 0xFF),
      Check(6, 857, ImageWordBit(kFlags, 0)),
      Check(7, 861, ImageWordBit(kFlags, 1)),
      Check(8, 862, ImageWordBit(kFlags, 2)),
      Check(9, 864, ImageWordBit(kFlags, 3)),
  };
  return p;
}

FormPage DtmfPage1() {
  using namespace dtmffld;
  FormPage p{.tabEntry = 850};
  FieldDescriptor code = WithNewEmptyText(Digits(Key(2), 869, ImageByte(kOwnCode), 5));
  p.fields = {
      Grid(0),
      Caption(1, 866),
      code,
      WithNew({.key = Key(3), .labelEntry = 870, .kind = ControlKind::Combo, .field = ImageByte(kOwnAction),
               .encoding = Encoding::Value, .format = "", .choices = {{878, '0'}, {879, '1'}}},
              '0'),
      Caption(4, 749),
      WithNew(Number(Key(5), 872, ImageWord(kResetTimer), 1, 300, 1, 0xFFFF, kOffText), 0xFFFF),
      Check(6, 873, ImageByteBit(kOwnFlags, 2)),
      Check(7, 874, ImageByteBit(kOwnFlags, 3)),
      Check(8, 875, ImageByteBit(kOwnFlags, 4)),
      Check(9, 876, ImageByteBit(kOwnFlags, 0)),
      Check(10, 877, ImageByteBit(kOwnFlags, 1)),
  };
  return p;
}

FormPage DtmfPage2() {
  FormPage p{.tabEntry = 851};
  p.fields = {Grid(0)};
  return p;
}

// ---- 2-tone ---------------------------------------------------------------------------

FormPage TwoTonePage0() {
  using namespace twotonefld;
  FormPage p{.tabEntry = 730};
  p.fields = {
      Seconds(0, 735, kToneA, 500, 1500, 100),
      Seconds(1, 736, kToneB, 1000, 4000, 100),
      Seconds(2, 737, kLongTone, 3000, 10000, 100),
      Number(Key(3), 738, ImageWord(kInterval), 0, 500, 100),
      Number(Key(4), 739, ImageWord(kFirstDelay), 0, 1000, 50),
      Check(5, 740, ImageByteBit(kFlags, 0)),
      Grid(kTwoToneCodeIndex),
  };
  return p;
}

FormPage DecodePage(int page) {
  const size_t rec = twotonefld::kDecode + twotonefld::kDecodeSize * static_cast<size_t>(page);
  auto at = [rec](size_t off) { return static_cast<uint32_t>(rec + off); };
  // Seven rows in the first column: the grid, the four tones, and Decode
  // with Answer Back under it; the call-decode group is the second column.
  FormPage p{.tabEntry = 731 + page, .rowsPerColumn = 7};
  p.fields = {
      Grid(kDecodeGridIndex),
      Frequency(Key(1), 745, ImageWord(at(0)), false),
      Frequency(Key(2), 746, ImageWord(at(6)), false),
      Frequency(Key(3), 747, ImageWord(at(12)), false),
      Frequency(Key(4), 748, ImageWord(at(18)), false),
      Check(5, 759, ImageByteBit(at(46), 0)),
      Check(6, 754, ImageByteBit(at(46), 1)),
      Caption(7, 749),
      Number(Key(8), 750, ImageWord(at(36)), 1, 300, 1, 0xFFFF, kOffText),
      Check(9, 751, ImageByteBit(at(46), 2)),
      Check(10, 752, ImageByteBit(at(46), 3)),
      Check(11, 753, ImageByteBit(at(46), 4)),
  };
  return p;
}

// Sequence rows of a decode set-up: none (not on the first row) and the
// sixteen pairs '0'..'?'; a pair chosen on another row of the page is not
// offered again.
std::vector<Choice> SequenceRows() {
  std::vector<Choice> rows{{kNoneText, 0xFF, {}}};
  for (int i = 0; i < 16; ++i) rows.push_back({761 + i, '0' + i, {}});
  return rows;
}

bool SequenceOffered(const FormContext& c, const Choice& row) {
  const int page = c.cursor.zone;
  const int r = c.cursor.record;
  if (row.value == 0xFF) return r != 0;
  if (page < 0 || page >= twotonefld::kDecodePages) return false;
  const size_t grid = twotonefld::kDecode + twotonefld::kDecodeSize * static_cast<size_t>(page) + 24;
  for (int other = 0; other < 4; ++other)
    if (other != r && c.ImageByte(grid + 3 * static_cast<size_t>(other)) == row.value) return false;
  return true;
}

// ---- field sets -------------------------------------------------------------------------

class TableRecord : public BoundRecord {
 public:
  TableRecord(RadioData& d, TextTable& t, RecordCursor c, std::unique_ptr<RecordLocator> l)
      : locator_(std::move(l)), ctx_(d, t, d.votingSwitch, c, locator_.get()) {}
  FormContext& Context() override { return ctx_; }

 private:
  std::unique_ptr<RecordLocator> locator_;
  FormContext ctx_;
};

bool ParseNumber(const std::string& s, int lo, int hi, int& out) {
  if (s.empty() || s.size() > 3) return false;
  int v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

// The settings of a page: its captions and grid places hold no value.
const std::vector<FieldDescriptor>* SettingsOf(const std::vector<FieldDescriptor>& page) {
  static std::deque<std::vector<FieldDescriptor>> kept;
  std::vector<FieldDescriptor>& out = kept.emplace_back();
  for (const FieldDescriptor& d : page)
    if (d.encoding != Encoding::None) out.push_back(d);
  return &out;
}

// A page of settings under readable names; `oldPrefix`.I, the positional
// key of earlier versions, is still taken.
FieldSet PageSet(std::string name, std::string prefix, std::string oldPrefix, const std::vector<FieldDescriptor>* fields,
                 std::initializer_list<KeyName> names, std::string what) {
  FieldSet s;
  s.name = std::move(name);
  s.recordKind = "page";
  s.keyPattern = "`" + prefix + ".NAME`: " + what + ". The older `" + oldPrefix + ".I` (I the control's index) is still taken";
  s.fields = NamedFields(*SettingsOf(*fields), names);
  s.records = [prefix](RadioData&) { return std::vector<FieldSetRecord>{{prefix, {}}}; };
  s.parse = [prefix, oldPrefix](RadioData&, const std::string& p, RecordCursor&) { return p == prefix || p == oldPrefix; };
  s.bind = [](RadioData& d, TextTable& t, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<TableRecord>(d, t, c, nullptr);
  };
  return s;
}

// Rows `stem`.R (R 1..rows), or with `pages` > 0 `stem`.P.R.
FieldSet RowSet(std::string name, std::string stem, int pages, int rows, const std::vector<FieldDescriptor>* fields,
                DtmfList list, std::string what) {
  FieldSet s;
  s.name = std::move(name);
  s.recordKind = "row";
  s.keyPattern = "`" + stem + (pages > 0 ? ".P" : "") + ".R.KEY`: " + what;
  s.fields = fields;
  s.records = [stem, pages, rows](RadioData&) {
    std::vector<FieldSetRecord> out;
    for (int p = 0; p < std::max(pages, 1); ++p)
      for (int r = 0; r < rows; ++r)
        out.push_back({stem + "." + (pages > 0 ? std::to_string(p + 1) + "." : "") + std::to_string(r + 1),
                       {pages > 0 ? p : -1, r}});
    return out;
  };
  s.parse = [stem, pages, rows](RadioData&, const std::string& prefix, RecordCursor& c) {
    if (prefix.rfind(stem + ".", 0) != 0) return false;
    std::string rest = prefix.substr(stem.size() + 1);
    int page = 0;
    if (pages > 0) {
      const size_t dot = rest.find('.');
      if (dot == std::string::npos || !ParseNumber(rest.substr(0, dot), 1, pages, page)) return false;
      rest = rest.substr(dot + 1);
    }
    int row = 0;
    if (!ParseNumber(rest, 1, rows, row)) return false;
    c = {pages > 0 ? page - 1 : -1, row - 1};
    return true;
  };
  s.bind = [list](RadioData& d, TextTable& t, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<TableRecord>(d, t, c, std::make_unique<DtmfLocator>(list));
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  static constexpr std::initializer_list<KeyName> kDecodeNames = {
      {"1", "tonea"},     {"2", "toneb"},    {"3", "tonec"},   {"4", "toned"},   {"5", "decode"},
      {"6", "answerback"}, {"8", "autoreset"}, {"9", "alerttone"}, {"10", "callled"}, {"11", "callreset"}};
  RegisterFieldSet(PageSet("dtmf", "dtmf", "dtmf.0", &DtmfPages()[0].fields,
                           {{"0", "speed"},
                            {"1", "firstdelay"},
                            {"2", "firsttime"},
                            {"3", "starhashtime"},
                            {"4", "holdtime"},
                            {"5", "decodedigits"},
                            {"6", "sidetone"},
                            {"7", "transpond"},
                            {"8", "keypadautoptt"},
                            {"9", "stunkilldecode"}},
                           "the DTMF page of the DTMF window"));
  RegisterFieldSet(PageSet("dtmf-own", "dtmf.own", "dtmf.1", &DtmfPages()[1].fields,
                           {{"2", "stunkillcode"},
                            {"3", "action"},
                            {"5", "autoreset"},
                            {"6", "alerttone"},
                            {"7", "hornalert"},
                            {"8", "callled"},
                            {"9", "transpond"},
                            {"10", "groupcall"}},
                           "the Own ID page of the DTMF window"));
  RegisterFieldSet(RowSet("dtmf-stunkill", "dtmf.grid", 0, 2, &StunGridFields(), DtmfList::StunGrid, "row R (1, 2) of the code grid of the Own ID page: code, decode, alert"));
  RegisterFieldSet(RowSet("dtmf-memory", "dtmf.mem", 0, dtmffld::kMemoryEntries, &MemoryFields(), DtmfList::Memory, "DTMF memory entry R (1 to 32): name, code"));
  RegisterFieldSet(PageSet("twotone", "twotone", "twotone.0", &TwoTonePages()[0].fields,
                           {{"0", "aduration"},
                            {"1", "bduration"},
                            {"2", "longduration"},
                            {"3", "interval"},
                            {"4", "firstdelay"},
                            {"5", "sidetone"}},
                           "the timing page of the 2-Tone window"));
  RegisterFieldSet(RowSet("twotone-code", "twotone.code", 0, twotonefld::kCodeCount, &TwoToneCodeFields(), DtmfList::Codes, "2-tone code R (1 to 32): name, a, b (Hz), long"));
  RegisterFieldSet(PageSet("twotone-decode1", "twotone.decode.1", "twotone.decode.1", &TwoTonePages()[1].fields,
                           kDecodeNames, "decode set-up 1"));
  RegisterFieldSet(PageSet("twotone-decode2", "twotone.decode.2", "twotone.decode.2", &TwoTonePages()[2].fields,
                           kDecodeNames, "decode set-up 2"));
  RegisterFieldSet(PageSet("twotone-decode3", "twotone.decode.3", "twotone.decode.3", &TwoTonePages()[3].fields,
                           kDecodeNames, "decode set-up 3"));
  RegisterFieldSet(PageSet("twotone-decode4", "twotone.decode.4", "twotone.decode.4", &TwoTonePages()[4].fields,
                           kDecodeNames, "decode set-up 4"));
  RegisterFieldSet(RowSet("twotone-dgrid", "twotone.dgrid", twotonefld::kDecodePages, 4, &DecodeGridFields(), DtmfList::DecodeGrid, "row R (1 to 4) of the grid of decode set-up P (1 to 4): seq, long, alert"));
}











// A digit count that does not fit its field (a count of none is fine).
bool CountBad(uint8_t count, int maxDigits) { return count != 0xFF && (count == 0 || count > maxDigits); }

}  // namespace

long DtmfLocator::Locate(const FormContext& ctx, RecordBase base) const {
  if (base != RecordBase::ListRow) return -1;
  const int r = ctx.cursor.record;
  switch (list_) {
    case DtmfList::StunGrid:
      return r >= 0 && r < 2 ? static_cast<long>(dtmffld::kStunRecords + dtmffld::kStunRecordSize * static_cast<size_t>(r)) : -1;
    case DtmfList::Memory:
      return r >= 0 && r < dtmffld::kMemoryEntries
                 ? static_cast<long>(ext::kNamedRecords + dtmffld::kMemoryRecordSize * static_cast<size_t>(r))
                 : -1;
    case DtmfList::Codes:
      return r >= 0 && r < twotonefld::kCodeCount
                 ? static_cast<long>(twotonefld::kCodes + twotonefld::kCodeSize * static_cast<size_t>(r))
                 : -1;
    case DtmfList::DecodeGrid: {
      const int p = ctx.cursor.zone;
      if (p < 0 || p >= twotonefld::kDecodePages || r < 0 || r >= 4) return -1;
      return static_cast<long>(twotonefld::kDecode + twotonefld::kDecodeSize * static_cast<size_t>(p) + 24 +
                               3 * static_cast<size_t>(r));
    }
  }
  return -1;
}

const std::vector<FormPage>& DtmfPages() {
  static const std::vector<FormPage> pages = {DtmfPage0(), DtmfPage1(), DtmfPage2()};
  return pages;
}

const std::vector<FieldDescriptor>& StunGridFields() {
  static const std::vector<FieldDescriptor> t = {
      Digits("code", 881, Row(0), 5),
      YesNo("decode", 867, Row(6)),
      Number("alert", 868, Row(7), 1, 8, 1, 0xFF, kOffText),
  };
  return t;
}

const std::vector<FieldDescriptor>& MemoryFields() {
  static const std::vector<FieldDescriptor> t = {
      MemoryName(),
      Digits("code", 881, ExtRow(dtmffld::kMemoryCount), 8),
  };
  return t;
}

const std::vector<FormPage>& TwoTonePages() {
  static const std::vector<FormPage> pages = {TwoTonePage0(), DecodePage(0), DecodePage(1), DecodePage(2),
                                              DecodePage(3)};
  return pages;
}

const std::vector<FieldDescriptor>& TwoToneCodeFields() {
  static const std::vector<FieldDescriptor> t = {
      Name("name", 741, Row(0), 8),
      Frequency("a", 742, Row(12, 2), true),
      Frequency("b", 743, Row(14, 2), true),
      YesNo("long", 744, Row(16)),
  };
  return t;
}

const std::vector<FieldDescriptor>& DecodeGridFields() {
  static const std::vector<FieldDescriptor> t = [] {
    FieldDescriptor seq{.key = "seq", .labelEntry = 755, .kind = ControlKind::Combo, .field = Row(0),
                        .encoding = Encoding::Value, .format = "", .choices = SequenceRows(),
                        .offered = SequenceOffered};
    FieldDescriptor alert = Number("alert", 757, Row(2), 1, 8, 1, 0xFF, kOffText);
    return std::vector<FieldDescriptor>{seq, YesNo("long", 756, Row(1)), alert};
  }();
  return t;
}

std::vector<int> DtmfProblems(RadioData& data) {
  std::vector<int> out;
  const ByteArea image = data.Image();
  // Stun/kill decode is ticked (a clear bit) but there is no code to decode:
  // the radio would never act on it.
  const uint8_t own = image.u8(dtmffld::kOwnCode);
  if (!image.bit(dtmffld::kFlags, 3) && (own == 0xFF || CountBad(own, 10))) out.push_back(1160);
  return out;
}

void RegisterDtmfWriteChecks() {
  static const bool registered = [] {
    // Stun/kill decode without a code does no harm: the radio never acts on
    // it. The user is told, and may write.
    RegisterWriteCheck("dtmf", kSlotSettingWarnings, [](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
      // The stun/kill warning is about the own code the decode would need.
      for (int e : DtmfProblems(data))
        out.push_back({e, {}, e == 1160 ? std::vector<uint32_t>{dtmffld::kOwnCode} : std::vector<uint32_t>{}});
    });
    return true;
  }();
  (void)registered;
}

void RegisterDtmfFieldSets() { RegisterTheseSets(); }

}  // namespace vb420::dtmf

// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/scan/ScanFields.h"

#include <memory>

#include "data/ImageLayout.h"
#include "data/SignallingLayout.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"
#include "editors/zones/ZoneWriteChecks.h"
#include "link/WriteValidation.h"
#include "lang/TextNames.h"
#include "lang/TextTable.h"

// The tables name only the members a field sets; every other member keeps its
// default on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420::scan {

using namespace forms;

namespace {

constexpr uint8_t kNone = 0xFF;

bool TypeSet(const FormContext& c, size_t at) {
  const uint8_t v = c.ImageByte(at);
  return v != kNone && v != '1';
}
bool Type1Active(const FormContext& c) { return TypeSet(c, scanfld::kType1); }
bool Type2Active(const FormContext& c) { return TypeSet(c, scanfld::kType2) && !c.IsSecondGen(); }

// The check-box map of the radio-wide editors: a clear bit is ticked.
FieldDescriptor Check(int index, int label, FieldRef ref, Rule enabled = {}) {
  return {.key = std::to_string(index), .labelEntry = label, .kind = ControlKind::Check, .field = ref,
          .encoding = Encoding::Value, .choices = {{370, 0}, {371, 1}}, .checkedValue = 0, .uncheckedValue = 1,
          .enabled = std::move(enabled)};
}

FieldDescriptor Number(int index, int label, FieldRef ref, int lo, int hi, int step, Rule enabled = {}) {
  return {.key = std::to_string(index), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ref,
          .encoding = Encoding::Number, .minimum = lo, .maximum = hi, .step = step, .enabled = std::move(enabled),
          .inputMode = 2, .maxLength = 4};
}

// Seconds with two decimals in steps of 0.05, stored in milliseconds.
FieldDescriptor Interval(int index, int label, size_t at) {
  return {.key = std::to_string(index), .labelEntry = label, .kind = ControlKind::EditSpin, .field = ImageWord(at),
          .encoding = Encoding::Scaled, .minimum = 500, .maximum = 5000, .step = 50, .scale = 1000, .decimals = 2,
          .enabled = [](const FormContext& c) {
            return c.ImageByte(scanfld::kType1) != kNone || c.ImageByte(scanfld::kType2) != kNone;
          },
          .maxLength = 4};
}

// After a scan type changed: the revert channel may no longer be offered, and
// the two types may not both be "Selected".
void AfterTypeStored(FormContext& c) {
  ByteArea image = c.data.Image();
  const uint8_t t1 = image.u8(scanfld::kType1);
  const uint8_t revert = image.u8(scanfld::kRevert);
  if ((t1 == kNone || t1 == '1') && (revert == '4' || revert == '5')) image.setU8(scanfld::kRevert, '0');
  if (t1 == '1' && image.u8(scanfld::kType2) == '1') image.setU8(scanfld::kType2, kNone);
  const uint8_t t2 = image.u8(scanfld::kType2);
  const uint8_t revert2 = image.u8(scanfld::kRevert);
  if ((t2 == kNone || t2 == '1') && (revert2 == '6' || revert2 == '7')) image.setU8(scanfld::kRevert, '0');
}

// ---- priority channels ---------------------------------------------------------

size_t PriorityRef(int which) { return which == 1 ? ext::kPriority1 : ext::kPriority2; }

// A zone for a priority channel: it must exist, be sound and be a plain
// conventional zone. Choosing another zone keeps the channel only when that
// zone has it too; none clears both.
void StorePriorityZone(FormContext& c, int which, int value) {
  ByteArea ext = c.data.Ext();
  const size_t ref = PriorityRef(which);
  if (value == kNone || value <= 0) {
    ext.setU8(ref, kNone);
    ext.setU8(ref + 1, kNone);
    return;
  }
  const CZoneMemory zones(c.data);
  const int zone = value - 1;
  if (zone >= zones::kZoneCount || zones.ZoneType(zone) != '1' || zones.ZoneDamaged(zone)) {
    c.message = kPriorityRefused;
    return;
  }
  const uint8_t channel = ext.u8(ref + 1);
  if (channel != kNone && (channel == 0 || !zones.RecordExists(zone, channel - 1))) ext.setU8(ref + 1, kNone);
  ext.setU8(ref, static_cast<uint8_t>(value));
}

void StorePriorityChannel(FormContext& c, int which, int value) {
  ByteArea ext = c.data.Ext();
  const size_t ref = PriorityRef(which);
  if (value == kNone || value <= 0) {
    ext.setU8(ref + 1, kNone);
    return;
  }
  const uint8_t zone = ext.u8(ref);
  if (zone == kNone || !PriorityTargetExists(c.data, zone, value)) {
    c.message = kPriorityRefused;
    return;
  }
  ext.setU8(ref + 1, static_cast<uint8_t>(value));
}

// The zone and channel boxes: drop-down lists that also take a typed number
// (clamped to the range) or the "off" text / an empty box for none.
FieldDescriptor PriorityBox(int index, int label, int which, bool channel, Rule enabled) {
  const size_t ref = PriorityRef(which) + (channel ? 1 : 0);
  FieldDescriptor d{.key = std::to_string(index), .labelEntry = label, .kind = ControlKind::EditCombo,
                    .field = ExtByte(static_cast<uint32_t>(ref)), .encoding = Encoding::Number, .minimum = 1,
                    .maximum = channel ? zones::kMaxRecords : zones::kZoneCount, .emptyValue = kNone,
                    .emptyTextEntry = 362, .enabled = std::move(enabled), .inputMode = 1};
  d.newImage.value = kNone;
  if (channel) {
    // The channels of the chosen zone.
    d.dynamicChoices = [which](const FormContext& c) {
      std::vector<Choice> rows{{362, kNone, {}}};
      const uint8_t zone = c.ExtByte(PriorityRef(which));
      if (zone == kNone || zone == 0) return rows;
      const CZoneMemory zones(c.data);
      if (zones.ZoneClass(zone - 1) != kClassConv) return rows;
      for (int n : zones.RecordNumbers(zone - 1)) rows.push_back({-1, n + 1, std::to_string(n + 1)});
      return rows;
    };
    d.customStoreValue = [which](FormContext& c, int v) { StorePriorityChannel(c, which, v); };
  } else {
    d.dynamicChoices = [](const FormContext&) {
      std::vector<Choice> rows{{362, kNone, {}}};
      for (int z = 1; z <= zones::kZoneCount; ++z) rows.push_back({-1, z, std::to_string(z)});
      return rows;
    };
    d.customStoreValue = [which](FormContext& c, int v) { StorePriorityZone(c, which, v); };
  }
  return d;
}

FormPage MakePage0() {
  const Rule always;
  FormPage p{.tabEntry = 814};
  auto typeCombo = [](int index, int label, size_t at, Rule enabled) {
    FieldDescriptor d{.key = std::to_string(index), .labelEntry = label, .kind = ControlKind::Combo,
                      .field = ImageByte(static_cast<uint32_t>(at)), .encoding = Encoding::Value, .format = "",
                      .choices = {{362, kNone}, {796, '0'}, {831, '1'}, {926, '2'}}, .enabled = std::move(enabled)};
    d.afterStore = AfterTypeStored;
    d.newImage.value = kNone;
    return d;
  };
  p.fields.push_back(typeCombo(kType1, 835, scanfld::kType1, always));
  // "Selected" is not offered for priority 1 while priority 2 holds it
  // (second-generation models have no priority 2 to clash with).
  p.fields.back().offered = [](const FormContext& c, const Choice& row) {
    return row.value != '1' || c.ImageByte(scanfld::kType2) != '1' || c.IsSecondGen();
  };
  p.fields.push_back(typeCombo(kType2, 837, scanfld::kType2, [](const FormContext& c) { return !c.IsSecondGen(); }));
  p.fields.back().offered = [](const FormContext& c, const Choice& row) {
    return row.value != '1' || c.ImageByte(scanfld::kType1) != '1';
  };
  p.fields.push_back(PriorityBox(kPriority1Zone, 816, 1, false, Type1Active));
  p.fields.push_back(PriorityBox(kPriority1Channel, -1, 1, true, [](const FormContext& c) {
    return Type1Active(c) && c.ExtByte(ext::kPriority1) != kNone;
  }));
  p.fields.push_back(PriorityBox(kPriority2Zone, 817, 2, false, Type2Active));
  p.fields.push_back(PriorityBox(kPriority2Channel, -1, 2, true, [](const FormContext& c) {
    return Type2Active(c) && c.ExtByte(ext::kPriority2) != kNone;
  }));
  p.fields.push_back(WithNew({.key = std::to_string(kRevert), .labelEntry = 818, .kind = ControlKind::Combo,
                      .field = ImageByte(scanfld::kRevert), .encoding = Encoding::Value, .format = "",
                      .choices = {{832, '0'}, {833, '1'}, {831, '2'}, {834, '3'}, {835, '4'}, {836, '5'},
                                  {837, '6'}, {838, '7'}},
                      .offered = [](const FormContext& c, const Choice& row) {
                        if (row.value == '4' || row.value == '5') return Type1Active(c);
                        if (row.value == '6' || row.value == '7') return Type2Active(c);
                        return true;
                      }},
                     '0'));
  p.fields.push_back(WithNew(Number(7, 819, ImageWord(scanfld::kDropout), 0, 300, 1), 0));
  p.fields.push_back(WithNew(Number(8, 820, ImageWord(scanfld::kDwell), 0, 300, 1), 0));
  p.fields.push_back(WithNew(Interval(kInterval1, 821, scanfld::kInterval1), 500));
  p.fields.push_back(WithNew(Interval(kInterval2, 822, scanfld::kInterval2), 500));
  p.fields.push_back(WithNew({.key = std::to_string(kMode), .labelEntry = 823, .kind = ControlKind::Combo,
                              .field = ImageByte(scanfld::kMode), .encoding = Encoding::Value, .format = "",
                              .choices = {{839, '0'}, {840, '1'}, {841, '2'}}},
                             '0'));
  p.fields.push_back(Check(12, 824, ImageWordBit(scanfld::kFlags, 0)));
  p.fields.push_back(Check(13, 825, ImageWordBit(scanfld::kFlags, 3),
                           [](const FormContext& c) { return c.ImageByte(scanfld::kType1) != kNone; }));
  p.fields.push_back(Check(14, 826, ImageWordBit(scanfld::kFlags, 4), [](const FormContext& c) {
    return c.ImageByte(scanfld::kType2) != kNone && !c.IsSecondGen();
  }));
  p.fields.push_back(Check(15, 827, ImageWordBit(scanfld::kFlags, 1), [](const FormContext& c) { return c.IsMobile(); }));
  p.fields.push_back(Check(16, 828, ImageWordBit(scanfld::kFlags, 2)));
  p.fields.push_back(Check(17, 829, ImageWordBit(scanfld::kFlags, 5)));
  p.fields.push_back(Check(18, 830, ImageWordBit(scanfld::kFlags, 6)));
  return p;
}

bool VotingPage(const FormContext& c) { return c.data.model.VotingCapable(c.votingSwitch); }

FormPage MakePage1() {
  // Every control of the page is off on second-generation models; the same
  // rule sits on each field so that the settings verb follows it too.
  auto on = [](Rule more) -> Rule {
    return [more = std::move(more)](const FormContext& c) { return VotingPage(c) && (!more || more(c)); };
  };
  FormPage p{.tabEntry = 815, .shown = VotingPage, .enabled = [](const FormContext& c) { return !c.IsSecondGen(); }};
  p.fields.push_back(WithNew(Number(0, 842, ImageWord(scanfld::kVotingInterval), 10, 2550, 1, on([](const FormContext& c) {
                                      return c.ImageByte(scanfld::kRssi1) == kNone || c.ImageByte(scanfld::kRssi2) != kNone;
                                    })),
                             10));
  p.fields.push_back(WithNew(Number(1, 843, ImageWord(scanfld::kVotingDwell), 0, 5000, 10, on({})), 0));
  p.fields.push_back(WithNew(Number(2, 844, ImageWord(scanfld::kVotingHold), 0, 5000, 10, on({})), 0));
  // The second level stays at least 5 above the first, as loading a file demands.
  p.fields.push_back(WithNew(Number(3, 845, ImageByte(scanfld::kRssi1), 80, 120, 5, on({})), 80));
  p.fields.push_back(WithNew(Number(4, 846, ImageByte(scanfld::kRssi2), 80, 120, 5, on({})), 85));
  p.fields.push_back(Check(5, 847, ImageByteBit(scanfld::kVotingFlags, 0), on([](const FormContext& c) { return c.IsMobile(); })));
  p.fields.push_back(Check(6, 848, ImageByteBit(scanfld::kVotingFlags, 1), on({})));
  return p;
}

// ---- field sets ---------------------------------------------------------------------

class TableRecord : public BoundRecord {
 public:
  TableRecord(RadioData& d, TextTable& t, RecordCursor c, std::unique_ptr<RecordLocator> l)
      : locator_(std::move(l)), ctx_(d, t, d.votingSwitch, c, locator_.get()) {}
  FormContext& Context() override { return ctx_; }
  // A refused priority channel changes nothing and says so.
  bool StoreText(const FieldDescriptor& d, std::string& text) override {
    ctx_.message = 0;
    return FormEngine::StoreText(ctx_, d, text) && ctx_.message != kPriorityRefused;
  }

 private:
  std::unique_ptr<RecordLocator> locator_;
  FormContext ctx_;
};

bool ParseNumber(const std::string& s, int lo, int hi, int& out) {
  if (s.empty() || s.size() > 4) return false;
  int v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

// The scan page's and the voting page's settings, named; the older
// positional keys (`scan.0.I`, `scan.1.I`) are still taken.
const std::vector<FieldDescriptor>* NamedPage(int page) {
  const auto& fields = ScanPages()[static_cast<size_t>(page)].fields;
  if (page == 0)
    return NamedFields(fields, {{"0", "priority1"},
                                {"1", "priority2"},
                                {"2", "priority1zone"},
                                {"3", "priority1channel"},
                                {"4", "priority2zone"},
                                {"5", "priority2channel"},
                                {"6", "revertchannel"},
                                {"7", "dropoutdelay"},
                                {"8", "dwelltime"},
                                {"9", "priority1interval"},
                                {"10", "priority2interval"},
                                {"11", "mode"},
                                {"12", "autoscan"},
                                {"13", "priority1alert"},
                                {"14", "priority2alert"},
                                {"15", "resumeonhangup"},
                                {"16", "talkback"},
                                {"17", "endtone"},
                                {"18", "displaychannel"}});
  return NamedFields(fields, {{"0", "interval"},
                              {"1", "dwelltime"},
                              {"2", "holdtime"},
                              {"3", "rssi1"},
                              {"4", "rssi2"},
                              {"5", "duringscan"},
                              {"6", "alerttone"}});
}

FieldSet PageSet(const char* name, int page) {
  const std::string prefix = page == 0 ? "scan" : "scan.voting";
  const std::string oldPrefix = "scan." + std::to_string(page);
  FieldSet s;
  s.name = name;
  s.recordKind = "page";
  s.keyPattern = "`" + prefix + ".NAME`: the " + (page == 0 ? "scan page" : "voting page") +
                 " of the Scan window. The older `" + oldPrefix + ".I` (I the control's index) is still taken";
  s.fields = NamedPage(page);
  s.records = [prefix](RadioData&) { return std::vector<FieldSetRecord>{{prefix, {}}}; };
  s.parse = [prefix, oldPrefix](RadioData&, const std::string& p, RecordCursor&) { return p == prefix || p == oldPrefix; };
  s.bind = [](RadioData& d, TextTable& t, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<TableRecord>(d, t, c, nullptr);
  };
  return s;
}

FieldSet ListSet() {
  FieldSet s;
  s.name = "scanlist";
  s.recordKind = "list";
  s.keyPattern = "`scanlist.Z.R`: whether zone R is scanned with zone Z (Z, R 1 to 128)";
  s.fields = &ScanListFieldTable();
  // Every zone has its list, whether or not the zone exists now: the lists
  // are kept apart from the zones (a deleted zone's list is emptied, not
  // removed), so a comparison sees changed rows rather than lists that come
  // and go with their zones.
  s.records = [](RadioData&) {
    std::vector<FieldSetRecord> out;
    for (int z = 0; z < zones::kZoneCount; ++z) out.push_back({"scanlist." + std::to_string(z + 1), {z, -1}});
    return out;
  };
  s.parse = [](RadioData&, const std::string& p, RecordCursor& c) {
    const std::string stem = "scanlist.";
    int z = 0;
    if (p.rfind(stem, 0) != 0 || !ParseNumber(p.substr(stem.size()), 1, zones::kZoneCount, z)) return false;
    c = {z - 1, -1};
    return true;
  };
  s.bind = [](RadioData& d, TextTable& t, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<TableRecord>(d, t, c, std::make_unique<ScanListLocator>());
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(PageSet("scan", 0));
  RegisterFieldSet(PageSet("scan-voting", 1));
  RegisterFieldSet(ListSet());
}



uint16_t ZoneFlagWord(const ByteArea& image, const ZoneLayout& z, uint8_t type) {
  const size_t at = static_cast<size_t>(z.offset) + (type == '0' ? rec::ltr::kOptions : rec::conv::kOptions);
  return image.u16le(at);
}

}  // namespace

const std::vector<FormPage>& ScanPages() {
  static const std::vector<FormPage> pages = {MakePage0(), MakePage1()};
  return pages;
}

// ---- scan lists ---------------------------------------------------------------------

long ScanListLocator::Locate(const FormContext& ctx, RecordBase base) const {
  if (base != RecordBase::ListRow || ctx.cursor.zone < 0 || ctx.cursor.zone >= zones::kZoneCount) return -1;
  return static_cast<long>(ext::kZoneLists + ext::kZoneListSize * static_cast<size_t>(ctx.cursor.zone));
}

bool InScanList(RadioData& data, int listZone, int rowZone) {
  if (listZone < 0 || listZone >= zones::kZoneCount || rowZone < 0 || rowZone >= zones::kZoneCount) return false;
  const size_t at = ext::kZoneLists + ext::kZoneListSize * static_cast<size_t>(listZone) + static_cast<size_t>(rowZone / 8);
  return !data.buffers.Ext().bit(at, rowZone % 8);
}

void SetInScanList(RadioData& data, int listZone, int rowZone, bool in) {
  if (listZone < 0 || listZone >= zones::kZoneCount || rowZone < 0 || rowZone >= zones::kZoneCount) return;
  const size_t at = ext::kZoneLists + ext::kZoneListSize * static_cast<size_t>(listZone) + static_cast<size_t>(rowZone / 8);
  data.Ext().setBit(at, rowZone % 8, !in);
}

bool ScanListRowEnabled(const CZoneMemory& zones, int listZone, int rowZone) {
  if (listZone < 0 || listZone >= zones::kZoneCount || rowZone < 0 || rowZone >= zones::kZoneCount) return false;
  const ZoneLayout list = zones.ZoneInfo(listZone);
  if (!list.exists || list.damaged) return false;
  const uint8_t type = zones.ZoneType(listZone);
  const ByteArea image = const_cast<CZoneMemory&>(zones).Data().buffers.Image();
  if (type == '0') {
    if (!(ZoneFlagWord(image, list, type) & (1u << 15))) return false;
  } else if (type >= '1' && type <= '4') {
    if (!(ZoneFlagWord(image, list, type) & (1u << 14))) return false;
  } else if (type != '5') {
    return false;
  }
  const ZoneLayout row = zones.ZoneInfo(rowZone);
  return row.exists && !row.damaged;
}

RowState ScanListRow(const CZoneMemory& zones, int listZone, int rowZone) {
  if (!zones.ZoneExists(rowZone)) return RowState::Indeterminate;
  const bool in = InScanList(const_cast<CZoneMemory&>(zones).Data(), listZone, rowZone);
  if (!ScanListRowEnabled(zones, listZone, rowZone)) return in ? RowState::Indeterminate : RowState::Unchecked;
  return in ? RowState::Checked : RowState::Unchecked;
}

const std::vector<FieldDescriptor>& ScanListFieldTable() {
  static const std::vector<FieldDescriptor> table = [] {
    std::vector<FieldDescriptor> t;
    for (int r = 0; r < zones::kZoneCount; ++r) {
      const FieldRef ref{.area = Area::Ext, .offset = static_cast<uint32_t>(r / 8), .width = 1, .bit = r % 8,
                         .base = RecordBase::ListRow};
      t.push_back({.key = std::to_string(r + 1), .labelEntry = 378, .kind = ControlKind::Check, .field = ref,
                   .encoding = Encoding::Value, .choices = {{372, 0}, {373, 1}}, .checkedValue = 0,
                   .uncheckedValue = 1, .enabled = [r](const FormContext& c) {
                     return ScanListRowEnabled(CZoneMemory(c.data), c.cursor.zone, r);
                   }});
    }
    return t;
  }();
  return table;
}

// ---- zone clean-ups -------------------------------------------------------------

void ZoneDeleted(RadioData& data, int zone) {
  if (zone < 0 || zone >= zones::kZoneCount) return;
  ByteArea ext = data.Ext();
  ext.fill(ext::kZoneLists + ext::kZoneListSize * static_cast<size_t>(zone), ext::kZoneListSize, 0xFF);
  for (int list = 0; list < zones::kZoneCount; ++list) SetInScanList(data, list, zone, false);
  ext.setU8(ext::kZoneBytes + static_cast<size_t>(zone), kNone);
  DropPriorityReferences(data, zone);
}

void ZonesCleared(RadioData& data) {
  const CZoneMemory zones(data);
  for (int z = 0; z < zones::kZoneCount; ++z)
    if (!zones.ZoneExists(z)) ZoneDeleted(data, z);
}

void DropPriorityReferences(RadioData& data, int zone, int number) {
  ByteArea ext = data.Ext();
  for (size_t ref : {ext::kPriority1, ext::kPriority2}) {
    if (ext.u8(ref) != zone + 1) continue;
    if (number >= 0 && ext.u8(ref + 1) != number + 1) continue;
    ext.setU8(ref, kNone);
    ext.setU8(ref + 1, kNone);
  }
}

void ConnectZoneHooks(CZoneMemory& zones) {
  RadioData& data = zones.Data();
  ZoneHooks& h = zones.Hooks();
  // The per-zone byte is a channel of the deleted zone: it goes with it.
  h.zoneDeleted = [&data](int zone, int) { ZoneDeleted(data, zone); };
  h.typeOneReferencesDropped = [&data](int zone) { DropPriorityReferences(data, zone); };
  h.recordRemoved = [&data](int zone, int number) { DropPriorityReferences(data, zone, number); };
}

// ---- pre-write checks --------------------------------------------------------

bool SelectablePriorityDangling(RadioData& data, int which) {
  return data.Image().u8(which == 1 ? scanfld::kType1 : scanfld::kType2) == '2' &&
         JudgePriorityChannel(data, which) == PriorityFault::Dangling;
}

void RegisterScanWriteChecks() {
  static const bool registered = [] {
    for (int which : {1, 2}) {
      RegisterWriteCheck("scan", which == 1 ? kSlotPriority1 : kSlotPriority2,
                         [which](RadioData& data, TextTable&, std::vector<WriteProblem>& out) {
                           if (which == 2 && data.model.IsSecondGen()) return;
                           const int entry = which == 1 ? text::kPriority1ZoneChannel : text::kPriority2ZoneChannel;
                           for (const WriteProblem& p : out)
                             if (p.entry == entry) return;  // reported once
                           if (SelectablePriorityDangling(data, which)) out.push_back({entry, {}});
                         });
    }
    return true;
  }();
  (void)registered;
}

void RegisterScanFieldSets() { RegisterTheseSets(); }

}  // namespace vb420::scan

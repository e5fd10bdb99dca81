// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/plan/ItmFile.h"

#include <cstring>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneFields.h"
#include "editors/zones/ZoneFixups.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/DelimitedText.h"
#include "lang/TextTable.h"

namespace vb420 {

namespace itm {

namespace {

// The entries of the ID or status list: as many as the area directory names,
// not the count of a new image.
int ListEntries(RadioData& data, int section) {
  const ByteArea image = data.Image();
  return static_cast<int>((section == kSecIdList ? IdList(image) : StatusList(image)).count);
}
const char* const kWords[] = {"",    "CNVDATA", "LTRDATA", "REPDATA", "FLTLIST", "FLTST", "5TONESEL", "5TONEST",
                              "ZN",  "CH",      "GID",     "RXF",     "TXF",     "RXSIG", "TXSIG",    "ENCID",
                              "DECID", "TEL",   "AREA",    "HOME",    "NUM",     "STS",   "NAME",     "INH",
                              "CODE", "MSG",    "FLEET",   "ID"};
constexpr int kWordCount = static_cast<int>(sizeof kWords / sizeof kWords[0]);
}  // namespace

int CodeOf(std::string_view word) {
  for (int i = 1; i < kWordCount; ++i)
    if (word == kWords[i]) return i;
  return kNone;
}

const char* WordOf(int code) { return code > 0 && code < kWordCount ? kWords[code] : ""; }

}  // namespace itm

using namespace itm;

namespace {

// Text entries of the messages.
constexpr int kMsgMismatch = 122;
constexpr int kMsgImportAnyway = 123;
constexpr int kMsgBandDiffers = 124;
constexpr int kMsgFileLanguage = 125;
constexpr int kMsgSummary = 175;
constexpr int kMsgSummaryLine = 176;
constexpr int kMsgCutOff = 177;
constexpr int kMsgNothingApplied = 1249;
constexpr int kMsgSkipped = 1252;
constexpr int kTextVersion = 3;
// Section names in the summary.
constexpr int kSectionNameEntries[kSectionCount] = {530, 529, 67, 995, 996};

// What each section writes and reads.
struct SectionDef {
  int type;                 // record type code
  const char* comment;      // the comment line
  std::vector<int> columns; // column codes after "$$" and the type
};

const SectionDef kSections[kSectionCount] = {
    {kCnvData, "// Conventional Data", {kZn, kCh, kRxf, kTxf, kRxSig, kTxSig, kName}},
    {kLtrData, "// Trunking System", {kZn, kGid, kEncId, kDecId, kName}},
    {kRepData, "// LTR Repeater Data", {kZn, kNum, kRxf, kTxf, kTel, kArea, kHome}},
    {kFltList, "// Vantelix ID List", {kNum, kFleet, kId, kName, kInh}},
    {kFltSt, "// Vantelix Status List", {kNum, kSts, kName, kInh}},
};

int SectionOfType(int type) {
  for (int s = 0; s < kSectionCount; ++s)
    if (kSections[s].type == type) return s;
  return -1;
}

const ItmColumnKey* ColumnKey(int section, int column) {
  for (const ItmColumnKey& k : ItmColumnKeys())
    if (k.section == section && k.column == column) return &k;
  return nullptr;
}

const char* KeyOf(int section, int column) {
  const ItmColumnKey* k = ColumnKey(section, column);
  return k ? k->key : nullptr;
}

bool OfZoneHeader(int section, int column) {
  const ItmColumnKey* k = ColumnKey(section, column);
  return k && k->zoneHeader;
}

std::string HeaderPrefix(int zone1) { return "zone." + std::to_string(zone1) + ".header"; }

std::string Prefix(int section, int zone1, int number1) {
  switch (section) {
    case kSecConv: return "zone." + std::to_string(zone1) + ".ch." + std::to_string(number1);
    case kSecLtr: return "zone." + std::to_string(zone1) + ".group." + std::to_string(number1);
    case kSecRep: return "zone." + std::to_string(zone1) + ".rep." + std::to_string(number1);
    case kSecIdList: return "idlist." + std::to_string(number1);
    default: return "status." + std::to_string(number1);
  }
}

std::string Trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

// A "%d" column: its number, 0 for anything that is not one.
int NumberOf(std::string_view s) {
  const std::string t = Trim(s);
  int v = 0;
  const char* b = t.data();
  const char* e = b + t.size();
  if (b != e && *b == '+') ++b;
  const auto r = std::from_chars(b, e, v);
  return (r.ec == std::errc() && r.ptr == e && b != e) ? v : 0;
}

// Reads the shown texts of one record by field key. Each set that owns one of
// the keys binds the record once.
class RecordTexts {
 public:
  RecordTexts(RadioData& data, TextTable& text, const std::string& prefix)
      : data_(data), text_(text), prefix_(prefix) {}

  std::string Get(const char* key) {
    if (!key) return {};
    for (const forms::FieldSet& set : forms::FieldSets()) {
      const forms::FieldDescriptor* d = nullptr;
      for (const forms::FieldDescriptor& f : *set.fields)
        if (f.key == key && f.encoding != forms::Encoding::None) d = &f;
      if (!d) continue;
      auto it = bound_.find(&set);
      if (it == bound_.end()) {
        forms::RecordCursor c;
        std::unique_ptr<forms::BoundRecord> b;
        if (set.parse && set.parse(data_, prefix_, c)) b = set.bind(data_, text_, c);
        it = bound_.emplace(&set, std::move(b)).first;
      }
      if (!it->second) continue;
      return forms::SettingText(it->second->Context(), *d);
    }
    return {};
  }

 private:
  RadioData& data_;
  TextTable& text_;
  std::string prefix_;
  std::map<const forms::FieldSet*, std::unique_ptr<forms::BoundRecord>> bound_;
};

// Whether any set of this record kind ("ch", "group", "rep") has the field.
bool ZoneFieldKnown(const char* kind, const char* key) {
  for (const forms::FieldSet& set : forms::FieldSets()) {
    if (set.recordKind != kind) continue;
    for (const forms::FieldDescriptor& f : *set.fields)
      if (f.key == key) return true;
  }
  return false;
}

void AppendLine(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    out += fields[i];
  }
  out += "\r\n";
}

}  // namespace

const std::vector<ItmColumnKey>& ItmColumnKeys() {
  static const std::vector<ItmColumnKey> keys = {
      {kSecConv, kRxf, "rxf"},      {kSecConv, kTxf, "txf"},       {kSecConv, kRxSig, "rxtone"},
      {kSecConv, kTxSig, "txtone"}, {kSecConv, kName, "name"},     {kSecLtr, kEncId, "encode"},
      {kSecLtr, kDecId, "decode"},  {kSecLtr, kName, "name"},      {kSecRep, kRxf, "rxf"},
      {kSecRep, kTxf, "txf"},       {kSecRep, kTel, "telephone"},  {kSecRep, kArea, "area", true},
      {kSecRep, kHome, "home", true},     {kSecIdList, kFleet, "fleet"}, {kSecIdList, kId, "id"},
      {kSecIdList, kName, "name"},  {kSecIdList, kInh, "inh"},     {kSecStatus, kSts, "sts"},
      {kSecStatus, kName, "name"},  {kSecStatus, kInh, "inh"},
  };
  return keys;
}

// ---- export --------------------------------------------------------------------

std::string BuildItmText(RadioData& data, TextTable& text) {
  std::string out;
  out.reserve(64 * 1024);
  out += kFirstLine;
  out += "\r\n";
  out += "[Export Info]=VB-420 " + text.Text(kTextVersion) + "\r\n";
  out += "[Radio Type]=LTR\r\n";
  out += std::string("[Radio Band]=") + (data.model.BandClass() == 1 ? "UHF" : "VHF") + "\r\n";
  out += "[Language]=" + text.CurrentLanguage() + "\r\n";

  CZoneMemory zones(data);
  const auto layout = zones.Layout();
  for (int s = 0; s < kSectionCount; ++s) {
    const SectionDef& def = kSections[s];
    std::string body;
    auto emit = [&](int zone1, int number1) {
      RecordTexts rec(data, text, Prefix(s, zone1, number1));
      RecordTexts header(data, text, HeaderPrefix(zone1));
      std::vector<std::string> fields = {"$", ""};
      for (int col : def.columns) {
        if (col == kZn) fields.push_back(std::to_string(zone1));
        else if (col == kCh || col == kGid || col == kNum) fields.push_back(std::to_string(number1));
        else if (OfZoneHeader(s, col)) fields.push_back(header.Get(KeyOf(s, col)));
        else fields.push_back(rec.Get(KeyOf(s, col)));
      }
      // The column that makes a record worth writing.
      const size_t keyColumn = s == kSecLtr ? 5 : s == kSecConv || s == kSecRep ? 4 : 3;
      if (fields[keyColumn].empty()) return;
      for (size_t i = 2; i < fields.size(); ++i) fields[i] = QuoteDelimitedField(fields[i]);
      AppendLine(body, fields);
    };
    if (s == kSecConv || s == kSecLtr || s == kSecRep) {
      const int cls = s == kSecConv ? kClassConv : kClassLtr;
      for (int z = 0; z < zones::kZoneCount; ++z) {
        if (!layout[z].exists || layout[z].cls != cls || layout[z].damaged) continue;
        for (int n : s == kSecRep ? zones.RepeaterNumbers(z) : zones.RecordNumbers(z)) emit(z + 1, n + 1);
      }
    } else {
      const int count = ListEntries(data, s);
      for (int n = 1; n <= count; ++n) emit(0, n);
    }
    if (body.empty()) continue;
    out += "\r\n";
    out += def.comment;
    out += "\r\n";
    std::vector<std::string> names = {"$$", WordOf(def.type)};
    for (int col : def.columns) names.emplace_back(WordOf(col));
    AppendLine(out, names);
    out += body;
  }
  return out;
}

ExportStatus ExportItmFile(const std::string& path, RadioData& data, TextTable& text) {
  ExportStatus st;
  const std::string body = BuildItmText(data, text);
  st.file = WriteFileAtomically(path, body.data(), body.size());
  if (!st.file.ok())
    st.result = st.file.result == kFileWriteFailed ? ExportResult::WriteFailed : ExportResult::CannotCreate;
  return st;
}

// ---- import --------------------------------------------------------------------

namespace {

// The file cut into lines: each line without its line end, and whether it had one.
struct Line {
  std::string_view text;
  bool terminated;
  size_t start;
};

std::vector<Line> SplitLines(std::string_view file, size_t from) {
  std::vector<Line> lines;
  size_t pos = from;
  while (pos < file.size()) {
    const size_t lf = file.find('\n', pos);
    const bool term = lf != std::string_view::npos;
    std::string_view t = file.substr(pos, (term ? lf : file.size()) - pos);
    if (!t.empty() && t.back() == '\r') t.remove_suffix(1);
    lines.push_back({t, term, pos});
    pos = term ? lf + 1 : file.size();
  }
  return lines;
}

// A spreadsheet may put a byte-order mark before the first line.
size_t BodyStart(std::string_view file) {
  return file.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// The fields of one line, quoted sections resolved: a comma inside quotes is
// kept, a line break inside them dropped, "\t" becomes a tab.
std::vector<std::string> FieldsOf(std::string_view line) {
  std::vector<std::string> fields = SplitDelimited(UnfoldQuotedFields(line));
  if (fields.size() > 128) fields.resize(128);
  for (std::string& f : fields) {
    std::string r;
    r.reserve(f.size());
    for (size_t i = 0; i < f.size(); ++i) {
      if (f[i] == '\\' && i + 1 < f.size() && (f[i + 1] == 'a' || f[i + 1] == 'n' || f[i + 1] == 't')) {
        if (f[i + 1] == 'a') r += ',';
        else if (f[i + 1] == 't') r += '\t';
        ++i;
      } else {
        r += f[i];
      }
    }
    f = std::move(r);
  }
  return fields;
}

std::string ValueAfterEquals(std::string_view line) {
  const size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string() : Trim(line.substr(eq + 1));
}

// The working image and extension area as they were, to be put back.
struct SavedAreas {
  explicit SavedAreas(RadioData& data) : image(data.buffers.ImageBytes()), ext(data.buffers.ExtBytes()) {}
  void Restore(RadioData& data) const {
    data.Image().write(0, image.data(), image.size());
    data.Ext().write(0, ext.data(), ext.size());
  }
  std::vector<uint8_t> image, ext;
};

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A plan written while the program ran in another language holds that
// language's words for off, yes and no. Each becomes this language's word
// before it is stored: a tone box takes a word it does not know for a tone
// (an English "Off" read in Spanish would become 67.0 Hz), a list refuses it.
std::string WordInThisLanguage(TextTable& text, const std::string& value) {
  static constexpr int kWordEntries[] = {362, 371, 372, 373};  // off, off, yes, no
  const std::string t = Trim(value);
  if (t.empty()) return value;
  for (int entry : kWordEntries)
    if (SameWord(t, text.Text(entry))) return value;
  for (int entry : kWordEntries)
    for (const std::string& word : text.TextsInEveryLanguage(entry))
      if (SameWord(t, word)) return text.Text(entry);
  return value;
}

bool SameKey(const std::string& word, const char* key) {
  if (word.size() != std::strlen(key)) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(word[i])) != key[i]) return false;
  return true;
}

// Stores the records through the settings operations.
class Importer {
 public:
  Importer(RadioData& data, TextTable& text, ItmImportSummary& summary)
      : data_(data), text_(text), zones_(data), summary_(summary) {}

  void Header(const std::vector<std::string>& fields) {
    type_ = kNone;
    codes_.assign(fields.size(), kNone);
    for (size_t i = 0; i < fields.size(); ++i) {
      const std::string word = Trim(fields[i]);
      int c = CodeOf(word);
      // A column may also be headed by its field's key (rxtone for RXSIG),
      // the one name the command line uses.
      for (const ItmColumnKey& k : ItmColumnKeys())
        if (c == kNone && SameKey(word, k.key)) c = k.column;
      if (c >= kCnvData && c <= k5ToneSt && type_ == kNone) type_ = c;
      else if (c >= kZn) codes_[i] = c;
    }
  }

  // A data line of the current type; `complete` is false for a cut-off line.
  void Record(const std::vector<std::string>& fields, bool complete) {
    if (type_ == k5ToneSel || type_ == k5ToneSt) {
      ++summary_.fiveToneIgnored;
      return;
    }
    const int section = SectionOfType(type_);
    if (section < 0) return;
    if (!complete) {
      ++summary_.sections[section].skipped;
      return;
    }
    // The first zone record clears every zone, the first list record its
    // list. The clearing stands only with a record that was applied: until
    // then a record that fails takes back whatever it changed, clearing and
    // all, so that a plan whose records all fail leaves the zones and lists
    // as they were.
    bool* cleared = section == kSecConv || section == kSecLtr ? &zonesCleared_
                    : section == kSecIdList                  ? &idsCleared_
                    : section == kSecStatus                  ? &statusCleared_
                                                             : nullptr;
    const bool trial = cleared && !*cleared;
    std::optional<SavedAreas> before;
    if (trial) before.emplace(data_);
    bool ok = false;
    switch (section) {
      case kSecConv: ok = Conventional(fields); break;
      case kSecLtr: ok = Group(fields); break;
      case kSecRep: ok = Repeater(fields); break;
      default: ok = ListRecord(section, fields); break;
    }
    if (!ok && trial) {
      before->Restore(data_);
      *cleared = false;
    }
    if (ok && cleared == &zonesCleared_) ClearZonesOnce();  // a record that stored nothing still counts
    ok ? ++summary_.sections[section].applied : ++summary_.sections[section].skipped;
  }

  bool HasType() const { return SectionOfType(type_) >= 0 || type_ == k5ToneSel || type_ == k5ToneSt; }

 private:
  // Every column present in the record, in column order.
  std::vector<std::pair<int, std::string>> Columns(const std::vector<std::string>& fields) const {
    std::vector<std::pair<int, std::string>> cols;
    for (size_t i = 0; i < codes_.size(); ++i)
      if (codes_[i] != kNone) cols.emplace_back(codes_[i], i < fields.size() ? fields[i] : std::string());
    return cols;
  }

  // One value through the window's operation. An unknown field of a zone
  // record kind (a column this program has no field for) is passed over.
  enum class Stored { Ok, Failed, NoField };
  Stored Store(const std::string& prefix, const char* kind, const char* key, const std::string& typed) {
    if (!key) return Stored::NoField;
    const std::string value = WordInThisLanguage(text_, typed);
    forms::SettingLine line;
    int message = 0;
    const std::string full = prefix + "." + key;
    // An empty column where the window already shows nothing asks for no
    // change: typing an empty ID into a list entry would empty the entry.
    if (Trim(value).empty() && forms::GetSetting(data_, text_, full, line) == forms::SettingStatus::Ok &&
        Trim(line.text).empty())
      return Stored::Ok;
    const forms::SettingStatus st = forms::SetSetting(data_, text_, full, value, line, message);
    if (st == forms::SettingStatus::Ok) return Stored::Ok;
    if (st == forms::SettingStatus::UnknownKey && kind && !ZoneFieldKnown(kind, key)) return Stored::NoField;
    // A field that cannot be changed now (the transmit tone of a channel
    // without a transmit frequency) is no failure when it already shows the
    // wanted text.
    if (st == forms::SettingStatus::Disabled) {
      // An empty value asks for nothing a closed field does not already hold.
      if (Trim(value).empty()) return Stored::Ok;
      forms::SettingLine now;
      if (forms::GetSetting(data_, text_, full, now) == forms::SettingStatus::Ok && Trim(now.text) == Trim(value))
        return Stored::Ok;
    }
    return Stored::Failed;
  }

  // The zones go when the first zone record gets past the checks that need
  // no data (a zone or channel number out of range, no receive frequency):
  // a plan of such records costs no clearing and undoing.
  void ClearZonesOnce() {
    if (zonesCleared_) return;
    zonesCleared_ = true;
    ClearAllZones(data_);
  }

  bool Conventional(const std::vector<std::string>& fields) {
    const auto cols = Columns(fields);
    int zn = 0, ch = 0;
    std::string rxf, txf;
    for (const auto& [c, v] : cols) {
      if (c == kZn) zn = NumberOf(v);
      else if (c == kCh) ch = NumberOf(v);
      else if (c == kRxf) rxf = Trim(v);
      else if (c == kTxf) txf = Trim(v);
    }
    if (zn < 1 || zn > zones::kZoneCount || ch < 1 || ch > zones::kMaxRecords || rxf.empty()) return false;
    ClearZonesOnce();
    const int cls = zones_.ZoneClass(zn - 1);
    if (cls == kClassLtr || cls == kClassPassPort) return false;
    // A zone that does not exist yet is made a plain conventional zone by its
    // first channel.
    if (!zones_.ZoneExists(zn - 1)) zones_.SetPendingType('1');
    const std::string prefix = Prefix(kSecConv, zn, ch);
    // The receive frequency makes the channel: it goes first, whatever the
    // column order, so that the columns before it find their record.
    if (Store(prefix, "ch", KeyOf(kSecConv, kRxf), rxf) == Stored::Failed) return false;
    for (const auto& [c, v] : cols) {
      std::string value = v;
      if (c == kTxSig && txf.empty()) value.clear();
      if (c != kTxf && c != kRxSig && c != kTxSig && c != kName) continue;
      if (Store(prefix, "ch", KeyOf(kSecConv, c), value) == Stored::Failed) return false;
    }
    return true;
  }

  // Where the column that makes a record (a group's ENCID, a repeater's RXF)
  // lands: the zone and number in effect at its place, counting from the
  // values carried over from the previous record. `index` is -1 when the
  // record has no such column or ends (a zone or number out of range) before it.
  struct KeyPlace {
    int index = -1;
    int zone = 0, number = 0;
  };
  template <typename ZoneOk>
  static KeyPlace FindKey(const std::vector<std::pair<int, std::string>>& cols, int keyCode, int numberCode,
                          int maxNumber, int zone, int number, ZoneOk zoneOk) {
    for (size_t i = 0; i < cols.size(); ++i) {
      const int c = cols[i].first;
      if (c == kZn) {
        zone = NumberOf(cols[i].second);
        if (!zoneOk(zone)) return {};
      } else if (c == numberCode) {
        number = NumberOf(cols[i].second);
        if (number < 1 || number > maxNumber) return {};
      } else if (c == keyCode) {
        return {static_cast<int>(i), zone, number};
      }
    }
    return {};
  }

  // One value of a group record: stored, refused for this record while the
  // rest goes on (an ID for a zone that takes no groups), or failed.
  enum class GroupStore { Ok, Refused, Failed };
  GroupStore GroupValue(int column, const std::string& value) {
    if (column == kEncId || column == kDecId) {
      const int cls = zones_.ZoneClass(zone_ - 1);
      if (cls == kClassConv || cls == kClassPassPort) return GroupStore::Refused;
      return StoreGroupId(column, value) ? GroupStore::Ok : GroupStore::Failed;
    }
    // A name only for a group of a zone that is trunked already.
    if (zones_.ZoneClass(zone_ - 1) != kClassLtr) return GroupStore::Ok;
    return Store(Prefix(kSecLtr, zone_, number_), "group", KeyOf(kSecLtr, kName), value) == Stored::Failed
               ? GroupStore::Failed
               : GroupStore::Ok;
  }

  bool Group(const std::vector<std::string>& fields) {
    const auto cols = Columns(fields);
    // The encode ID makes the group: it goes before the other values of its
    // group wherever it stands, so that a decode ID or a name in front of it
    // finds the group.
    const KeyPlace key = FindKey(cols, kEncId, kGid, zones::kMaxRecords, zone_, number_,
                                 [](int z) { return z >= 1 && z <= zones::kZoneCount; });
    bool keyStored = key.index < 0;
    bool ok = true;
    for (size_t i = 0; i < cols.size(); ++i) {
      const auto& [c, v] = cols[i];
      if (c == kZn) {
        const int n = NumberOf(v);
        if (n < 1 || n > zones::kZoneCount) return false;
        zone_ = n;
      } else if (c == kGid) {
        const int n = NumberOf(v);
        if (n < 1 || n > zones::kMaxRecords) return false;
        number_ = n;
      } else if (c == kEncId || c == kDecId || c == kName) {
        ClearZonesOnce();
        if (!keyStored && zone_ == key.zone && number_ == key.number) {
          keyStored = true;
          const GroupStore r = GroupValue(kEncId, cols[static_cast<size_t>(key.index)].second);
          if (r == GroupStore::Failed) return false;
          if (r == GroupStore::Refused) ok = false;
        }
        if (static_cast<int>(i) == key.index) continue;
        const GroupStore r = GroupValue(c, v);
        if (r == GroupStore::Failed) return false;
        if (r == GroupStore::Refused) ok = false;
      }
    }
    return ok;
  }

  // An encode or decode ID. On a zone that does not exist yet the group's cell
  // operation makes it an LTR zone, as the grid does on first entry.
  bool StoreGroupId(int column, const std::string& value) {
    if (zones_.ZoneExists(zone_ - 1))
      return Store(Prefix(kSecLtr, zone_, number_), "group", KeyOf(kSecLtr, column), value) != Stored::Failed;
    const forms::FieldDescriptor* d = zonefields::ByKey(ZoneTable::LtrGroup, KeyOf(kSecLtr, column));
    if (!d || !d->recordKey) return false;  // only the first column creates a group
    ZoneFieldContext cell(zones_, text_, ZoneTable::LtrGroup, zone_ - 1, number_ - 1);
    std::string t = value;
    return cell.StoreText(*d, t) && zones_.FindRecord(zone_ - 1, number_ - 1) >= 0;
  }

  bool RepeaterValue(int column, const std::string& value) {
    if (zones_.ZoneClass(repZone_ - 1) != kClassLtr) return false;
    const bool head = OfZoneHeader(kSecRep, column);
    const std::string prefix = head ? HeaderPrefix(repZone_) : Prefix(kSecRep, repZone_, repNumber_);
    return Store(prefix, head ? "header" : "rep", KeyOf(kSecRep, column), value) != Stored::Failed;
  }

  bool Repeater(const std::vector<std::string>& fields) {
    const auto cols = Columns(fields);
    auto zoneOk = [this](int z) { return z >= 1 && z <= zones::kZoneCount && zones_.ZoneClass(z - 1) == kClassLtr; };
    // The receive frequency makes the repeater: it goes before the other
    // values of its repeater wherever it stands.
    const KeyPlace key = FindKey(cols, kRxf, kNum, zones::kMaxRepeaters, repZone_, repNumber_, zoneOk);
    bool keyStored = key.index < 0;
    for (size_t i = 0; i < cols.size(); ++i) {
      const auto& [c, v] = cols[i];
      if (c == kZn) {
        const int n = NumberOf(v);
        if (!zoneOk(n)) return false;
        repZone_ = n;
      } else if (c == kNum) {
        const int n = NumberOf(v);
        if (n < 1 || n > zones::kMaxRepeaters) return false;
        repNumber_ = n;
      } else if (c == kRxf || c == kTxf || c == kTel || c == kArea || c == kHome) {
        if (!keyStored && repZone_ == key.zone && repNumber_ == key.number) {
          keyStored = true;
          if (!RepeaterValue(kRxf, cols[static_cast<size_t>(key.index)].second)) return false;
        }
        if (static_cast<int>(i) == key.index) continue;
        if (!RepeaterValue(c, v)) return false;
      }
    }
    return true;
  }

  bool ListRecord(int section, const std::vector<std::string>& fields) {
    const bool ids = section == kSecIdList;
    const int count = ListEntries(data_, section);
    const size_t cut = ids ? 12 : 16;
    int& number = ids ? idNumber_ : statusNumber_;
    bool& cleared = ids ? idsCleared_ : statusCleared_;
    const int firstColumn = ids ? kFleet : kSts;
    const auto cols = Columns(fields);
    // The first column (fleet, status number) makes the entry: it goes before
    // the other values of the entry, wherever it stands, so that a name in
    // front of it is not refused by an empty entry.
    const std::string* firstValue = nullptr;
    for (const auto& [c, v] : cols)
      if (c == firstColumn) firstValue = &v;
    auto store = [&](int c, const std::string& v) {
      const std::string value = v.size() > cut ? v.substr(0, cut) : v;
      return Store(Prefix(section, 0, number), nullptr, KeyOf(section, c), value) == Stored::Ok;
    };
    bool firstStored = false;
    for (const auto& [c, v] : cols) {
      if (c == kNum) {
        const int n = NumberOf(v);
        if (n < 1 || n > count) return false;
        number = n;
        firstStored = false;
        continue;
      }
      if (!KeyOf(section, c)) continue;
      if (!cleared) {
        cleared = true;
        forms::SettingLine line;
        int message = 0;
        for (int n = 1; n <= count; ++n)
          (void)forms::SetSetting(data_, text_, Prefix(section, 0, n) + "." + KeyOf(section, firstColumn), "", line,
                                  message);
      }
      if (!firstStored && firstValue) {
        if (!store(firstColumn, *firstValue)) return false;
        firstStored = true;
      }
      if (c == firstColumn) continue;
      if (!store(c, v)) return false;
    }
    return true;
  }

  RadioData& data_;
  TextTable& text_;
  CZoneMemory zones_;
  ItmImportSummary& summary_;
  int type_ = kNone;
  std::vector<int> codes_;
  bool zonesCleared_ = false, idsCleared_ = false, statusCleared_ = false;
  // Values that carry over from one record to the next when a record leaves
  // them out or names them after the columns that use them.
  int zone_ = 1, number_ = 1, repZone_ = 1, repNumber_ = 1, idNumber_ = 1, statusNumber_ = 1;
};

}  // namespace

int ItmImportSummary::Applied() const {
  int n = 0;
  for (const auto& s : sections) n += s.applied;
  return n;
}

int ItmImportSummary::Skipped() const {
  int n = 0;
  for (const auto& s : sections) n += s.skipped;
  return n;
}

ItmHeader ReadItmHeader(std::string_view file, RadioData& data, TextTable& text) {
  ItmHeader h;
  const auto lines = SplitLines(file, BodyStart(file));
  if (lines.empty() || lines[0].text != kFirstLine) return h;
  h.accepted = true;
  h.recordsAt = file.size();
  const std::string band = data.model.BandClass() == 1 ? "UHF" : "VHF";
  const std::string language = text.CurrentLanguage();
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view t = lines[i].text;
    if (Trim(DelimitedField(UnfoldQuotedFields(t), 0)) == "$$") {
      h.recordsAt = lines[i].start;
      break;
    }
    if (t.find('=') == std::string_view::npos) continue;
    if (t.find("[Radio Band]") != std::string_view::npos) {
      h.fileBand = ValueAfterEquals(t);
      h.bandDiffers = h.fileBand != band;
    } else if (t.find("[Language]") != std::string_view::npos) {
      h.fileLanguage = ValueAfterEquals(t);
      h.languageDiffers = h.fileLanguage != language;
    }
  }
  return h;
}

std::string ItmMismatchWarning(const ItmHeader& h, TextTable& text) {
  const std::string bandLine = h.bandDiffers ? "\"" + text.Text(kMsgBandDiffers) + "\"\n" : std::string();
  const std::string languageLine =
      h.languageDiffers ? "\"" + text.Text(kMsgFileLanguage) + " : " + h.fileLanguage + "\"\n" : std::string();
  return text.Text(kMsgMismatch) + "\n\n" + bandLine + languageLine + "\n" + text.Text(kMsgImportAnyway);
}

void ApplyItmRecords(std::string_view file, const ItmHeader& h, RadioData& data, TextTable& text,
                     ItmImportSummary& summary) {
  if (!h.accepted) return;
  // A plan that applies nothing changes nothing.
  const SavedAreas before(data);
  Importer imp(data, text, summary);
  for (const Line& line : SplitLines(file, h.recordsAt)) {
    const bool complete = line.terminated;
    if (!complete) summary.cutOff = !line.text.empty();
    const std::vector<std::string> fields = FieldsOf(line.text);
    const std::string first = Trim(fields[0]);
    if (first == "$$") {
      if (complete) imp.Header(fields);
      else imp.Header({});  // a cut-off column-name line names nothing
    } else if (first == "$") {
      imp.Record(fields, complete);
    }
  }
  if (summary.NothingApplied()) before.Restore(data);
}

ImportResult ImportItmText(std::string_view file, RadioData& data, TextTable& text,
                           const std::function<bool(const std::string&)>& confirm, ItmImportSummary& summary) {
  summary = ItmImportSummary{};
  const ItmHeader h = ReadItmHeader(file, data, text);
  if (!h.accepted) return ImportResult::Refused;
  if (h.Mismatch() && !(confirm && confirm(ItmMismatchWarning(h, text)))) return ImportResult::Refused;
  ApplyItmRecords(file, h, data, text, summary);
  return ImportResult::Ok;
}

std::string ItmSummaryText(const ItmImportSummary& s, TextTable& text) {
  std::string out = text.Text(kMsgSummary);
  for (int i = 0; i < kSectionCount; ++i) {
    const ItmSectionCount& c = s.sections[i];
    if (c.applied == 0 && c.skipped == 0) continue;
    std::string name = text.Text(kSectionNameEntries[i]);
    std::erase(name, '&');
    out += "\n" + FillEntryText(text.Text(kMsgSummaryLine), {name, std::to_string(c.applied), std::to_string(c.skipped)});
  }
  if (s.cutOff) out += "\n" + text.Text(kMsgCutOff);
  if (s.NothingApplied()) out += "\n" + text.Text(kMsgNothingApplied);
  // A partial import is easy to miss in the per-section lines: the count of
  // records left out stands on a line of its own.
  else if (s.SomeSkipped()) out += "\n" + FillEntryText(text.Text(kMsgSkipped), {std::to_string(s.Skipped())});
  return out;
}

}  // namespace vb420

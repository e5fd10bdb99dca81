// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/plan/SettingsText.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "data/ModelChange.h"
#include "data/ModelRecord.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneFixups.h"
#include "lang/DelimitedText.h"
#include "lang/TextNames.h"
#include "lang/TextTable.h"

namespace vb420::settingstext {

namespace {

// Decimals are written and read with '.', whatever the user chose for the
// windows; the codec's choice comes back when the work is done.
class PointDecimals {
 public:
  explicit PointDecimals(RadioData& data) : data_(data), saved_(data.field.DecimalSeparator()) {
    data.field.SetDecimalSeparator('.');
  }
  ~PointDecimals() { data_.field.SetDecimalSeparator(saved_); }
  PointDecimals(const PointDecimals&) = delete;
  PointDecimals& operator=(const PointDecimals&) = delete;

 private:
  RadioData& data_;
  char saved_;
};

enum class Kind { Skip, Field, Raw, Model, Band, Bad };

struct Line {
  int number = 0;
  Kind kind = Kind::Skip;
  std::string key;
  std::string text;
  bool markedDisabled = false;
  // Raw runs.
  bool ext = false;
  size_t address = 0;
  std::vector<uint8_t> bytes;
  // Refused while reading.
  Reason reason = Reason::UnknownKey;
  int firstLine = 0;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// raw.image.0xADDR / raw.ext.0xADDR with HEX: false with the reason when
// the line is not a sound raw run.
bool ParseRaw(Line& l) {
  std::string_view k = l.key;
  if (k.rfind("raw.image.", 0) == 0) {
    k.remove_prefix(10);
    l.ext = false;
  } else if (k.rfind("raw.ext.", 0) == 0) {
    k.remove_prefix(8);
    l.ext = true;
  } else {
    l.reason = Reason::BadRaw;
    return false;
  }
  l.reason = Reason::BadRaw;
  if (k.size() < 3 || k.size() > 10 || k[0] != '0' || (k[1] != 'x' && k[1] != 'X')) return false;
  size_t address = 0;
  for (char c : k.substr(2)) {
    const int v = HexDigit(c);
    if (v < 0) return false;
    address = address * 16 + static_cast<size_t>(v);
  }
  const std::string& hex = l.text;
  if (hex.empty() || hex.size() % 2 != 0 || hex.size() / 2 > kRawRunBytes) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    l.bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  l.address = address;
  const size_t size = l.ext ? kExtSize : kImageSize;
  if (address >= size || l.bytes.size() > size - address) {
    l.reason = Reason::RawOutside;
    return false;
  }
  return true;
}

// Whether a listing is a whole programming: it begins with the format line.
bool WholeProgramming(std::string_view listing) {
  const std::string_view first = kFirstLine;
  return listing.substr(0, first.size()) == first &&
         (listing.size() == first.size() || listing[first.size()] == '\n' || listing[first.size()] == '\r');
}

// Splits a listing into its lines and refuses what no store may see.
std::vector<Line> ReadLines(std::string_view listing) {
  std::vector<Line> out;
  std::map<std::string, int> seen;
  size_t at = 0;
  int number = 0;
  while (at < listing.size()) {
    ++number;
    const size_t end = listing.find('\n', at);
    const bool cut = end == std::string_view::npos;
    std::string_view raw = listing.substr(at, cut ? std::string_view::npos : end - at);
    at = cut ? listing.size() : end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line l;
    l.number = number;
    auto bad = [&](Reason r) {
      l.kind = Kind::Bad;
      l.reason = r;
    };
    if (raw.size() > kMaxLineLength) {
      l.key = std::string(raw.substr(0, 40));
      bad(Reason::TooLong);
    } else if (ValidUtf8(raw) != raw) {
      l.key = ValidUtf8(raw.substr(0, 40));
      bad(Reason::NotUtf8);
    } else if (cut) {
      l.key = std::string(raw);
      bad(Reason::CutOff);
    } else if (raw.empty() || raw.find_first_not_of(" \t") == std::string_view::npos) {
      continue;
    } else if (raw[0] == '#') {
      // The format line names its version: another one is not read.
      if (raw.rfind(kFormatPrefix, 0) == 0 && raw != kFirstLine) {
        l.key = std::string(raw);
        bad(Reason::OtherFormat);
      } else {
        continue;
      }
    } else {
      const size_t eq = raw.find('=');
      if (eq == std::string_view::npos) {
        l.key = std::string(raw);
        bad(Reason::NotKeyText);
      } else {
        l.key = std::string(raw.substr(0, eq));
        l.text = std::string(raw.substr(eq + 1));
        const std::string_view mark = kDisabledMark;
        if (l.text.size() >= mark.size() && l.text.compare(l.text.size() - mark.size(), mark.size(), mark) == 0) {
          l.text.resize(l.text.size() - mark.size());
          l.markedDisabled = true;
        }
        if (const auto [it, fresh] = seen.emplace(l.key, number); !fresh) {
          l.firstLine = it->second;
          bad(Reason::Repeated);
        } else if (l.key == "model") {
          l.kind = Kind::Model;
        } else if (l.key == "band") {
          l.kind = Kind::Band;
        } else if (l.key.rfind("raw.", 0) == 0) {
          if (ParseRaw(l)) l.kind = Kind::Raw;
          else bad(l.reason);
        } else {
          l.kind = Kind::Field;
        }
      }
    }
    out.push_back(std::move(l));
  }
  return out;
}

RefusedLine Refusal(const Line& l, Reason r, int message = 0) {
  return {l.number, l.key, l.text, r, message, l.firstLine};
}

Reason ReasonOf(forms::SettingStatus st) {
  switch (st) {
    case forms::SettingStatus::Disabled: return Reason::Disabled;
    case forms::SettingStatus::BadValue: return Reason::BadValue;
    case forms::SettingStatus::Refused: return Reason::Refused;
    default: return Reason::UnknownKey;
  }
}

bool Offers(int model, int band) {
  const std::vector<uint8_t>& bands = ModelTable(model).bands;
  return std::find(bands.begin(), bands.end(), band) != bands.end();
}

// The band a programming of `model` gets: `wanted` when the model has it,
// else the model's first.
int BandFor(int model, int wanted) { return Offers(model, wanted) ? wanted : ModelTable(model).bands.front(); }

// The model and band a listing names (-1 each when it names none); an
// unknown name, or a band the model (the listing's or `fallbackModel`) does
// not have, is refused and taken as not named.
void ReadModel(const std::vector<Line>& lines, ApplyReport& r, int fallbackModel) {
  const Line* bandLine = nullptr;
  for (const Line& l : lines) {
    if (l.kind == Kind::Model) {
      r.listingModel = ModelNumberOfName(l.text);
      if (r.listingModel < 0) r.refused.push_back(Refusal(l, Reason::BadModel));
    } else if (l.kind == Kind::Band) {
      r.listingBand = BandCodeOfText(l.text);
      bandLine = &l;
    }
  }
  const int model = r.listingModel >= 0 ? r.listingModel : fallbackModel;
  if (bandLine && (r.listingBand < 0 || !Offers(model, r.listingBand))) {
    r.refused.push_back(Refusal(*bandLine, Reason::BadModel));
    r.listingBand = -1;
  }
}

// Stores the field lines and raw runs: each record's first field before the
// other fields, so that a line may name a record the listing creates later;
// lines that cannot be stored yet (a header of a zone not made yet, a field
// another line enables) are tried again while any line gets stored.
void StoreLines(const std::vector<Line>& lines, RadioData& data, TextTable& text, ApplyReport& r) {
  std::vector<const Line*> first, rest;
  for (const Line& l : lines) {
    if (l.kind == Kind::Bad) r.refused.push_back(Refusal(l, l.reason));
    if (l.kind != Kind::Field) continue;
    const forms::FieldDescriptor* d = l.markedDisabled ? nullptr : forms::SettingDescriptor(data, l.key);
    (d && d->recordKey ? first : rest).push_back(&l);
  }
  std::vector<std::pair<const Line*, RefusedLine>> failed;
  auto store = [&](const Line& l) -> bool {
    forms::SettingLine out;
    int message = 0;
    const forms::SettingStatus st = forms::SetSetting(data, text, l.key, l.text, out, message, /*exactTones=*/true);
    if (st == forms::SettingStatus::Ok) {
      ++r.applied;
      return true;
    }
    // A field the listing itself shows as disabled is not stored: its bytes
    // come back through the raw runs.
    if (st == forms::SettingStatus::Disabled && l.markedDisabled) return true;
    failed.emplace_back(&l, Refusal(l, ReasonOf(st), message));
    return false;
  };
  for (const Line* l : first) store(*l);
  for (auto& f : failed) r.refused.push_back(f.second);  // a record that could not be made
  std::vector<const Line*> pending = rest;
  for (;;) {
    std::vector<const Line*> again;
    std::vector<std::pair<const Line*, RefusedLine>> kept;
    bool progress = false;
    failed.clear();
    for (const Line* l : pending) progress |= store(*l);
    for (auto& [l, refusal] : failed) {
      if (refusal.reason == Reason::UnknownKey || refusal.reason == Reason::Disabled) again.push_back(l);
      else kept.push_back({l, refusal});
    }
    for (auto& k : kept) r.refused.push_back(k.second);
    if (again.empty()) break;
    if (!progress) {
      for (auto& [l, refusal] : failed)
        if (refusal.reason == Reason::UnknownKey || refusal.reason == Reason::Disabled) r.refused.push_back(refusal);
      break;
    }
    pending = std::move(again);
  }
  for (const Line& l : lines) {
    if (l.kind != Kind::Raw) continue;
    ByteArea a = l.ext ? data.Ext() : data.Image();
    if (!a.InRange(l.address, l.bytes.size())) {
      r.refused.push_back(Refusal(l, Reason::RawOutside));
      continue;
    }
    a.write(l.address, l.bytes.data(), l.bytes.size());
    ++r.applied;
  }
  std::sort(r.refused.begin(), r.refused.end(),
            [](const RefusedLine& a, const RefusedLine& b) { return a.line < b.line; });
}

void Finish(ApplyReport& r, RadioData& data, const std::vector<uint8_t>& image, const std::vector<uint8_t>& ext,
            const ApplyOptions& options) {
  if (r.refused.empty()) {
    r.result = ApplyResult::Ok;
    return;
  }
  r.result = ApplyResult::Refused;
  if (options.keepGoing) return;
  data.Image().write(0, image.data(), image.size());
  data.Ext().write(0, ext.data(), ext.size());
  data.SyncCodecs();
  r.applied = 0;
}

std::string Hex2(uint8_t b) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

// One line per 16-byte block that holds differing bytes, from its first to
// its last differing byte: runs stay where they are when bytes around them
// change, so that a diff of two listings shows only what changed.
void RawRuns(const char* area, ByteArea want, ByteArea have, std::string& out) {
  const size_t size = want.size();
  for (size_t block = 0; block < size; block += kRawRunBytes) {
    const size_t end = std::min(size, block + kRawRunBytes);
    size_t first = end, last = block;
    for (size_t i = block; i < end; ++i)
      if (want.u8(i) != have.u8(i)) {
        first = std::min(first, i);
        last = i;
      }
    if (first == end) continue;
    char head[40];
    std::snprintf(head, sizeof head, "raw.%s.0x%04zX=", area, first);
    out += head;
    for (size_t i = first; i <= last; ++i) out += Hex2(want.u8(i));
    out += '\n';
  }
}

// A field's text on one line of the listing: control characters (a damaged
// name) would break the line, so they become '?'; the field's bytes then
// come back through a raw run.
std::string OneLine(std::string s) {
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return s;
}

}  // namespace

std::string ModelName(int model) { return model >= 0 && model < kModelCount ? ModelTable(model).name : ""; }

std::string BandText(int bandCode) {
  const int i = BandIndexOfCode(static_cast<uint8_t>(bandCode));
  return i >= 0 ? BandTable(i).text : "";
}

void MakeNewProgramming(RadioData& data, int model, uint8_t bandCode) {
  ModelBytes bytes = kDefaultModelBytes;
  data.model.SetBytes(bytes);
  data.model.SetModel(model);
  data.model.SetBandCode(bandCode);
  ResetToNewImage(data);
  data.SyncCodecs();
}

ApplyReport ApplyListing(std::string_view listing, RadioData& data, TextTable& text, const ApplyOptions& options) {
  ApplyReport r;
  r.dataModel = data.model.ModelNumber();
  r.dataBand = data.model.BandCode();
  const std::vector<Line> lines = ReadLines(listing);
  ReadModel(lines, r, r.dataModel);
  const int model = r.listingModel >= 0 ? r.listingModel : r.dataModel;
  const uint8_t band = static_cast<uint8_t>(BandFor(model, r.listingBand >= 0 ? r.listingBand : r.dataBand));
  const bool otherModel = model != r.dataModel || band != r.dataBand;
  if (otherModel && !options.modelChange) {
    // Refused before anything is judged: the lines were written for another radio.
    r.listingModel = model;
    r.listingBand = band;
    r.result = ApplyResult::OtherModel;
    return r;
  }
  if (!r.refused.empty() && !options.keepGoing) {
    r.result = ApplyResult::Refused;
    return r;
  }
  const std::vector<uint8_t> image = data.buffers.ImageBytes();
  const std::vector<uint8_t> ext = data.buffers.ExtBytes();
  if (WholeProgramming(listing)) {
    // A whole programming replaces this one: its raw runs name addresses of
    // its own layout, which only a programming made from its lines has. The
    // saved state stays what it was: the text is a change still to be saved.
    const uint8_t* si = data.buffers.SnapshotImage().ptr(0, kImageSize);
    const uint8_t* se = data.buffers.SnapshotExt().ptr(0, kExtSize);
    const std::vector<uint8_t> savedImage(si, si + kImageSize), savedExt(se, se + kExtSize);
    MakeNewProgramming(data, model, band);
    data.buffers.SnapshotImage().write(0, savedImage.data(), kImageSize);
    data.buffers.SnapshotExt().write(0, savedExt.data(), kExtSize);
  } else if (otherModel) {
    const ModelChangePlan plan = PlanModelChange(data, text, model, band);
    ModelChangeHooks hooks;
    WireZoneFixups(hooks, data);
    ApplyModelChange(data, model, band, plan.flags, hooks);
    data.SyncCodecs();
  }
  PointDecimals point(data);
  StoreLines(lines, data, text, r);
  Finish(r, data, image, ext, options);
  return r;
}

ApplyReport NewFromListing(std::string_view listing, RadioData& data, TextTable& text, const ApplyOptions& options,
                           int defaultModel) {
  ApplyReport r;
  const std::vector<Line> lines = ReadLines(listing);
  ReadModel(lines, r, defaultModel);
  if (!r.refused.empty() && !options.keepGoing) {
    r.result = ApplyResult::Refused;
    return r;
  }
  const int model = r.listingModel >= 0 ? r.listingModel : defaultModel;
  const int band = BandFor(model, r.listingBand >= 0 ? r.listingBand : -1);
  const std::vector<uint8_t> image = data.buffers.ImageBytes();
  const std::vector<uint8_t> ext = data.buffers.ExtBytes();
  MakeNewProgramming(data, model, static_cast<uint8_t>(band));
  r.dataModel = model;
  r.dataBand = band;
  PointDecimals point(data);
  StoreLines(lines, data, text, r);
  Finish(r, data, image, ext, options);
  if (r.result == ApplyResult::Ok || options.keepGoing) data.buffers.TakeSnapshot();
  return r;
}

std::string BuildListing(RadioData& data, TextTable& text) {
  PointDecimals point(data);
  std::string head = std::string(kFirstLine) + "\n";
  head += "model=" + ModelName(data.model.ModelNumber()) + "\n";
  head += "band=" + BandText(data.model.BandCode()) + "\n";
  std::vector<forms::SettingLine> settings;
  (void)forms::ListSettings(data, text, std::string(), settings);
  std::vector<std::string> fieldLines;
  fieldLines.reserve(settings.size());
  for (const forms::SettingLine& s : settings) {
    std::string line = s.key + "=" + OneLine(s.text) + (s.enabled ? "" : kDisabledMark);
    if (line.size() <= kMaxLineLength) fieldLines.push_back(std::move(line));
  }
  // What the field lines make of a new programming: a line the rules refuse
  // (a damaged value no text of its field stores) is left out, and the
  // lines are tried again without it, until every line is taken. The bytes
  // that then differ are the raw runs.
  RadioData replay(&text);
  replay.votingSwitch = data.votingSwitch;
  std::string body;
  for (int round = 0; round < 8; ++round) {
    body.clear();
    for (const std::string& l : fieldLines) body += l + "\n";
    const ApplyReport r = NewFromListing(head + body, replay, text, ApplyOptions{.keepGoing = true});
    if (r.refused.empty()) break;
    std::vector<bool> drop(fieldLines.size() + 8, false);
    // Line numbers count the three head lines.
    for (const RefusedLine& f : r.refused)
      if (f.line > 3 && static_cast<size_t>(f.line - 4) < fieldLines.size()) drop[static_cast<size_t>(f.line - 4)] = true;
    std::vector<std::string> kept;
    for (size_t i = 0; i < fieldLines.size(); ++i)
      if (!drop[i]) kept.push_back(std::move(fieldLines[i]));
    fieldLines = std::move(kept);
  }
  std::string raw;
  RawRuns("image", data.Image(), replay.Image(), raw);
  RawRuns("ext", data.Ext(), replay.Ext(), raw);
  return head + body + raw;
}

std::string ReasonText(const RefusedLine& r, TextTable& text) {
  auto with = [&](int entry, const std::string& value) {
    std::string t = text.Text(entry);
    if (const size_t at = t.find("%s"); at != std::string::npos) t.replace(at, 2, value);
    return t;
  };
  std::string reason;
  switch (r.reason) {
    case Reason::UnknownKey: reason = text.Text(text::kNoSuchSetting); break;
    case Reason::Disabled: reason = text.Text(text::kCannotBeChangedOn); break;
    case Reason::BadValue: reason = text.Text(text::kIsNotOneOf); break;
    case Reason::Refused: reason = text.Text(text::kTheChangeWasRefused); break;
    case Reason::Repeated: reason = with(text::kTheKeyWasGiven, std::to_string(r.firstLine)); break;
    case Reason::TooLong: reason = with(text::kTheLineIsLonger, std::to_string(kMaxLineLength)); break;
    case Reason::NotUtf8: reason = text.Text(text::kTheLineIsNot); break;
    case Reason::CutOff: reason = text.Text(text::kTheLastLineHas); break;
    case Reason::RawOutside: reason = text.Text(text::kTheRawRunReaches); break;
    case Reason::BadRaw: reason = text.Text(text::kNotARawRun); break;
    case Reason::NotKeyText: reason = text.Text(text::kNotAKeyText); break;
    case Reason::OtherFormat: reason = text.Text(text::kASettingsTextOf); break;
    case Reason::BadModel: reason = text.Text(text::kNoModelOrBand); break;
  }
  if (r.message > 0) reason += " (" + text.Text(r.message) + ")";
  return reason;
}

std::string RefusedLineText(const RefusedLine& r, TextTable& text) {
  std::string t = text.Text(text::kLineSSS);
  const std::string what = r.text.empty() && r.reason != Reason::UnknownKey ? r.key : r.key + "=" + r.text;
  for (const std::string& v : {std::to_string(r.line), what, ReasonText(r, text)}) {
    const size_t at = t.find("%s");
    if (at == std::string::npos) break;
    t.replace(at, 2, v);
  }
  return t;
}

std::string OtherModelText(const ApplyReport& r, TextTable& text) {
  std::string t = text.Text(text::kTheSettingsTextIs);
  const int listingModel = r.listingModel >= 0 ? r.listingModel : r.dataModel;
  const int listingBand = r.listingBand >= 0 ? r.listingBand : r.dataBand;
  for (const std::string& v : {ModelName(listingModel), BandText(listingBand), ModelName(r.dataModel), BandText(r.dataBand)}) {
    const size_t at = t.find("%s");
    if (at == std::string::npos) break;
    t.replace(at, 2, v);
  }
  return t;
}

}  // namespace vb420::settingstext

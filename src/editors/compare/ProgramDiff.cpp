// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/compare/ProgramDiff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420::compare {

using forms::FieldDescriptor;
using forms::FieldSet;
using forms::FieldSets;

namespace {

// Words for the parts of a zone key, and the entries they come from.
constexpr int kZoneWord = 378;
constexpr int kChannelWord = 376;
constexpr int kGroupWord = 391;
constexpr int kRepeaterWord = 67;

// Places the zone memory manager keeps in step with the zones: the zone
// table and area, the area directory's block words, and the extension
// tables that follow the zones and the global channel numbering. A zone
// deleted or a channel inserted moves bytes in all of them; the differences
// are reported as zones, records and fields.
struct Region {
  bool ext;
  size_t from, to;  // to excluded
};
constexpr Region kZoneStructure[] = {
    {false, dir::kFirstBlockWord, dir::kLastBlockWord + 2},
    {false, img::kZoneTable, img::kZoneArea},
    {false, img::kZoneArea, img::kZoneAreaEnd},
    {true, ext::kEntryBits, ext::kEntryBits + 16},
    {true, ext::kEntryBytes, ext::kEntryBytes + 128},
    {true, ext::kChanBitsA, ext::kChanBitsA + 64},
    {true, ext::kChanBitsB, ext::kChanBitsB + 64},
    {true, ext::kZoneBits, ext::kZoneBits + 16},
    {true, ext::kZoneLists, ext::kZoneLists + 128 * ext::kZoneListSize},
    {true, ext::kZoneBytes, ext::kZoneBytes + 128},
    {true, ext::kChanBytes, ext::kChanBytes + 512},
    // Rows whose fields store through their own rules (a frequency with its
    // step codes, a message line with its length).
    {false, img::kTestFreqs, img::kTestFreqs + img::kTestFreqRows * img::kTestFreqRowSize},
    {false, img::kTuningFreqs, img::kTuningFreqs + img::kTuningFreqRows * img::kTuningFreqRowSize},
    {true, ext::kMessageLine1, ext::kMessagePassword + 6},
};

struct Listed {
  std::vector<std::string> prefixes;                       // in listing order, once each
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> fields;  // prefix -> (key, text)
};

Listed List(RadioData& data, TextTable& text) {
  std::vector<forms::SettingLine> lines;
  forms::ListSettings(data, text, {}, lines);
  Listed out;
  for (auto& l : lines) {
    const size_t dot = l.key.rfind('.');
    std::string prefix = dot == std::string::npos ? std::string() : l.key.substr(0, dot);
    auto [it, added] = out.fields.try_emplace(prefix);
    if (added) out.prefixes.push_back(prefix);
    it->second.emplace_back(std::move(l.key), std::move(l.text));
  }
  return out;
}

// "zone.3.ch.17" -> "zone.3": the owner whose going takes every record with it.
std::string Owner(const std::string& prefix) {
  const size_t first = prefix.find('.');
  if (first == std::string::npos) return prefix;
  const size_t second = prefix.find('.', first + 1);
  return second == std::string::npos ? prefix : prefix.substr(0, second);
}

bool StartsWith(const std::string& s, const std::string& head) {
  return s.size() >= head.size() && s.compare(0, head.size(), head) == 0;
}

void Records(const Listed& from, const Listed& other, DiffLine::Kind kind, std::vector<DiffLine>& out) {
  std::set<std::string> ownersDone;
  for (const std::string& p : from.prefixes) {
    if (other.fields.count(p)) continue;
    const std::string owner = Owner(p);
    if (owner != p && !ownersDone.count(owner)) {
      // The whole owner went (or came) when the other side has nothing under it.
      bool otherHasAny = false;
      for (const std::string& q : other.prefixes)
        if (q == owner || StartsWith(q, owner + ".")) {
          otherHasAny = true;
          break;
        }
      if (!otherHasAny) {
        ownersDone.insert(owner);
        out.push_back({kind, owner, {}, {}, 0, 0});
        continue;
      }
    }
    if (ownersDone.count(owner)) continue;
    // The owner's own record (a zone's type, zone.3) stands for all of it.
    if (owner == p) ownersDone.insert(owner);
    out.push_back({kind, p, {}, {}, 0, 0});
  }
}

std::string Hex(const uint8_t* p, size_t n) {
  std::string s;
  const size_t shown = std::min<size_t>(n, 16);
  char buf[4];
  for (size_t i = 0; i < shown; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", p[i]);
    if (i) s += ' ';
    s += buf;
  }
  if (shown < n) s += " ...";
  return s;
}

void Mark(std::vector<bool>& bits, size_t base, size_t areaSize, size_t from, size_t count) {
  for (size_t i = from; i < from + count && i < areaSize; ++i) bits[base + i] = true;
}

void MarkFields(RadioData& data, TextTable& text, std::vector<bool>& bits) {
  for (const FieldSet& set : FieldSets()) {
    for (const forms::FieldSetRecord& r : set.records(data)) {
      auto bound = set.bind(data, text, r.cursor);
      if (!bound) continue;
      const forms::FormContext& ctx = bound->Context();
      for (const FieldDescriptor& d : *set.fields) {
        if (d.field.area == forms::Area::None) continue;
        forms::FormEngine::Place place;
        if (!forms::FormEngine::Resolve(ctx, d.field, place)) continue;
        size_t width = static_cast<size_t>(std::max(1, d.field.width));
        const int tw = std::max(d.textWidth, d.textWidthGen2);
        switch (d.encoding) {
          case forms::Encoding::Name: width = std::max<size_t>(width, static_cast<size_t>(tw)); break;
          case forms::Encoding::LengthText: width = std::max<size_t>(width, 1 + static_cast<size_t>(tw)); break;
          case forms::Encoding::Digits: width = std::max<size_t>(width, 1 + static_cast<size_t>(tw + 1) / 2); break;
          default: break;
        }
        const bool ext = d.field.area == forms::Area::Ext;
        Mark(bits, ext ? kImageSize : 0, ext ? kExtSize : kImageSize, place.offset, width);
      }
    }
  }
}

std::string Label(TextTable& text, int entry) {
  std::string s = entry >= 0 ? text.Text(entry) : std::string();
  s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
  if (const size_t tab = s.find('\t'); tab != std::string::npos) s.resize(tab);
  while (!s.empty() && (s.back() == ':' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

std::vector<bool> DescribedBytes(RadioData& a, RadioData& b, TextTable& text) {
  std::vector<bool> bits(kImageSize + kExtSize, false);
  for (const Region& r : kZoneStructure)
    Mark(bits, r.ext ? kImageSize : 0, r.ext ? kExtSize : kImageSize, r.from, r.to - r.from);
  MarkFields(a, text, bits);
  MarkFields(b, text, bits);
  return bits;
}

std::vector<DiffLine> DiffProgrammings(RadioData& a, RadioData& b, TextTable& text, bool withBytes) {
  std::vector<DiffLine> out;
  const Listed la = List(a, text);
  const Listed lb = List(b, text);
  Records(la, lb, DiffLine::Kind::Removed, out);
  Records(lb, la, DiffLine::Kind::Added, out);
  for (const std::string& p : la.prefixes) {
    auto other = lb.fields.find(p);
    if (other == lb.fields.end()) continue;
    std::map<std::string, const std::string*> second;
    for (const auto& [k, t] : other->second) second[k] = &t;
    for (const auto& [k, t] : la.fields.at(p)) {
      auto it = second.find(k);
      if (it == second.end()) {
        out.push_back({DiffLine::Kind::Field, k, t, {}, 0, 0});
        continue;
      }
      if (*it->second != t) out.push_back({DiffLine::Kind::Field, k, t, *it->second, 0, 0});
      second.erase(it);
    }
    // Fields the second side has on a record both have (a zone of another class).
    for (const auto& [k, t] : other->second)
      if (second.count(k)) out.push_back({DiffLine::Kind::Field, k, {}, t, 0, 0});
  }

  const uint8_t* ia = a.buffers.ImageBytes().data();
  const uint8_t* ib = b.buffers.ImageBytes().data();
  const uint8_t* ea = a.buffers.ExtBytes().data();
  const uint8_t* eb = b.buffers.ExtBytes().data();
  const bool anyByte = std::memcmp(ia, ib, kImageSize) != 0 || std::memcmp(ea, eb, kExtSize) != 0;
  if (!anyByte || !withBytes) return out;
  const std::vector<bool> described = DescribedBytes(a, b, text);
  for (int area = 0; area < 2; ++area) {
    const uint8_t* pa = area ? ea : ia;
    const uint8_t* pb = area ? eb : ib;
    const size_t size = area ? kExtSize : kImageSize;
    const size_t base = area ? kImageSize : 0;
    // The first bytes of the extension area are the program's own: files
    // and radios do not carry them.
    size_t i = area ? kExtBlockOffset : 0;
    while (i < size) {
      if (pa[i] == pb[i] || described[base + i]) {
        ++i;
        continue;
      }
      size_t end = i + 1;
      while (end < size && pa[end] != pb[end] && !described[base + end]) ++end;
      out.push_back({DiffLine::Kind::Bytes, area ? "ext" : "image", Hex(pa + i, end - i), Hex(pb + i, end - i), i,
                     end - 1});
      i = end;
    }
  }
  return out;
}

std::string FormatLine(const DiffLine& l) {
  char buf[48];
  switch (l.kind) {
    case DiffLine::Kind::Field: return l.key + ": " + l.first + " -> " + l.second;
    case DiffLine::Kind::Removed: return l.key + ": removed";
    case DiffLine::Kind::Added: return l.key + ": added";
    case DiffLine::Kind::Bytes:
      if (l.from == l.to) std::snprintf(buf, sizeof buf, " 0x%04zX: ", l.from);
      else std::snprintf(buf, sizeof buf, " 0x%04zX-0x%04zX: ", l.from, l.to);
      return l.key + buf + l.first + " -> " + l.second;
  }
  return l.key;
}

std::string DescribeKey(RadioData& data, TextTable& text, const std::string& key) {
  // Split into parts.
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t dot = key.find('.', start);
    parts.push_back(key.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  std::string record;
  size_t used = 0;
  if (parts.size() >= 2 && parts[0] == "zone") {
    record = Label(text, kZoneWord) + " " + parts[1];
    used = 2;
    if (parts.size() >= 3) {
      const std::string& kind = parts[2];
      used = 3;
      int word = -1;
      if (kind == "ch") word = kChannelWord;
      else if (kind == "group") word = kGroupWord;
      else if (kind == "rep") word = kRepeaterWord;
      if (word >= 0 && parts.size() >= 4) {
        record += " " + Label(text, word) + " " + parts[3];
        used = 4;
      }
    }
  }
  if (used >= parts.size()) return record.empty() ? key : record;
  // The rest is a field of some set: its label.
  const size_t dot = key.rfind('.');
  const std::string prefix = key.substr(0, dot);
  const std::string fieldKey = key.substr(dot + 1);
  for (const FieldSet& set : FieldSets()) {
    forms::RecordCursor c;
    if (!set.parse || !set.parse(data, prefix, c)) continue;
    for (const FieldDescriptor& d : *set.fields) {
      if (d.key != fieldKey || d.labelEntry < 0) continue;
      const std::string label = Label(text, d.labelEntry);
      if (label.empty()) break;
      return record.empty() ? label : record + " " + label;
    }
  }
  return record.empty() ? key : record + " " + fieldKey;
}

std::string DescribeChange(RadioData& data, TextTable& text, const std::vector<DiffLine>& lines) {
  if (lines.empty()) return {};
  if (lines.size() == 1 && lines[0].kind != DiffLine::Kind::Bytes) return DescribeKey(data, text, lines[0].key);
  // Several fields of one record (a frequency entry that also sets the
  // transmit frequency): the record.
  std::string prefix;
  for (const DiffLine& l : lines) {
    if (l.kind != DiffLine::Kind::Field) return {};
    const std::string p = l.key.substr(0, l.key.rfind('.'));
    if (!prefix.empty() && p != prefix) return {};
    prefix = p;
  }
  // The first field names the change: it is the one typed (the others follow it).
  return DescribeKey(data, text, lines.front().key);
}

}  // namespace vb420::compare

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/ReportContent.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <cstdio>
#include <memory>

#include "data/ImageLayout.h"
#include "lang/Platform.h"
#include "data/RadioData.h"
#include "editors/features/KeyFields.h"
#include "editors/forms/FieldSets.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"
#include "print/core/PassPortSettings.h"

namespace vb420::print {

namespace {

using forms::FieldDescriptor;
using forms::FieldSet;

// Text entries of the report's own lines.
constexpr int kTextTestTitle = 183;
constexpr int kTextTestBlock = 184;  // "... (%d bytes)"
constexpr int kTextTestOffset = 185;
constexpr int kTextContinued = 186;  // "(Continued)"
constexpr int kTextKeys = 619;
constexpr int kTextGidNumber = 1289, kTextGidName = 1290;
constexpr int kTextPassPortKeys = 1293;
constexpr int kTextAlertTone1 = 697;
constexpr int kTextScanList = 522;
constexpr int kTextZone = 378;
constexpr int kTextOptionBoard = 1172;
// Labels the test-mode window shows as well.
constexpr int kTextModel = 129, kTextTestChannel = 258, kTextRx = 247, kTextTx = 248, kTextSignalling = 301;

// What the zone list pages show: the columns of the Zone Information grids.
constexpr int kConvColumns[] = {382, 383, 385, 384, 386, 387, 388, 389, 390};
// The channel fields those conventional columns show.
constexpr int kConvFieldNumbers[] = {3, 4, 5, 6, 7, 8, 9, 14, 10};
constexpr int kLtrColumns[] = {392, 393, 394, 395, 387, 396, 389, 390, 397};
// A PassPort zone's talk-group list: the fields (by their window labels) and
// the report's headings for them; switches print as Enabled or Disabled.
constexpr int kPassPortFieldLabels[] = {1191, 1192, 1193, 1222, 365, 1194, 1195, 395};
constexpr int kPassPortHeadings[] = {kTextGidNumber, kTextGidName, 1193, 1222, 365, 1194, 1195, 395};
constexpr int kTextEnabled = 642, kTextDisabled = 1292;
constexpr int kTextScramblerCode = 435, kTextTalkBack = 828;

std::string Format(const char* fmt, int v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

// A field's label as the window shows it: its text entry, its literal, or
// both. Empty for a field the window shows without a label of its own (the
// second box of a pair, beside the labelled one): the report prints it on
// the line of the field before it.
std::string Label(TextTable& text, const FieldDescriptor& d) {
  std::string s = d.labelEntry >= 0 ? text.Text(d.labelEntry) : std::string();
  if (!d.labelText.empty()) s += (s.empty() ? "" : " ") + d.labelText;
  // Labels end in a colon on the forms; the report puts its own separator.
  while (!s.empty() && (s.back() == ':' || s.back() == ' ')) s.pop_back();
  size_t amp;
  while ((amp = s.find('&')) != std::string::npos) s.erase(amp, 1);
  return s;
}

// The value of an unlabelled field joins the line before it.
constexpr const char* kJoin = "  ";

bool IsSetting(const FieldDescriptor& d) { return !d.key.empty() && d.encoding != forms::Encoding::None; }

// The radio's read and overwrite passwords, the keypad lock code and the
// protected message's password are never put on paper: a report is handed
// to the customer.
constexpr uint32_t kKeypadLockCode = layout::features::kPasswordLock;
bool IsSecret(const FieldDescriptor& d) {
  const auto& f = d.field;
  if (f.area == forms::Area::Image && f.base == forms::RecordBase::None &&
      (f.offset == img::kReadPassword || f.offset == img::kOverwritePassword || f.offset == kKeypadLockCode))
    return true;
  if (f.area == forms::Area::Ext && f.base == forms::RecordBase::None &&
      (f.offset == ext::kMessagePasswordLength || f.offset == ext::kMessagePassword))
    return true;
  return d.key.find("password") != std::string::npos;
}

bool Printable(const FieldDescriptor& d) { return IsSetting(d) && !IsSecret(d); }

const FieldSet* FindSet(const std::string& name) {
  for (const FieldSet& s : forms::FieldSets())
    if (s.name == name) return &s;
  return nullptr;
}

// One printed line of a form section.
struct Line {
  bool subheading = false;
  std::string label, value;
  // A row of a list-like set: its cells under `columns` (shared by the rows
  // of one set).
  std::shared_ptr<const std::vector<std::string>> columns;
  std::vector<std::string> cells;
  // The first line of a record: its pairs start a block of their own.
  bool recordStart = false;
  // Rows of a list-like set under a caption of their own (the alert tone of
  // a step, the decoder of a grid row): a new caption starts a new table.
  std::string group;
};

// A set of several records with a few fields each reads best as a table.
constexpr size_t kMaxTableFields = 8;

// Captions of sets whose window page has one (the set itself has no title).
struct SetCaption {
  const char* set;
  int entry;
};
constexpr SetCaption kSetCaptions[] = {
    {"twotone-decode1", 731}, {"twotone-decode2", 732}, {"twotone-decode3", 733}, {"twotone-decode4", 734},
    {"scan-voting", 815},
};

int SetCaptionEntry(const std::string& set) {
  for (const SetCaption& c : kSetCaptions)
    if (set == c.set) return c.entry;
  return -1;
}

// A record's row label and caption as its window shows them: keys by their
// names under the table they belong to, alert-tone steps under their tone,
// decoder grid rows under their decoder, other rows by their number.
struct RowTitle {
  std::string label, group;
};

RowTitle RowTitleOf(RadioData& data, TextTable& text, const FieldSet& set, const forms::FieldSetRecord& r) {
  RowTitle t;
  if (set.name == "keys") {
    t.label = KeyLabel(data, text, r.cursor.record);
    t.group = text.Text(r.cursor.zone == 1 ? kTextPassPortKeys : kTextKeys);
    return t;
  }
  if (set.name == "alertstep" && r.cursor.zone >= 0 && r.cursor.zone < 8) t.group = text.Text(kTextAlertTone1 + r.cursor.zone);
  if (set.name == "twotone-dgrid" && r.cursor.zone >= 0 && r.cursor.zone < 4) t.group = text.Text(731 + r.cursor.zone);
  // The row's own number: the last part of its key prefix.
  const size_t dot = r.prefix.rfind('.');
  t.label = dot == std::string::npos ? r.prefix : r.prefix.substr(dot + 1);
  return t;
}

// Captions the window shows over a field of a set whose table has none.
struct FieldCaption {
  const char* set;
  const char* key;
  int entry;
};
constexpr FieldCaption kFieldCaptions[] = {
    {"ltr-zone", "prio1group", 499},  // Priority Group 1
    {"ltr-zone", "prio2group", 500},  // Priority Group 2
};

// Headings the window puts over a column whose fields have no label.
constexpr FieldCaption kColumnHeadings[] = {
    {"keys", "press", 889},   // Function
    {"keys", "second", 894},  // Second Function
};

// One record of a set as label-value lines: the window's captions over their
// fields, an unlabelled box beside the labelled one before it.
std::vector<Line> RecordLines(RadioData& data, TextTable& text, const FieldSet& set, forms::RecordCursor cursor) {
  std::vector<Line> lines;
  std::unique_ptr<forms::BoundRecord> b = set.bind(data, text, cursor);
  if (!b) return lines;
  if (const int caption = SetCaptionEntry(set.name); caption >= 0)
    lines.push_back({true, text.Text(caption), {}, nullptr, {}});
  for (const FieldDescriptor& d : *set.fields) {
    if (d.kind == forms::ControlKind::Caption && (d.labelEntry >= 0 || !d.labelText.empty())) {
      lines.push_back({true, Label(text, d), {}, nullptr, {}});
      continue;
    }
    if (!Printable(d)) continue;
    for (const FieldCaption& c : kFieldCaptions)
      if (set.name == c.set && d.key == c.key) lines.push_back({true, text.Text(c.entry), {}, nullptr, {}});
    std::string label = Label(text, d);
    std::string value = forms::SettingText(b->Context(), d);
    if (label.empty() && !lines.empty() && !lines.back().subheading) {
      if (!value.empty()) lines.back().value += kJoin + value;
      continue;
    }
    // A field without any label right after a caption: under the caption, by its place.
    if (label.empty()) label = Format("%d", static_cast<int>(lines.size()));
    lines.push_back({false, std::move(label), std::move(value), nullptr, {}});
  }
  // A caption with nothing under it says nothing.
  std::vector<Line> kept;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].subheading || (i + 1 < lines.size() && !lines[i + 1].subheading)) kept.push_back(lines[i]);
  if (!kept.empty()) kept.front().recordStart = true;
  return kept;
}

// Every control of every record of a set, as the window shows it: label and
// value lines per record, or one table row per record for a list-like set.
std::vector<std::vector<Line>> FormLines(RadioData& data, TextTable& text, const FieldSet& set) {
  std::vector<std::vector<Line>> out;
  const auto records = set.records(data);
  std::vector<const FieldDescriptor*> printable;
  for (const FieldDescriptor& d : *set.fields)
    if (Printable(d)) printable.push_back(&d);
  if (records.size() > 1 && !printable.empty() && printable.size() <= kMaxTableFields) {
    // An unlabelled field shares the column of the field before it.
    auto columns = std::make_shared<std::vector<std::string>>();
    columns->push_back(text.Text(359));
    std::vector<bool> joins;
    for (const FieldDescriptor* d : printable) {
      std::string l = Label(text, *d);
      for (const FieldCaption& c : kColumnHeadings)
        if (l.empty() && set.name == c.set && d->key == c.key) l = text.Text(c.entry);
      joins.push_back(l.empty() && columns->size() > 1);
      if (!joins.back()) columns->push_back(l);
    }
    std::vector<Line> rows;
    for (const forms::FieldSetRecord& r : records) {
      std::unique_ptr<forms::BoundRecord> b = set.bind(data, text, r.cursor);
      if (!b) continue;
      const RowTitle title = RowTitleOf(data, text, set, r);
      Line l;
      l.columns = columns;
      l.group = title.group;
      l.cells.push_back(title.label);
      for (size_t i = 0; i < printable.size(); ++i) {
        const std::string v = forms::SettingText(b->Context(), *printable[i]);
        if (joins[i]) l.cells.back() += v.empty() ? std::string() : kJoin + v;
        else l.cells.push_back(v);
      }
      rows.push_back(std::move(l));
    }
    out.push_back(std::move(rows));
    return out;
  }
  for (const forms::FieldSetRecord& r : records) {
    std::vector<Line> lines = RecordLines(data, text, set, r.cursor);
    if (!lines.empty()) out.push_back(std::move(lines));
  }
  return out;
}

// Lines into blocks: runs of pairs or of table rows, subheadings between them.
void AppendLines(const std::vector<Line>& lines, size_t from, size_t to, std::vector<Block>& blocks) {
  const std::vector<std::string>* table = nullptr;
  for (size_t i = from; i < to && i < lines.size(); ++i) {
    const Line& l = lines[i];
    if (l.subheading) {
      blocks.push_back({BlockKind::Subheading, l.label});
      table = nullptr;
      continue;
    }
    if (l.columns) {
      const bool newGroup = !l.group.empty() && (i == from || lines[i - 1].group != l.group);
      if (newGroup) blocks.push_back({BlockKind::Subheading, l.group});
      if (newGroup || table != l.columns.get() || blocks.empty() || blocks.back().kind != BlockKind::Table) {
        blocks.push_back({BlockKind::Table});
        blocks.back().columns = *l.columns;
        table = l.columns.get();
      }
      blocks.back().rows.push_back(l.cells);
      continue;
    }
    table = nullptr;
    if (blocks.empty() || blocks.back().kind != BlockKind::Pairs || l.recordStart) blocks.push_back({BlockKind::Pairs});
    blocks.back().pairs.emplace_back(l.label, l.value);
  }
}

// The sets of a section: each named set, then the sets whose names extend it
// with "-" (the further pages of the same window), in registration order.
std::vector<const FieldSet*> Family(std::initializer_list<const char*> names) {
  std::vector<const FieldSet*> out;
  for (const char* name : names) {
    const std::string base = name;
    for (const FieldSet& s : forms::FieldSets())
      if (s.name == base) out.push_back(&s);
    for (const FieldSet& s : forms::FieldSets())
      if (s.name.size() > base.size() + 1 && s.name.compare(0, base.size() + 1, base + "-") == 0) out.push_back(&s);
  }
  return out;
}

// The lines of page `page` of `pages`: runs of about equal length, each
// break moved to the nearest caption so that a group (a caption and its
// lines) stays on one page.
std::pair<size_t, size_t> PageRun(const std::vector<Line>& all, int page, int pages) {
  const size_t per = (all.size() + static_cast<size_t>(pages) - 1) / static_cast<size_t>(std::max(1, pages));
  auto boundary = [&](int k) -> size_t {
    if (k <= 0) return 0;
    if (k >= pages) return all.size();
    const size_t target = std::min(all.size(), per * static_cast<size_t>(k));
    for (size_t d = 0; d <= per / 2; ++d) {
      if (target >= d && target - d < all.size() && all[target - d].subheading) return target - d;
      if (target + d < all.size() && all[target + d].subheading) return target + d;
    }
    return target;
  };
  const size_t from = boundary(page);
  return {from, std::max(from, boundary(page + 1))};
}

// A form section spread over its pages: one record to a page when the sets
// have as many records as the section has pages, otherwise the lines in
// equal runs.
void FormPage(RadioData& data, TextTable& text, const std::vector<const FieldSet*>& sets, int page, int pages,
              std::vector<Block>& out) {
  std::vector<std::vector<Line>> records;
  for (const FieldSet* set : sets) {
    auto r = FormLines(data, text, *set);
    records.insert(records.end(), std::make_move_iterator(r.begin()), std::make_move_iterator(r.end()));
  }
  if (records.empty()) return;
  if (static_cast<int>(records.size()) == pages) {
    AppendLines(records[static_cast<size_t>(page)], 0, records[static_cast<size_t>(page)].size(), out);
    return;
  }
  std::vector<Line> all;
  for (const auto& r : records) all.insert(all.end(), r.begin(), r.end());
  const auto [from, to] = PageRun(all, page, pages);
  AppendLines(all, from, to, out);
}

// A column of a table: the field and its heading.
struct Column {
  const FieldDescriptor* field;
  std::string heading;
};

// Every setting of a set, headed by its label.
std::vector<Column> AllColumns(TextTable& text, const FieldSet& set) {
  std::vector<Column> out;
  for (const FieldDescriptor& d : *set.fields)
    if (Printable(d)) out.push_back({&d, Label(text, d)});
  return out;
}

// The columns of a Zone Information grid: the fields whose labels are the
// grid's captions (or, with `numbers`, the fields of those numbers), in the
// grid's order and under its captions; every setting when none is found.
std::vector<Column> GridColumns(TextTable& text, const FieldSet& set, const int* captions, const int* numbers,
                                size_t n, const int* headings = nullptr) {
  std::vector<Column> out;
  for (size_t i = 0; i < n; ++i)
    for (const FieldDescriptor& d : *set.fields)
      if (Printable(d) && (numbers ? d.number == numbers[i] : d.labelEntry == captions[i])) {
        out.push_back({&d, headings ? text.Text(headings[i]) : numbers ? text.Text(captions[i]) : Label(text, d)});
        break;
      }
  return out.empty() ? AllColumns(text, set) : out;
}

// Rows [first, first + count) of the set's records (only those of `zone`
// when zone >= 0) as a table; the first column is the record number.
Block TableRows(RadioData& data, TextTable& text, const FieldSet& set, const std::vector<Column>& columns, int zone,
                int first, int count, const std::string& emptyText, const char* numberFormat,
                bool switchWords = false) {
  Block b{BlockKind::Table};
  b.columns.push_back(text.Text(359));
  for (const Column& c : columns) b.columns.push_back(c.heading);
  int index = 0;
  for (const forms::FieldSetRecord& r : set.records(data)) {
    if (zone >= 0 && r.cursor.zone != zone) continue;
    if (index++ < first) continue;
    if (index > first + count) break;
    std::unique_ptr<forms::BoundRecord> bound = set.bind(data, text, r.cursor);
    if (!bound) continue;
    std::vector<std::string> row{Format(numberFormat, r.cursor.record + 1)};
    for (const Column& c : columns) {
      std::string v = forms::SettingText(bound->Context(), *c.field);
      if (switchWords && c.field->kind == forms::ControlKind::Check)
        v = text.Text(forms::FormEngine::Checked(bound->Context(), *c.field) ? kTextEnabled : kTextDisabled);
      row.push_back(v.empty() ? emptyText : v);
    }
    b.rows.push_back(std::move(row));
  }
  return b;
}

std::string MessageLine(RadioData& data, TextTable& text, const char* setName, int line) {
  const FieldSet* set = FindSet(setName);
  if (!set) return {};
  for (const forms::FieldSetRecord& r : set->records(data)) {
    std::unique_ptr<forms::BoundRecord> b = set->bind(data, text, r.cursor);
    if (!b) continue;
    // The password of the protected message is never printed: only the lines.
    for (const FieldDescriptor& d : *set->fields)
      if (d.number == line && Printable(d)) return forms::SettingText(b->Context(), d);
  }
  return {};
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  size_t a = 0;
  while (a < s.size() && s[a] == ' ') ++a;
  return s.substr(a);
}

}  // namespace

std::string ShortDate(const std::tm& tm, const std::string& language) {
  // The short date of the program's language: day first in Spanish, month
  // first in English; two-digit year.
  char buf[32];
  const int d = tm.tm_mday, m = tm.tm_mon + 1, y = tm.tm_year % 100;
  if (language == "Spanish") std::snprintf(buf, sizeof buf, "%d/%d/%02d", d, m, y);
  else std::snprintf(buf, sizeof buf, "%d/%d/%02d", m, d, y);
  return buf;
}

std::string ReportDateTime(std::time_t when, const std::string& language) {
  const std::tm tm = LocalTime(when);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %02d:%02d:%02d", ShortDate(tm, language).c_str(), tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return buf;
}

std::string ZoneNameText(RadioData& data, int zone) {
  CZoneMemory zones(data);
  const ZoneLayout L = zones.ZoneInfo(zone);
  if (!L.exists) return {};
  const int at = L.offset + (L.cls == kClassConv ? 5 : 6);
  const int width = data.model.NameWidth();
  std::string s;
  ByteArea image = data.Image();
  for (int i = 0; i < width && at + i < L.offset + L.size; ++i) {
    const uint8_t c = image.u8(static_cast<size_t>(at + i));
    if (c == 0) break;
    s.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  return Trimmed(s);
}

PageHeader BuildHeader(RadioData& data, TextTable& text, const PrintOptions& options, const std::string& dateTime) {
  PageHeader h;
  char buf[512];
  std::snprintf(buf, sizeof buf, "%s   %s :", text.Text(134).c_str(), dateTime.c_str());
  h.dateLine = buf;
  std::snprintf(buf, sizeof buf, "MARDEKO %s %s", "VB-420", text.Text(131).c_str());
  h.title = buf;
  if (options.On(kOptModelBlock)) {
    h.modelBlock = true;
    h.modelLabel = text.Text(129);
    h.modelText = data.model.ShortDescription(text);
    h.bandLabel = text.Text(130);
    const int band = data.model.BandIndex();
    h.bandText = band >= 0 ? BandTable(band).text : std::string();
  }
  if (options.On(kOptMessageBlock)) {
    h.messageBlock = true;
    h.messageLabel = text.Text(211);
    h.message1 = MessageLine(data, text, "message", 1);
    h.message2 = MessageLine(data, text, "message", 2);
  }
  if (options.On(kOptPassMessageBlock)) {
    h.passMessageBlock = true;
    h.passMessageLabel = text.Text(349);
    h.passMessage1 = MessageLine(data, text, "passmessage", 1);
    h.passMessage2 = MessageLine(data, text, "passmessage", 2);
  }
  return h;
}

ReportBuilder::ReportBuilder(RadioData& data, TextTable& text, const PrintOptions& options, bool landscape,
                             std::string dateTime)
    : data_(data), text_(text), options_(options), landscape_(landscape), dateTime_(std::move(dateTime)) {
  header_ = BuildHeader(data_, text_, options_, dateTime_);
  plan_ = BuildPagePlan(data_, options_, landscape_);
}

PageContent ReportBuilder::Page(int index) const {
  PageContent page;
  if (index < 0 || index >= PageCount()) return page;
  page.entry = plan_[static_cast<size_t>(index)];
  page.header = header_;
  page.header.pageNumber = Format("%d", index + 1);
  if (page.entry.section == 0) return page;  // nothing chosen
  page.sectionTitle = text_.Text(SectionTitleEntry(page.entry.section));
  // A portable has no extended-function connector: its section 9 is the option board.
  if (page.entry.section == 9 && data_.model.IsPortable()) page.sectionTitle = text_.Text(kTextOptionBoard);
  if (page.entry.section == 14) {
    page.zonePage = true;
    ZoneBody(page.entry, page);
  } else {
    SectionBody(page.entry, page);
  }
  return page;
}

void ReportBuilder::SectionBody(const PageEntry& e, PageContent& page) const {
  const int pages = SectionPageCount(data_, options_, landscape_, e.section);
  auto form = [&](std::initializer_list<const char*> names, int pageInSet, int pagesOfSet) {
    const auto sets = Family(names);
    FormPage(data_, text_, sets, pageInSet, pagesOfSet, page.blocks);
  };
  switch (e.section) {
    case 1: form({"features"}, e.index, pages); break;
    case 2: form({"keys", "keysetup"}, e.index, pages); break;
    case 3: {
      const int settingsPages = ScanSettingsPages(data_, landscape_);
      if (e.index < settingsPages) {
        // Portrait: the scan and the voting settings on one page; landscape
        // with voting: one page each.
        if (settingsPages == 2) {
          // Each on its page once: the scan family holds the voting set too.
          auto sets = Family({e.index == 0 ? "scan" : "scan-voting"});
          if (e.index == 0)
            std::erase_if(sets, [](const FieldSet* s) { return s->name.rfind("scan-voting", 0) == 0; });
          FormPage(data_, text_, sets, 0, 1, page.blocks);
        } else {
          form({"scan"}, 0, 1);
        }
        break;
      }
      // The scan lists: one row per zone that has one, as many pages as needed.
      const auto rows = ScanListRows(data_);
      const int per = ScanListRowsPerPage(landscape_);
      Block t{BlockKind::Table};
      t.columns = {text_.Text(kTextZone), text_.Text(kTextScanList)};
      int last = -1;
      for (size_t i = static_cast<size_t>((e.index - settingsPages) * per);
           i < rows.size() && i < static_cast<size_t>((e.index - settingsPages + 1) * per); ++i) {
        const ScanListRow& r = rows[i];
        std::string head;
        if (r.zone != last) {
          head = Format("%d", r.zone + 1);
          const std::string name = ZoneNameText(data_, r.zone);
          if (!name.empty()) head += "  " + name;
          last = r.zone;
        }
        t.rows.push_back({head, r.zones});
      }
      page.blocks.push_back({BlockKind::Subheading, text_.Text(kTextScanList)});
      page.blocks.push_back(std::move(t));
      break;
    }
    case 4: form({"dtmf"}, e.index, pages); break;
    case 5: form({"twotone"}, e.index, pages); break;
    case 6: {
      const int rows = ListRowsPerPage(landscape_);
      const int idPages = (IdListRecords(data_) + rows - 1) / rows;
      if (e.index < 5) {
        form({"vantelix"}, e.index, 5);
        break;
      }
      const bool id = e.index - 5 < idPages;
      const char* name = id ? "idlist" : "status";
      const int first = (id ? e.index - 5 : e.index - 5 - idPages) * rows;
      const FieldSet* set = FindSet(name);
      if (!set) break;  // every set is registered at start (RegisterCore)
      page.blocks.push_back(TableRows(data_, text_, *set, AllColumns(text_, *set), -1, first, rows, {}, "%d"));
      break;
    }
    case 7: {
      // One alert tone to a page: its settings and its steps.
      const FieldSet* tone = FindSet("alert");
      const FieldSet* steps = FindSet("alertstep");
      if (!tone) break;  // every set is registered at start (RegisterCore)
      auto records = FormLines(data_, text_, *tone);
      if (e.index < static_cast<int>(records.size())) {
        page.blocks.push_back({BlockKind::Subheading, text_.Text(kTextAlertTone1 + e.index)});
        AppendLines(records[static_cast<size_t>(e.index)], 0, records[static_cast<size_t>(e.index)].size(), page.blocks);
      }
      if (steps) {
        auto rows = FormLines(data_, text_, *steps);
        std::vector<Line> mine;
        for (const auto& r : rows)
          for (const Line& l : r)
            if (l.group == text_.Text(kTextAlertTone1 + e.index)) mine.push_back(l);
        for (Line& l : mine) l.group.clear();  // the page's own caption says which tone
        AppendLines(mine, 0, mine.size(), page.blocks);
      }
      break;
    }
    case 8: form({"emergency"}, e.index, pages); break;
    case 9:
      if (data_.model.IsPortable()) form({"optboard"}, e.index, pages);
      else form({"extfunc"}, e.index, pages);
      break;
    case 10: {
      const FieldSet* set = FindSet("testfreq");
      if (!set) break;
      page.blocks.push_back(
          TableRows(data_, text_, *set, AllColumns(text_, *set), -1, 0, 16, "--------------", "%2d"));
      break;
    }
    case 13: form({"special"}, e.index, pages); break;  // the technician setting
    default: break;
  }
}

void ReportBuilder::ZoneBody(const PageEntry& e, PageContent& page) const {
  CZoneMemory zones(data_);
  const ZoneLayout L = zones.ZoneInfo(e.zone);
  char buf[256];
  std::snprintf(buf, sizeof buf, "%s   %d", text_.Text(378).c_str(), e.zone + 1);
  Block zoneLine{BlockKind::Pairs};
  zoneLine.pairs.emplace_back(buf, ZoneNameText(data_, e.zone));
  zoneLine.fixedFace = true;
  page.blocks.push_back(zoneLine);

  if (e.zoneKind == ZonePageKind::Settings) {
    if (L.cls == kClassPassPort) {
      const auto lines = PassPortSettingLines(data_, text_, e.zone);
      // A damaged header gives no lines at all.
      const size_t split =
          landscape_ && lines.size() > kPassPortSecondPageLines ? lines.size() - kPassPortSecondPageLines : lines.size();
      Block b{BlockKind::Pairs};
      b.fixedFace = true;
      if (e.zonePage == 0) {
        b.pairs.assign(lines.begin(), lines.begin() + static_cast<long>(split));
      } else {
        page.blocks.push_back({BlockKind::Subheading, text_.Text(463) + " " + text_.Text(kTextContinued)});
        b.pairs.assign(lines.begin() + static_cast<long>(split), lines.end());
      }
      page.blocks.push_back(b);
      return;
    }
    if (L.cls == kClassLtr && e.zonePage == 2) {
      if (const FieldSet* set = FindSet("repeater")) {
        Block t = TableRows(data_, text_, *set, AllColumns(text_, *set), e.zone, 0, zones::kMaxRepeaters, {}, "%d");
        t.fixedFace = true;
        page.blocks.push_back(t);
      }
      return;
    }
    const char* name = L.cls == kClassLtr ? "ltr-zone" : "conv-zone";
    const int settingsPages = L.cls == kClassLtr ? 2 : (landscape_ && ConvZoneOption14(data_, e.zone) ? 2 : 1);
    const FieldSet* set = FindSet(name);
    if (!set) return;
    std::vector<Line> lines;
    for (const forms::FieldSetRecord& r : set->records(data_)) {
      if (r.cursor.zone != e.zone) continue;
      auto l = RecordLines(data_, text_, *set, r.cursor);
      lines.insert(lines.end(), l.begin(), l.end());
    }
    if (!lines.empty()) lines.front().recordStart = false;  // the zone's one record continues the zone line
    const auto [from, to] = PageRun(lines, e.zonePage, settingsPages);
    std::vector<Block> blocks;
    AppendLines(lines, from, to, blocks);
    for (Block& b : blocks) {
      b.fixedFace = true;
      page.blocks.push_back(b);
    }
    return;
  }

  // List pages: the zone's print parts, a few to a page.
  const char* name = L.cls == kClassConv ? "channel" : L.cls == kClassLtr ? "ltr-group" : "passport-group";
  const FieldSet* set = FindSet(name);
  if (!set) return;
  const bool passPort = L.cls == kClassPassPort;
  const int* captions = L.cls == kClassConv ? kConvColumns : L.cls == kClassLtr ? kLtrColumns : kPassPortFieldLabels;
  auto fields = GridColumns(text_, *set, captions, L.cls == kClassConv ? kConvFieldNumbers : nullptr,
                            passPort ? std::size(kPassPortFieldLabels) : 9, passPort ? kPassPortHeadings : nullptr);
  if (passPort && fields.size() == std::size(kPassPortFieldLabels)) {
    // A talk group takes a global channel number like a channel: its
    // scrambler code and talk-back switch are the channel tables' entries
    // for it (the channel set's fields, bound to the talk group).
    if (const FieldSet* channel = FindSet("channel")) {
      for (const FieldDescriptor& d : *channel->fields) {
        // Before Transmit, the list's last column of its own.
        if (d.key == "scramblecode")
          fields.insert(fields.begin() + static_cast<long>(std::size(kPassPortFieldLabels) - 1),
                        {&d, text_.Text(kTextScramblerCode)});
        if (d.key == "talkback") fields.push_back({&d, text_.Text(kTextTalkBack)});
      }
    }
  }
  const int firstPart = e.zonePage * PartsPerPage(landscape_);
  const int parts = ZonePrintParts(data_, e.zone);
  for (int p = firstPart; p < firstPart + PartsPerPage(landscape_) && p < parts; ++p) {
    Block t = TableRows(data_, text_, *set, fields, e.zone, p * kRecordsPerPart, kRecordsPerPart, {}, "%d", passPort);
    t.fixedFace = true;
    page.blocks.push_back(t);
  }
}

PageContent BuildTestModePage(RadioData& data, TextTable& text, const TestReportInput& in, const std::string& dateTime) {
  PageContent page;
  PrintOptions o = PrintOptions::Defaults();
  o.Set(kOptMessageBlock, false);
  o.Set(kOptPassMessageBlock, false);
  page.header = BuildHeader(data, text, o, dateTime);
  page.header.pageNumber = "1";
  page.sectionTitle = text.Text(kTextTestTitle);
  Block id{BlockKind::Pairs};
  auto label = [&](int entry) {
    std::string l = text.Text(entry);
    while (!l.empty() && (l.back() == ':' || l.back() == ' ')) l.pop_back();
    return l;
  };
  id.pairs.emplace_back(label(kTextModel), in.modelNumber >= 0 && in.modelNumber < kModelCount
                                               ? ModelRecord::DisplayNameOf(in.modelNumber, text)
                                               : std::string("--"));
  id.pairs.emplace_back(label(kTextTestChannel), Format("%d", in.channel + 1));
  id.pairs.emplace_back(label(kTextRx), in.channelRx.empty() ? std::string("--------------") : in.channelRx);
  id.pairs.emplace_back(label(kTextTx), in.channelTx.empty() ? std::string("--------------") : in.channelTx);
  id.pairs.emplace_back(label(kTextSignalling), Format("%d", in.signalling + 1));
  page.blocks.push_back(id);
  char buf[256];
  std::snprintf(buf, sizeof buf, text.Text(kTextTestBlock).c_str(), static_cast<int>(in.block.size()));
  page.blocks.push_back({BlockKind::Subheading, buf});
  Block hex{BlockKind::Table};
  hex.fixedFace = true;
  hex.columns.push_back(text.Text(kTextTestOffset));
  for (int c = 0; c < 16; ++c) hex.columns.push_back(Format("+%X", c));
  for (size_t row = 0; row < in.block.size(); row += 16) {
    std::vector<std::string> cells{Format("%03X", static_cast<int>(row))};
    for (size_t c = 0; c < 16; ++c)
      cells.push_back(row + c < in.block.size() ? Format("%02X", in.block[row + c]) : std::string());
    hex.rows.push_back(std::move(cells));
  }
  page.blocks.push_back(hex);
  return page;
}

}  // namespace vb420::print

// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/forms/FieldsDoc.h"

#include <cstdio>

#include "editors/forms/FieldSets.h"
#include "lang/TextTable.h"

namespace vb420::forms {

namespace {

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, v > 0xFF ? "0x%04X" : "0x%02X", v);
  return buf;
}

const char* KindName(ControlKind k) {
  switch (k) {
    case ControlKind::Combo: return "list";
    case ControlKind::EditCombo: return "editable list";
    case ControlKind::EditSpin: return "number box";
    case ControlKind::Text: return "text box";
    case ControlKind::Check: return "check box";
    default: return "other";
  }
}

const char* EncodingName(Encoding e) {
  switch (e) {
    case Encoding::Value: return "value";
    case Encoding::Number: return "number";
    case Encoding::SignMagnitude: return "signed";
    case Encoding::Scaled: return "decimal";
    case Encoding::Name: return "name";
    case Encoding::LengthText: return "text";
    case Encoding::Digits: return "digits";
    case Encoding::Custom: return "custom";
    default: return "";
  }
}

const char* BaseName(RecordBase b) {
  switch (b) {
    case RecordBase::ZoneHeader: return "zone header ";
    case RecordBase::Record: return "record ";
    case RecordBase::Repeater: return "repeater ";
    case RecordBase::ListRow: return "list row ";
    case RecordBase::ZoneByte: return "per-zone byte ";
    case RecordBase::ZoneBit: return "per-zone bit ";
    case RecordBase::ChannelByte: return "per-channel byte ";
    case RecordBase::ChannelBit: return "per-channel bit ";
    default: return "";
  }
}

std::string Where(const FieldDescriptor& d) {
  const FieldRef& r = d.field;
  if (r.area == Area::None) return "(see the field's own rule)";
  std::string s = r.area == Area::Ext ? "ext " : "";
  const bool table = r.base == RecordBase::ZoneByte || r.base == RecordBase::ZoneBit ||
                     r.base == RecordBase::ChannelByte || r.base == RecordBase::ChannelBit;
  s += BaseName(r.base);
  s += table ? "table " + Hex(r.offset) : (r.base == RecordBase::None ? Hex(r.offset) : "+" + std::to_string(r.offset));
  if (!table) {
    if (r.width == 2) s += " word";
    if (r.bit >= 0) s += r.bits > 1 ? " bits " + std::to_string(r.bit) + "-" + std::to_string(r.bit + r.bits - 1)
                                    : " bit " + std::to_string(r.bit);
    if (r.bitHigh >= 0) s += " and bit " + std::to_string(r.bitHigh);
  }
  return s;
}

std::string Cell(std::string s) {
  std::string out;
  for (char c : s) {
    if (c == '|') out += "\\|";
    else if (c == '\n') out += ' ';
    else out += c;
  }
  return out;
}

}  // namespace

std::string FieldsMarkdown(TextTable& text) {
  std::string md =
      "# Field keys\n\n"
      "Generated from the field tables; do not edit by hand. After changing a table, write it again with\n"
      "`VB420_WRITE_FIELDS_DOC=1 build/tests/test_zones --gtest_filter=FieldsDocument.*`.\n\n"
      "`vb420cli settings FILE.dat [--editor NAME] [KEY[=TEXT] ...]` lists, shows and sets these fields.\n"
      "A key is the record prefix and the field key; numbers in keys are 1-based (Z a zone, N a record).\n"
      "Rows list the stored value and its text; ranges in stored units.\n";
  for (const FieldSet& set : FieldSets()) {
    const bool header = set.recordKind == "header";
    md += "\n## " + set.name + "\n\n";
    if (set.keyPattern.empty()) md += "Keys: `zone.Z." + set.recordKind + (header ? "" : ".N") + ".KEY`\n\n";
    else md += "Keys: " + set.keyPattern + "\n\n";
    md += "| key | no. | label | control | where | encoding | range | empty | rows |\n";
    md += "|---|---|---|---|---|---|---|---|---|\n";
    for (const FieldDescriptor& d : *set.fields) {
      if (d.key.empty()) continue;
      std::string range;
      if (d.encoding == Encoding::Number) {
        range = d.dynamicMinimum || d.dynamicMaximum ? "by model"
                                                     : std::to_string(d.minimum) + " to " + std::to_string(d.maximum);
        if (d.dynamicMaximum && !d.dynamicMinimum) range = std::to_string(d.minimum) + " to (by model)";
      } else if (d.encoding == Encoding::Name) {
        range = std::to_string(d.textWidth) + " characters (" + std::to_string(d.textWidthGen2) + " second generation)";
      }
      std::string empty;
      if (d.emptyValue >= 0)
        empty = Hex(static_cast<uint32_t>(d.emptyValue)) + (d.emptyTextEntry >= 0 ? " \"" + text.Text(d.emptyTextEntry) + "\"" : "");
      std::string rows;
      if (d.dynamicChoices) rows = "(from the image)";
      for (const Choice& c : d.choices) {
        if (!rows.empty()) rows += ", ";
        rows += Hex(static_cast<uint32_t>(c.value)) + " " + (c.textEntry >= 0 ? text.Text(c.textEntry) : c.literal);
      }
      std::string flags = d.recordKey ? " (creates the record)" : "";
      const std::string was = d.oldKey.empty() ? "" : " (was `" + d.oldKey + "`)";
      md += "| `" + d.key + "`" + was + " | " + (d.number >= 0 ? std::to_string(d.number) : "") + " | " +
            Cell(d.labelEntry >= 0 ? text.Text(d.labelEntry) : "") + " | " + KindName(d.kind) + " | " + Cell(Where(d)) +
            " | " + EncodingName(d.encoding) + flags + " | " + range + " | " + Cell(empty) + " | " + Cell(rows) + " |\n";
    }
  }
  return md;
}

}  // namespace vb420::forms

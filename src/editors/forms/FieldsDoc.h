// SPDX-License-Identifier: GPL-3.0-or-later
// docs/FIELDS.md is written from the registered field sets, so the document
// and the tables cannot drift apart: a test compares the file with this text
// and tells how to write it again.
#pragma once

#include <string>

namespace vb420 {
class TextTable;
}

namespace vb420::forms {

// The whole document: per field set, its key pattern and a table of its
// fields (key, number, label, control, where the value lives, encoding,
// range, empty value, rows). Labels and row texts come from `text`.
std::string FieldsMarkdown(TextTable& text);

}  // namespace vb420::forms

// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated text as the language file and the channel-list export use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vb420 {

// Turns every quoted section of `text` into plain text: the enclosing quotes go,
// a comma inside becomes the two characters "\a" and a line break the two
// characters "\n", and a doubled quote is one literal quote. A quoted section
// that opens with three quotes opens with a literal quote. Works on a single
// line or on a whole file.
std::string UnfoldQuotedFields(std::string_view text);

// Field `n` of an unfolded line: the text after the n-th comma up to the next
// comma (field 0 starts the line). A field past the last comma is empty.
std::string DelimitedField(std::string_view line, int n);

// All fields of an unfolded line.
std::vector<std::string> SplitDelimited(std::string_view line);

// Position of the first field equal to `value`, or -1.
int FindDelimitedField(std::string_view line, std::string_view value);

// A field ready to be written: quoted, with its quotes doubled, when it holds a
// quote or a comma.
std::string QuoteDelimitedField(std::string_view field);

// Number of line-feed characters.
int CountLines(std::string_view text);

// Expands the escapes "\n", "\t" and "\a" into a line feed, a tab and a comma.
std::string ExpandTextEscapes(std::string_view text);

// `text` as valid UTF-8: every byte that does not belong to a well-formed
// sequence becomes U+FFFD. Texts read from an image (a damaged name) are
// passed through this before they leave the program as text.
std::string ValidUtf8(std::string_view text);

// `text` cut to at most `maxBytes` bytes for a fixed-width field. Well-formed
// UTF-8 (what is typed) is cut before a character that does not fit whole, so
// no broken character is stored; other text (single-byte characters from an
// older file) is cut at `maxBytes`.
std::string CutText(std::string_view text, size_t maxBytes);

}  // namespace vb420

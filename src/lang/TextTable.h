// SPDX-License-Identifier: GPL-3.0-or-later
// The text table: every user-interface text of one language, looked up by
// entry index, loaded from the language file vb420.lng.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vb420 {

struct LanguageInfo {
  int key;               // what the Language setting stores
  const char* name;      // as it stands in the file's "*Language" row
  int textEntry;         // entry holding the language's display name
  const char* helpFile;  // help book of that language
};

// The two languages the program knows.
const std::vector<LanguageInfo>& Languages();
const LanguageInfo* LanguageByKey(int key);
const LanguageInfo* LanguageByName(std::string_view name);

// Fills the "%s" of a text entry with `args` in order; an entry without
// placeholders gets the arguments on lines of their own after it.
std::string FillEntryText(std::string_view pattern, const std::vector<std::string>& args);

class TextTable {
 public:
  static constexpr int kEntryCount = 1349;
  static constexpr const char* kFileName = "vb420.lng";
  static constexpr const char* kMsgCaption = "VB-420";
  static constexpr const char* kMsgNotFound =
      "Can't read language file.  Please install this software again.";
  static constexpr const char* kMsgDamaged =
      "Language file has been damaged.  Please install this software again.";

  enum class LoadResult { Ok = 0, NotFound = 1, Damaged = 2 };

  TextTable();

  // Reads the file at `path` for `language`. On NotFound the table is left as
  // it was; on Damaged it holds what was read before the fault was found.
  LoadResult LoadFile(const std::string& path, std::string_view language);
  // The same from text already in memory (line ends may be CR LF).
  LoadResult LoadText(std::string_view text, std::string_view language);

  // Text of an entry with "\n", "\t" and "\a" expanded; empty for an index
  // outside the table. The reference stays valid until the table is reloaded.
  const std::string& Text(int index);
  // Shorthand used all over the program.
  const std::string& operator[](int index) { return Text(index); }
  // The entry's text in every language of the file, in the order of the
  // language row (escapes expanded). A file written in another language
  // holds these words: the channel-plan import reads them back.
  std::vector<std::string> TextsInEveryLanguage(int index) const;

  bool Complete() const { return complete_; }
  // Every entry index the program has asked for since the table was made,
  // over reloads too: the check that the shipped file has a text for each
  // entry the program shows builds on it.
  const std::vector<bool>& AskedEntries() const { return asked_; }
  std::string CurrentLanguage() const;
  // Position of `name` in the language row, 0 when it is not there.
  int ColumnOf(std::string_view name) const;
  int Column() const { return column_; }
  const std::vector<std::string>& LanguageRow() const { return languageRow_; }
  const std::vector<std::string>& FontRow() const { return fontRow_; }
  const std::string& Path() const { return path_; }

  // Entry index of an eight-digit identifier, -1 when it is none of ours.
  static int IndexOfIdentifier(std::string_view identifier);
  // The identifier of an entry, as written in the file.
  static std::string IdentifierOf(int index);

  // Looks for the language file in each folder in turn; empty when absent.
  static std::string FindFile(const std::vector<std::string>& folders);

 private:
  std::vector<std::string> entries_;
  std::vector<std::string> lines_;  // each entry's whole line, every language
  std::vector<bool> expanded_;
  std::vector<bool> asked_;
  std::vector<std::string> languageRow_;
  std::vector<std::string> fontRow_;
  std::string path_;
  int column_ = 1;
  bool complete_ = false;
};

}  // namespace vb420

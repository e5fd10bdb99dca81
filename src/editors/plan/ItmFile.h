// SPDX-License-Identifier: GPL-3.0-or-later
// The channel plan as comma-separated text (".itm"): the export writer and
// the import reader.
//
// Export reads every value as the editor windows show it; import stores every
// value through the settings-by-key operations the windows' cells use, so a
// value is validated exactly as if it had been typed. Which window field a
// column goes to is the one table `ItmColumnKeys()`.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "data/FileAccess.h"  // ReadWholeFile, for the callers that read an import file

namespace vb420 {

class RadioData;
class TextTable;

namespace itm {

// The reader's vocabulary: record types 1..7, column names 8..27.
enum Code : int {
  kNone = 0,
  kCnvData = 1, kLtrData, kRepData, kFltList, kFltSt, k5ToneSel, k5ToneSt,
  kZn = 8, kCh, kGid, kRxf, kTxf, kRxSig, kTxSig, kEncId, kDecId, kTel, kArea, kHome, kNum, kSts, kName, kInh,
  kCode, kMsg, kFleet, kId,
};
// Code of a vocabulary word, kNone for any other text (case matters).
int CodeOf(std::string_view word);
const char* WordOf(int code);

// The five sections in the order they are written.
enum Section : int { kSecConv = 0, kSecLtr, kSecRep, kSecIdList, kSecStatus, kSectionCount };

constexpr const char* kFirstLine = "MARDEKO ZEL";
constexpr const char* kDefaultName = "vb420.itm";

}  // namespace itm

// Where a column of a section lives in the field sets: the record prefix
// pattern ("zone.%d.ch.%d", "idlist.%d") and the field key. A column whose key
// no registered set knows is left empty on export and not applied on import.
struct ItmColumnKey {
  int section;
  int column;         // itm::Code
  const char* key;    // field key within the record
  // The value belongs to the record's zone header rather than to the record
  // (the home repeater and the area of an LTR zone, written on every
  // repeater line of the zone).
  bool zoneHeader = false;
};
const std::vector<ItmColumnKey>& ItmColumnKeys();

// ---- export ------------------------------------------------------------------

// The whole file, CR LF line ends.
std::string BuildItmText(RadioData& data, TextTable& text);

// Export results, as the File menu reports them: 0 written, 1 the file could
// not be created, 3 a write failed (nothing is left behind either way).
enum class ExportResult : int { Ok = 0, CannotCreate = 1, WriteFailed = 3 };
struct [[nodiscard]] ExportStatus {
  ExportResult result = ExportResult::Ok;
  FileStatus file;  // the file operation's own account (path, errno)
  bool ok() const { return result == ExportResult::Ok; }
};
// Writes the file through a temporary file renamed over the target, so a
// failed export leaves no partial file and an existing file untouched.
ExportStatus ExportItmFile(const std::string& path, RadioData& data, TextTable& text);

// ---- import ------------------------------------------------------------------

struct ItmHeader {
  bool accepted = false;      // the first line is "MARDEKO ZEL"
  bool bandDiffers = false;
  bool languageDiffers = false;
  std::string fileBand;       // as the file states it
  std::string fileLanguage;
  size_t recordsAt = 0;       // where the first "$$" line starts
  bool Mismatch() const { return bandDiffers || languageDiffers; }
};

// Reads the header lines of `file` and compares band and language with the
// programming and the table's language.
ItmHeader ReadItmHeader(std::string_view file, RadioData& data, TextTable& text);
// The warning shown before a mismatching file is imported (text entries 122,
// 124, 125 and 123).
std::string ItmMismatchWarning(const ItmHeader& h, TextTable& text);

struct ItmSectionCount {
  int applied = 0;
  int skipped = 0;
};

struct ItmImportSummary {
  std::array<ItmSectionCount, itm::kSectionCount> sections{};
  int fiveToneIgnored = 0;   // records of the two 5-tone types (known, never applied)
  bool cutOff = false;       // the last line had no line end: not read
  int Applied() const;
  int Skipped() const;
  // No record was applied: the programming was left as it was.
  bool NothingApplied() const { return Applied() == 0; }
  // Records were applied and others left out (a cut-off last record counts):
  // the import is incomplete.
  bool SomeSkipped() const { return !NothingApplied() && Skipped() > 0; }
};

// The summary shown after an import, in the table's language: text entry 175,
// one line per section that had records (176), 177 for a cut-off file, and
// the notice that nothing was imported when no record was applied, or the
// count of skipped records (1252) when only some were.
std::string ItmSummaryText(const ItmImportSummary& s, TextTable& text);

// Import results, as the File menu reports them: 0 read (records that failed
// were skipped), 1 not started or the file could not be opened, 2 the header
// was refused or the user declined the mismatch warning.
enum class ImportResult : int { Ok = 0, NotOpened = 1, Refused = 2 };

// Applies the records of `file` (its header already read into `h`). When no
// record is applied the image and extension area are left as they were.
void ApplyItmRecords(std::string_view file, const ItmHeader& h, RadioData& data, TextTable& text,
                     ItmImportSummary& summary);

// The whole import of a file's text: header, the mismatch question
// (`confirm` gets the warning; false ends the import), records.
ImportResult ImportItmText(std::string_view file, RadioData& data, TextTable& text,
                           const std::function<bool(const std::string& warning)>& confirm,
                           ItmImportSummary& summary);

}  // namespace vb420

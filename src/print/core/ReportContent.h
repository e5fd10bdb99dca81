// SPDX-License-Identifier: GPL-3.0-or-later
// What each page of the printed report says, without any drawing: the page
// header and the section's blocks (headings, label-value pairs, tables,
// notes). The painter lays these out on paper, the preview and a PDF alike;
// the tests read them directly.
#pragma once

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "print/core/PagePlan.h"
#include "print/core/PrintOptions.h"

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::print {

enum class BlockKind {
  Subheading,  // a caption inside a section
  Pairs,       // label and value, one per line
  Table,       // column headings and rows
  Note,        // a line of text
};

struct Block {
  Block() = default;
  Block(BlockKind k, std::string t = {}) : kind(k), text(std::move(t)) {}  // NOLINT: braces build blocks tersely

  BlockKind kind = BlockKind::Note;
  std::string text;  // subheading and note
  std::vector<std::pair<std::string, std::string>> pairs;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  bool fixedFace = false;  // drawn in the fixed-pitch face (zone pages, messages)
};

struct PageHeader {
  std::string pageNumber;  // "%d"
  std::string dateLine;    // the printed-on text and the date and time
  std::string title;       // "MARDEKO VB-420 ..."
  bool modelBlock = false;
  std::string modelLabel, modelText, bandLabel, bandText;
  bool messageBlock = false;
  std::string messageLabel, message1, message2;
  bool passMessageBlock = false;
  std::string passMessageLabel, passMessage1, passMessage2;
};

struct PageContent {
  PageEntry entry;
  PageHeader header;
  std::string sectionTitle;
  std::vector<Block> blocks;
  bool zonePage = false;  // the body is drawn in the fixed-pitch face
};

// The date and time line of every page, taken once per print: the short date
// in the order of the program's language (`language` as the text table names
// it) and the time.
std::string ShortDate(const std::tm& tm, const std::string& language);
std::string ReportDateTime(std::time_t when, const std::string& language);

// The header blocks as the options ask for them; the same on every page but
// for the page number.
PageHeader BuildHeader(RadioData& data, TextTable& text, const PrintOptions& options, const std::string& dateTime);

class ReportBuilder {
 public:
  ReportBuilder(RadioData& data, TextTable& text, const PrintOptions& options, bool landscape, std::string dateTime);

  const std::vector<PageEntry>& Plan() const { return plan_; }
  int PageCount() const { return static_cast<int>(plan_.size()); }
  bool Landscape() const { return landscape_; }
  // Page `index` (0-based); out of range gives an empty page.
  PageContent Page(int index) const;

 private:
  void SectionBody(const PageEntry& e, PageContent& page) const;
  void ZoneBody(const PageEntry& e, PageContent& page) const;

  RadioData& data_;
  TextTable& text_;
  PrintOptions options_;
  bool landscape_;
  std::string dateTime_;
  PageHeader header_;
  std::vector<PageEntry> plan_;
};

// The page the test-mode Print makes from the radio's 149-byte test data
// block: the radio's identity, the test channel and signalling, and the block
// itself as labelled hexadecimal rows.
struct TestReportInput {
  int modelNumber = -1;
  int channel = 0;  // 0-based test channel
  std::string channelRx, channelTx;
  int signalling = 0;  // 0-based
  std::vector<unsigned char> block;
};
PageContent BuildTestModePage(RadioData& data, TextTable& text, const TestReportInput& in,
                              const std::string& dateTime);

// The zone name as the Zone Information window shows it.
std::string ZoneNameText(RadioData& data, int zone);

}  // namespace vb420::print

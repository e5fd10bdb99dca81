// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the printed report as a PDF file without a display: the command-line
// report uses this. The header is free of Qt so that the command-line tool
// can call it; the implementation paints with Qt on a QPdfWriter.
#pragma once

#include <string>

#include "print/core/PrintOptions.h"

namespace vb420 {
class RadioData;
class TextTable;
}  // namespace vb420

namespace vb420::print {

struct PdfResult {
  bool ok = false;
  int pages = 0;
  std::string error;
};

// `dateTime` is the line every page header carries (ReportDateTime()).
PdfResult WriteReportPdf(RadioData& data, TextTable& text, const PrintOptions& options, bool landscape,
                         const std::string& path, const std::string& dateTime);

}  // namespace vb420::print

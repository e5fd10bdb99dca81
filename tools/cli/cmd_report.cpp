// SPDX-License-Identifier: GPL-3.0-or-later
// The report verb: the printed report of a data file as a PDF, the same pages
// the program prints and previews, without a display.
//
//   vb420cli report FILE.dat -o REPORT.pdf [--landscape] [--sections LIST]
//                   [--zones FIRST-LAST] [--language N] [--voting]
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/messages/MessageFields.h"
#include "editors/testfreq/TestFreqFields.h"
#include "editors/zones/ZoneFields.h"
#include "lang/TextTable.h"
#include "print/core/PagePlan.h"
#include "print/core/PrintOptions.h"
#include "print/core/ReportContent.h"
#include "print/render/ReportPdf.h"

namespace vb420::cli {

namespace {

// "FIRST-LAST" or a single zone; each 1 to 128.
bool ParseZoneRange(const std::string& s, print::PrintOptions& o) {
  const size_t dash = s.find('-');
  long first = 0, last = 0;
  if (!ParseNumber(s.substr(0, dash), first)) return false;
  if (dash == std::string::npos) last = first;
  else if (!ParseNumber(s.substr(dash + 1), last)) return false;
  if (first < 1 || first > 128 || last < 1 || last > 128 || first > last) return false;
  o.values[print::kOptFirstZone] = static_cast<int>(first);
  o.values[print::kOptLastZone] = static_cast<int>(last);
  return true;
}

int CmdReport(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string out, sections, zones, language;
  const bool haveOut = TakeOption(args, "-o", out) || TakeOption(args, "--output", out);
  const bool landscape = TakeFlag(args, "--landscape");
  const bool voting = TakeFlag(args, "--voting");
  const bool haveSections = TakeOption(args, "--sections", sections);
  const bool haveZones = TakeOption(args, "--zones", zones);
  const bool haveLanguage = TakeOption(args, "--language", language);
  const bool pagesOnly = TakeFlag(args, "--pages");
  if (args.size() != 1 || (!haveOut && !pagesOnly))
    return Fail(kExitUsage,
                "report: FILE.dat -o REPORT.pdf [--landscape] [--sections LIST] [--zones FIRST-LAST] [--language N]");

  print::PrintOptions options = print::PrintOptions::Defaults();
  std::string bad;
  if (haveSections && !print::ParseSectionList(sections, options, bad))
    return Fail(kExitUsage, "report: unknown section \"" + bad +
                                "\" (sections 1-10, 13, 14, model, message, passmessage or all)");
  if (haveZones && !ParseZoneRange(zones, options))
    return Fail(kExitUsage, "report: --zones takes FIRST-LAST, each 1 to 128, FIRST not above LAST");
  if (haveLanguage) {
    long key = 0;
    const LanguageInfo* lang = ParseNumber(language, key) ? LanguageByKey(static_cast<int>(key)) : nullptr;
    if (!lang) return Fail(kExitUsage, "report: --language takes 1 (English) or 2 (Spanish)");
    setenv("VB420_LANGUAGE", lang->name, 1);
  }
  // The bench editors' tables are always there; linking them registers them.
  (void)zonefields::Fields(ZoneTable::Channel);
  (void)TestFreqFieldTable();
  (void)MessageFieldTable();

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  data.votingSwitch = voting;
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;
  data.SyncCodecs();

  if (pagesOnly) {
    std::cout << print::PageCount(data, options, landscape) << "\n";
    return kExitOk;
  }
  const print::PdfResult r =
      print::WriteReportPdf(data, text, options, landscape, out, print::ReportDateTime(std::time(nullptr), text.CurrentLanguage()));
  if (!r.ok) return Fail(kExitFailure, "report: " + r.error);
  std::cout << r.pages << " pages written to " << out << "\n";
  return kExitOk;
}

}  // namespace

void RegisterReportVerbs() {
  RegisterVerb({"report", "report FILE.dat -o REPORT.pdf [--landscape] [--sections LIST] [--zones FIRST-LAST] [--language N]",
                CmdReport,
                "Writes the printed report of FILE.dat as a PDF: the pages File > Print makes.\n"
                "  --landscape        landscape pages (portrait by default)\n"
                "  --sections LIST    comma-separated: 1-10, 13, 14 (sections), model, message,\n"
                "                     passmessage (page-header blocks) or all (the default)\n"
                "  --zones F-L        the zones of section 14 (1-128, default 1-128)\n"
                "  --language N       1 English (default), 2 Spanish\n"
                "  --voting           as the program started with the voting switch\n"
                "  --pages            print only the number of pages, write nothing\n"
                "Prints the number of pages written."});
}

}  // namespace vb420::cli

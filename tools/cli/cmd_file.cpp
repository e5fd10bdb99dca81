// SPDX-License-Identifier: GPL-3.0-or-later
// Data-file verbs: new, info, dump.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "data/RadioData.h"
#include "editors/plan/SettingsText.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

int CmdNew(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string out, modelName = "VT-1600", bandText;
  if (!TakeOption(args, "-o", out) && !TakeOption(args, "--output", out))
    return Fail(kExitUsage, "new: -o FILE.dat is required");
  TakeOption(args, "--model", modelName);
  const bool haveBand = TakeOption(args, "--band", bandText);
  std::string from;
  const bool haveFrom = TakeOption(args, "--from", from);
  settingstext::ApplyOptions options;
  options.keepGoing = TakeFlag(args, "--keep-going");
  if (!args.empty()) return Fail(kExitUsage, "new: unexpected argument \"" + args[0] + "\"");
  const int model = ModelNumberOfName(modelName);
  if (model < 0) return Fail(kExitUsage, "new: unknown model \"" + modelName + "\"");
  if (haveFrom) {
    // The listing names its model and band; --model is for one that does not.
    if (haveBand) return Fail(kExitUsage, "new: --band does not go with --from (the settings text names its band)");
    TextTable text, english;
    if (!LoadCliTexts(text) || !LoadCliTexts(english, "English")) return kExitFailure;
    std::string listing;
    if (!ReadInputText(from, listing)) return kExitFailure;
    RadioData data(&english);
    const settingstext::ApplyReport r = settingstext::NewFromListing(listing, data, english, options, model);
    int code = ReportListingApplied(r, text);
    if (r.Stored()) SaveDatForCli(out, data, &code);
    return code;
  }
  if (options.keepGoing) return Fail(kExitUsage, "new: --keep-going goes with --from");
  int band = ModelTable(model).bands.front();
  if (haveBand) {
    band = BandCodeOfText(bandText);
    ModelBytes probe{};
    if (band >= 0) {
      RadioData tmp;
      tmp.model.SetModel(model);
      tmp.model.SetBandCode(static_cast<uint8_t>(band));
      probe = tmp.model.Bytes();
    }
    if (band < 0 || !ModelRecord::IsKnownModel(probe))
      return Fail(kExitUsage, "new: band \"" + bandText + "\" is not available on " + modelName);
  }
  RadioData data;
  settingstext::MakeNewProgramming(data, model, static_cast<uint8_t>(band));
  int code = kExitOk;
  SaveDatForCli(out, data, &code);
  return code;
}

int CmdInfo(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  if (args.size() != 1) return Fail(kExitUsage, "info: one data file expected");
  RadioData data;
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  ByteArea image = data.Image();
  const int model = data.model.ModelNumber();
  const int bandIndex = data.model.BandIndex();
  std::cout << "model: " << (model >= 0 ? ModelTable(model).name : "unknown") << "\n";
  std::cout << "band: " << (bandIndex >= 0 ? BandTable(bandIndex).text : "unknown") << "\n";
  std::string version;
  for (int i = 0; i < 5; ++i) {
    const uint8_t c = image.u8(img::kVersion + i);
    version.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  std::cout << "version: " << version << "\n";
  CZoneMemory zones(data);
  int byClass[4] = {0, 0, 0, 0};
  int records = 0;
  for (const ZoneLayout& z : zones.Layout()) {
    if (!z.exists || z.cls < 0 || z.cls > 3) continue;
    ++byClass[z.cls];
    records += z.records;
  }
  std::cout << "zones: conventional " << byClass[kClassConv] << ", LTR " << byClass[kClassLtr] << ", PassPort "
            << byClass[kClassPassPort] << "\n";
  std::cout << "channels and groups: " << records << "\n";
  std::cout << "free zone bytes: " << zones.FreeBytes() << "\n";
  std::cout << "message 1: " << image.text(img::kEmbeddedMessage, 32) << "\n";
  std::cout << "message 2: " << image.text(img::kEmbeddedMessage + 32, 32) << "\n";
  return kExitOk;
}

int CmdDump(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  const bool useExt = TakeFlag(args, "--ext");
  if (args.size() != 3) return Fail(kExitUsage, "dump: FILE.dat [--ext] OFFSET LENGTH expected");
  long offset = 0, length = 0;
  if (!ParseNumber(args[1], offset) || !ParseNumber(args[2], length) || offset < 0 || length < 0)
    return Fail(kExitUsage, "dump: OFFSET and LENGTH must be numbers (decimal or 0x hex)");
  RadioData data;
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  ByteArea area = useExt ? data.Ext() : data.Image();
  if (!area.InRange(static_cast<size_t>(offset), static_cast<size_t>(length)))
    return Fail(kExitUsage, "dump: range outside the " + std::string(useExt ? "extension area" : "image"));
  std::string line;
  char hex[4];
  for (long i = 0; i < length; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", area.u8(static_cast<size_t>(offset + i)));
    if (!line.empty()) line.push_back(' ');
    line += hex;
    if ((i + 1) % 16 == 0) {
      std::cout << line << "\n";
      line.clear();
    }
  }
  if (!line.empty()) std::cout << line << "\n";
  return kExitOk;
}

}  // namespace

void RegisterFileVerbs() {
  RegisterVerb({"new", "new -o FILE.dat [--model NAME] [--band 136-174|450-520|400-470] [--from LIST.txt|- [--keep-going]]",
                CmdNew,
                "Create a data file with the default programming of a model (what File, New gives).\n"
                "  -o FILE.dat   the file to write (replaced atomically if it exists)\n"
                "  --model NAME  VT-1600, VT-1600H, VT-1602, VT-1602H, VT-2600, VT-2600H, VT-2602,\n"
                "                VT-2602H, VT-1400 or VT-2400 (default VT-1600)\n"
                "  --band BAND   136-174, 450-520 or 400-470; default: the model's first band\n"
                "  --from LIST   make the programming a settings text describes (see settings\n"
                "                --all; - reads standard input): a new programming of its model\n"
                "                and band with every line applied; a refused line is reported\n"
                "                with its number and nothing is written (exit 13)\n"
                "  --keep-going  with --from: write the accepted lines anyway (still exit 13)\n"
                "The file has no read or overwrite password."});
  RegisterVerb({"info", "info FILE.dat", CmdInfo,
                "Show what a data file holds: model, band, version field, zones by class, the\n"
                "total of channels and groups, the free zone memory and the two embedded-message\n"
                "lines. A file that Open would refuse is refused with the same message (exit 6\n"
                "for a model or version that is not accepted)."});
  RegisterVerb({"dump", "dump FILE.dat [--ext] OFFSET LENGTH", CmdDump,
                "Print bytes of a data file's memory image as upper-case hex pairs, 16 a line.\n"
                "  --ext            dump the extension area instead of the image\n"
                "  OFFSET LENGTH    decimal or 0x hexadecimal; the range must lie inside the area"});
}

}  // namespace vb420::cli

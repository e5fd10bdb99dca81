// SPDX-License-Identifier: GPL-3.0-or-later
// Zone and channel verbs: list the zones, create/retype/rename/delete a zone,
// show or edit a conventional channel through the same field operations as
// the grid. Every edit saves the file in place, atomically.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Cli.h"
#include "editors/forms/FieldSets.h"
#include "editors/scan/ScanFields.h"
#include "data/RadioData.h"
#include "editors/zones/ConvFields.h"
#include "editors/zones/ZoneMemory.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

const char* ClassName(int cls) {
  switch (cls) {
    case kClassConv: return "conventional";
    case kClassLtr: return "ltr";
    case kClassPassPort: return "passport";
    default: return "none";
  }
}

std::string Hex4(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
  return buf;
}

// The zone name as the header holds it (the trunked headers keep it where
// the LTR header does).
std::string ZoneName(RadioData& data, const ZoneLayout& z) {
  if (z.offset < 0) return {};
  const size_t at = static_cast<size_t>(z.offset) + (z.cls == kClassConv ? rec::conv::kName : rec::ltr::kName);
  const uint8_t* p = data.Image().ptr(at, 12);
  return p ? CFieldCodec::NameFromField(p, data.model.NameWidth()) : std::string();
}

void PrintZoneLine(RadioData& data, CZoneMemory& zones, int zone) {
  const ZoneLayout z = zones.ZoneInfo(zone);
  const uint8_t type = zones.ZoneType(zone);
  std::cout << "zone=" << zone + 1 << " type=" << (type >= 0x20 && type < 0x7F ? std::string(1, static_cast<char>(type)) : Hex4(type))
            << " class=" << ClassName(z.cls) << " offset=" << Hex4(z.offset) << " size=" << z.size
            << " records=" << z.records << " first=" << zones.FirstGlobal(zone) + 1 << " repeaters=" << z.repeaters
            << " name=\"" << ZoneName(data, z) << "\"" << (z.damaged ? " damaged" : "") << "\n";
}

// A programming loaded for editing with the texts its messages need.
struct ZoneEditSession {
  TextTable text;
  RadioData data{&text};
  CZoneMemory zones{data};
  CConvFields conv{zones, text};
  // Deleting a zone or a channel here cleans the scan data as the program does.
  ZoneEditSession() { scan::ConnectZoneHooks(zones); }

  bool Load(const std::string& path, int& exitCode) {
    if (!LoadCliTexts(text)) {
      exitCode = kExitFailure;
      return false;
    }
    return LoadDatForCli(path, data, exitCode);
  }
};

bool ParseIndex(const std::string& s, int lo, int hi, int& out) {
  long v = 0;
  if (!ParseNumber(s, v) || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

int CmdZones(const std::vector<std::string>& args) {
  if (args.size() != 1) return Fail(kExitUsage, "zones: one data file expected");
  RadioData data;
  int code = 0;
  if (!LoadDatForCli(args[0], data, code)) return code;
  CZoneMemory zones(data);
  for (int z = 0; z < zones::kZoneCount; ++z)
    if (zones.ZoneExists(z)) PrintZoneLine(data, zones, z);
  std::cout << "free=" << zones.FreeBytes() << " first-block=" << Hex4(data.Image().u16le(zones::kFirstBlockWord))
            << " last-block=" << Hex4(data.Image().u16le(zones::kLastBlockWord)) << "\n";
  for (const ZoneProblem& p : zones.CheckZoneArea())
    std::cerr << "vb420cli: zone " << (p.zone >= 0 ? std::to_string(p.zone + 1) : std::string("area")) << ": " << p.what << "\n";
  return kExitOk;
}

int CmdZone(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string create, type, name;
  const bool haveCreate = TakeOption(args, "--create", create);
  const bool haveType = TakeOption(args, "--type", type);
  const bool haveName = TakeOption(args, "--name", name);
  const bool del = TakeFlag(args, "--delete");
  // The desktop program's "voting" start-up switch.
  const bool voting = TakeFlag(args, "--voting");
  int zone = 0;
  if (args.size() != 2 || !ParseIndex(args[1], 1, 128, zone))
    return Fail(kExitUsage,
                "zone: FILE.dat N (1..128) [--create conventional|ltr|passport] [--type C] [--voting] [--name TEXT] "
                "[--delete]");
  --zone;
  ZoneEditSession session;
  int code = 0;
  if (!session.Load(args[0], code)) return code;
  RadioData& data = session.data;
  data.votingSwitch = voting;
  TextTable& text = session.text;
  CZoneMemory& zones = session.zones;
  CConvFields& conv = session.conv;
  bool changed = false;

  if (del) {
    if (!zones.ZoneExists(zone)) return Fail(kExitFailure, "zone " + std::to_string(zone + 1) + " does not exist");
    (void)zones.ChangeZone(zone, kClassNone);  // deleting an existing zone cannot fail
    changed = true;
  }
  if (haveCreate) {
    uint8_t t = create == "conventional" ? '1' : create == "ltr" ? '0' : create == "passport" ? '5' : 0;
    if (!t) return Fail(kExitUsage, "zone: --create takes conventional, ltr or passport");
    if (zones.ZoneExists(zone)) return Fail(kExitFailure, "zone " + std::to_string(zone + 1) + " already exists");
    const ZoneResult r = zones.CreateZone(zone, t);
    if (r == -1) return Fail(kExitFailure, text.Text(275));
    if (r != 1) return Fail(kExitFailure, "zone " + std::to_string(zone + 1) + " could not be created");
    changed = true;
  }
  if (haveType) {
    if (type.size() != 1) return Fail(kExitUsage, "zone: --type takes one character, 0 to 5");
    if (!zones.ZoneExists(zone)) return Fail(kExitFailure, "zone " + std::to_string(zone + 1) + " does not exist");
    const uint8_t t = static_cast<uint8_t>(type[0]);
    if (ClassOfType(t) == kClassNone) return Fail(kExitUsage, "zone: unknown zone type " + type);
    // Only the types the Zone Information window would offer on this model
    // (the voting types 2 to 4 need the voting switch and a first-generation
    // model).
    const std::vector<uint8_t> offered = zones.OfferedZoneTypes();
    if (std::find(offered.begin(), offered.end(), t) == offered.end())
      return Fail(kExitFailure, "zone: type " + type + " (" + CZoneMemory::ZoneTypeName(t, text) +
                                    ") is not available on this model" + (voting ? "" : " without --voting"));
    if (ClassOfType(t) != zones.ZoneClass(zone))
      return Fail(kExitFailure, "zone: type " + type + " is of another class; delete the zone and create it anew");
    if (zones.SetZoneType(zone, t) != 1) return Fail(kExitFailure, "zone: type " + type + " was refused");
    changed = true;
  }
  if (haveName) {
    if (zones.ZoneClass(zone) != kClassConv) return Fail(kExitFailure, "zone: only a conventional zone's name can be set here");
    if (conv.SetHeaderField(zone, 0, name) != 1) return Fail(kExitFailure, "zone: the name was refused");
    changed = true;
  }
  if (changed && !SaveDatForCli(args[0], data)) return kExitFailure;
  if (zones.ZoneExists(zone)) PrintZoneLine(data, zones, zone);
  return kExitOk;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A channel's fields by number (3 to 20) under the one name every verb uses:
// the key of the channel's field set, as `settings` and `diff` spell it.
const std::map<int, std::string>& FieldKeys() {
  static const std::map<int, std::string> keys = [] {
    std::map<int, std::string> m;
    for (const forms::FieldSet& set : forms::FieldSets())
      if (set.name == "channel")
        for (const forms::FieldDescriptor& d : *set.fields)
          if (d.number >= 3 && d.number <= 20 && !d.key.empty()) m[d.number] = d.key;
    return m;
  }();
  return keys;
}

// Every name a field is taken by, in upper case: its key, and the names
// this verb used before (RXF, RXSIG, F8 ...), which keep working.
const std::map<std::string, int>& FieldNames() {
  static const std::map<std::string, int> names = [] {
    std::map<std::string, int> m = {{"RXF", 3}, {"TXF", 4}, {"RXSIG", 5}, {"TXSIG", 6}, {"NAME", 7}};
    for (int f = 8; f <= 20; ++f)
      if (f != 17) m["F" + std::to_string(f)] = f;
    for (const auto& [field, key] : FieldKeys()) m[Upper(key)] = field;
    return m;
  }();
  return names;
}

std::string FieldName(int field) {
  const auto it = FieldKeys().find(field);
  return it == FieldKeys().end() ? "F" + std::to_string(field) : it->second;
}

// "rxf, txf, rxtone, ..." for the messages and the help.
std::string FieldKeyList() {
  std::string out;
  for (const auto& [field, key] : FieldKeys()) out += (out.empty() ? "" : ", ") + key;
  return out;
}

// The receive and transmit tones, and the frequencies (in MHz, rounded down
// to a channel step of at most 15 kHz).
bool IsToneField(int field) { return field == 5 || field == 6; }
double FieldStep(int field) { return field == 3 || field == 4 ? 0.015 : 1.0; }

int CmdChannel(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  const bool del = TakeFlag(args, "--delete");
  const bool clampWanted = TakeFlag(args, "--clamp");
  int zone = 0, channel = 0;
  if (args.size() < 3 || !ParseIndex(args[1], 1, 128, zone) || !ParseIndex(args[2], 1, 250, channel))
    return Fail(kExitUsage, "channel: FILE.dat ZONE (1..128) CH (1..250) [FIELD=VALUE ...] [--delete]");
  --zone;
  --channel;
  std::vector<std::pair<int, std::string>> assignments;
  for (size_t i = 3; i < args.size(); ++i) {
    const size_t eq = args[i].find('=');
    const auto it = FieldNames().find(Upper(args[i].substr(0, eq)));
    if (eq == std::string::npos || it == FieldNames().end())
      return Fail(kExitUsage, "channel: \"" + args[i] + "\" is not FIELD=VALUE (" + FieldKeyList() + ")");
    assignments.emplace_back(it->second, args[i].substr(eq + 1));
  }
  ZoneEditSession session;
  int code = 0;
  if (!session.Load(args[0], code)) return code;
  RadioData& data = session.data;
  TextTable& text = session.text;
  CZoneMemory& zones = session.zones;
  CConvFields& conv = session.conv;
  if (zones.ZoneExists(zone) && zones.ZoneClass(zone) != kClassConv)
    return Fail(kExitFailure, "zone " + std::to_string(zone + 1) + " is not a conventional zone");

  bool changed = false;
  int result = kExitOk;
  if (del) {
    if (!zones.RecordExists(zone, channel)) return Fail(kExitFailure, "channel " + std::to_string(channel + 1) + " does not exist");
    if (zones.RemoveRecord(zone, channel) != ZoneResult::Done) return Fail(kExitFailure, "channel " + std::to_string(channel + 1) + " could not be removed");
    changed = true;
  }
  bool clamped = false;
  for (const auto& [field, typed] : assignments) {
    std::string value = typed;
    if (IsToneField(field) && value.find_first_not_of(" \t") != std::string::npos) {
      // As `settings` takes a tone: the off text, a tone of the list or a code.
      const int row = data.field.ToneChoiceRow(value, text.TextsInEveryLanguage(362));
      if (row < 0) {
        std::cerr << "vb420cli: " << FieldName(field) << ": \"" << value
                  << "\" is not a tone of the list, a code (D023N, D023I) or the off text; nothing was saved\n";
        return kExitBadValue;
      }
      value = row == 0 ? text.Text(362) : data.field.LocalizeDecimal(data.field.ToneListText(row));
    }
    const FieldResult r = conv.SetRecordField(zone, channel, field, value, true);
    if (r.message) std::cerr << "vb420cli: " << FieldName(field) << ": " << text.Text(r.message) << "\n";
    if (r.result <= 0) {
      // A refusal stops the rest: later fields may depend on this one.
      if (r.message == 0)
        std::cerr << "vb420cli: " << FieldName(field) << "=" << value << " was not stored\n";
      result = kExitFailure;
      break;
    }
    changed = true;
    std::string shown;
    conv.RecordFieldText(zone, channel, field, shown);
    if (!clampWanted && forms::ClampedToLimit(typed, shown, FieldStep(field), data.field.DecimalSeparator())) {
      std::cerr << "vb420cli: " << FieldName(field) << ": \"" << typed << "\" is out of range; stored as " << shown
                << " (--clamp accepts that)\n";
      clamped = true;
    }
  }
  if (changed && !SaveDatForCli(args[0], data)) return kExitFailure;
  if (!zones.RecordExists(zone, channel)) {
    if (!del && assignments.empty()) return Fail(kExitFailure, "channel " + std::to_string(channel + 1) + " does not exist");
    return result;
  }
  for (int field = 3; field <= 20; ++field) {
    if (field == 17) continue;
    std::string t;
    conv.RecordFieldText(zone, channel, field, t);
    std::cout << FieldName(field) << "=" << t << "\n";
  }
  return result == kExitOk && clamped ? kExitClamped : result;
}

std::string ChannelFieldsHelp() {
  std::string lines;
  for (const auto& [field, key] : FieldKeys()) lines += (lines.empty() ? "" : ", ") + key + " (F" + std::to_string(field) + ")";
  return "\n" + Wrap(lines + ".", "Fields: ", 2);
}

}  // namespace

void RegisterZoneVerbs() {
  RegisterVerb({"zones", "zones FILE.dat", CmdZones,
                "List every zone of a data file, one line each:\n"
                "  zone=N type=C class=... offset=0xXXXX size=S records=R first=G repeaters=P name=\"...\"\n"
                "then the free zone memory and the block-range words. Faults of a damaged zone\n"
                "area are reported on stderr."});
  RegisterVerb({"zone", "zone FILE.dat N [--create conventional|ltr|passport] [--type C] [--voting] [--name TEXT] [--delete]",
                CmdZone,
                "Create, retype, rename or delete zone N (1..128) of a data file and print its line.\n"
                "  --create KIND   make the zone: conventional, ltr or passport\n"
                "  --type C        change the zone type within its class; the voting types 2, 3\n"
                "                  and 4 need --voting and a first-generation model\n"
                "  --voting        the program's \"voting\" switch\n"
                "  --name TEXT     rename a conventional zone\n"
                "  --delete        delete the zone and its channels\n"
                "The file is saved in place, atomically; nothing else in it changes."});
  RegisterVerb({"channel", "channel FILE.dat ZONE CH [FIELD=VALUE ...] [--clamp] [--delete]", CmdChannel,
                "Show or edit channel CH (1..250) of conventional zone ZONE (1..128).\n"
                "Without FIELD=VALUE, print the channel's fields as the grid shows them, one\n"
                "FIELD=VALUE a line. FIELD is the field's key, as settings names it in\n"
                "zone.Z.ch.C.FIELD (the fields are listed below): rxf, txf (MHz, e.g. 146.52),\n"
                "rxtone, txtone (100.0, D023, D023I or Off), name, ... The names this verb used\n"
                "before (RXF, TXF, RXSIG, TXSIG, NAME, F8 to F20) are taken too; case does not\n"
                "matter. Each FIELD=VALUE is applied in order through the grid's rules;\n"
                "a receive frequency on a missing channel creates it (and a missing zone, as\n"
                "type 1). A zone holds at most 250 channels, the radio 512 in all.\n"
                "A tone is the off text (Off or Desactivado, in any case), a tone of the list or\n"
                "a code; any other text is refused with exit 12 and nothing is saved. A\n"
                "frequency beyond the model's limits is stored as the nearer limit with a\n"
                "warning and exit 14.\n"
                "  --clamp    store a number beyond its range as the nearer limit, exit 0\n"
                "  --delete   delete the channel\n"
                "The file is saved in place, atomically; messages go to stderr.",
                ChannelFieldsHelp});
}

}  // namespace vb420::cli

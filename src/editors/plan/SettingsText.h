// SPDX-License-Identifier: GPL-3.0-or-later
// A whole programming as text: every field of every field set as KEY=TEXT,
// then the bytes the fields do not give back as raw runs, so that the text
// makes the same programming again byte for byte. Technicians keep these
// listings in version control, review them as field changes and apply them
// to files (`vb420cli settings --from`, `vb420cli new --from`, File > Import
// Settings Text).
//
//   # vb420 settings 1
//   model=VT-1600
//   band=136-174 MHz
//   zone.1.type=Conventional
//   zone.1.ch.1.rxf=140.01250
//   ...
//   raw.image.0x0F10=FF00FF00
//   raw.ext.0x0120=00
//
// A field line is stored through the same rules as typing into the window
// (forms::SetSetting); the first field of a record creates it, as the
// channel plan import does. Raw runs are written last. The listing always
// uses '.' for decimals, and the texts of the table it is given: the program
// and the command line give it the English table, so that a listing does not
// change with the user's language.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb420 {

class RadioData;
class TextTable;

namespace settingstext {

constexpr const char* kFirstLine = "# vb420 settings 1";
constexpr const char* kFormatPrefix = "# vb420 settings ";
// Longer lines are refused: no field's text comes near, and a reader of a
// damaged file must not hold megabytes as one line.
constexpr size_t kMaxLineLength = 1024;
// A raw run holds at most this many bytes and never crosses a multiple of it.
constexpr size_t kRawRunBytes = 16;
constexpr const char* kDisabledMark = "\t[disabled]";

// Why a line was refused.
enum class Reason {
  UnknownKey,   // no set, record or field of that name
  Disabled,     // the field cannot be changed on this model or now
  BadValue,     // none of the field's choices
  Refused,      // the store was refused (no room, the channel limit, no such record)
  Repeated,     // the key came before (RefusedLine::firstLine)
  TooLong,      // more than kMaxLineLength bytes
  NotUtf8,      // invalid UTF-8
  CutOff,       // the last line has no line end
  RawOutside,   // a raw run reaching outside its area
  BadRaw,       // raw.image|ext.0xADDR=HEX malformed, or more than kRawRunBytes bytes
  NotKeyText,   // no '=' in the line
  OtherFormat,  // "# vb420 settings N" of a format this program does not read
  BadModel,     // model= or band= naming none this program knows
};

struct RefusedLine {
  int line = 0;  // 1-based
  std::string key;
  std::string text;
  Reason reason = Reason::UnknownKey;
  int message = 0;    // a text entry the store gave (why a record was not made), 0 none
  int firstLine = 0;  // Repeated: where the key came first
};

struct ApplyOptions {
  // Store the accepted lines even when others are refused.
  bool keepGoing = false;
  // A listing of another model or band converts the programming through the
  // model change rules first, instead of being refused.
  bool modelChange = false;
};

enum class ApplyResult {
  Ok,          // every line accepted and stored
  Refused,     // lines were refused: nothing stored, or with keepGoing the accepted ones
  OtherModel,  // the listing names another model or band: nothing stored
};

struct ApplyReport {
  ApplyResult result = ApplyResult::Ok;
  std::vector<RefusedLine> refused;
  int applied = 0;  // field lines and raw runs stored
  // The listing's model and band (-1: it names none), and the programming's.
  int listingModel = -1;
  int listingBand = -1;
  int dataModel = -1;
  int dataBand = -1;
  bool Stored() const { return result == ApplyResult::Ok || (result == ApplyResult::Refused && applied > 0); }
};

// The complete listing of a programming.
std::string BuildListing(RadioData& data, TextTable& text);

// Applies a listing to the programming in `data`. A whole programming's
// listing (one that begins with kFirstLine) replaces the programming: the
// result is exactly the programming it lists, as NewFromListing makes it.
// Other texts (a few KEY=TEXT lines) change just what they name. Unless
// every line is accepted (or `keepGoing`), the image and extension area are
// left as they were; a listing of another model is refused before anything
// is stored.
ApplyReport ApplyListing(std::string_view listing, RadioData& data, TextTable& text, const ApplyOptions& options);

// Makes `data` the programming a listing describes: a new programming of the
// listing's model and band (of `defaultModel` and its first band when the
// listing names none), then the listing applied.
ApplyReport NewFromListing(std::string_view listing, RadioData& data, TextTable& text, const ApplyOptions& options,
                           int defaultModel = 0);

// A new programming of a model and band, as File > New and `vb420cli new`
// make it (no passwords).
void MakeNewProgramming(RadioData& data, int model, uint8_t bandCode);

// "model=VT-1600" and "band=136-174 MHz" of a programming.
std::string ModelName(int model);
std::string BandText(int bandCode);

// The reason of a refusal in the table's language, and the whole report of
// one line: "line 12: zone.1.ch.1.rxf=999: <reason>".
std::string ReasonText(const RefusedLine& r, TextTable& text);
std::string RefusedLineText(const RefusedLine& r, TextTable& text);
// "The listing is for a VT-2600 on 450-520 MHz; the programming is a VT-1600
// on 136-174 MHz."
std::string OtherModelText(const ApplyReport& r, TextTable& text);

}  // namespace settingstext
}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
// vb420cli codec: shows how a typed frequency or tone is stored, byte for
// byte, exactly as the editors store it.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/FieldCodec.h"
#include "data/FreqCodec.h"
#include "data/ModelRecord.h"
#include "lang/TextTable.h"

namespace vb420::cli {
namespace {

constexpr const char* kUsage =
    "codec freq TEXT [--model NAME] [--band 136-174|450-520|400-470] [--fine-step] | codec tone TEXT";

int CodecFreq(std::vector<std::string> args) {
  std::string modelName = "VT-1600";
  std::string bandText;
  TakeOption(args, "--model", modelName);
  const bool haveBand = TakeOption(args, "--band", bandText);
  const bool fineStep = TakeFlag(args, "--fine-step");
  if (args.size() != 1) return Fail(kExitUsage, std::string("usage: ") + kUsage);

  const int model = ModelNumberOfName(modelName);
  if (model < 0) return Fail(kExitUsage, "unknown model \"" + modelName + "\"");
  const ModelInfo& info = ModelTable(model);
  int bandCode = info.bands.front();
  if (haveBand) {
    bandCode = BandCodeOfText(bandText);
    bool allowed = false;
    for (uint8_t b : info.bands) allowed = allowed || b == bandCode;
    if (!allowed) return Fail(kExitUsage, "band \"" + bandText + "\" is not one of " + modelName + "'s bands");
  }
  const BandInfo& band = BandTable(BandIndexOfCode(static_cast<uint8_t>(bandCode)));

  CFreqCodec codec;
  codec.SetFineStep(fineStep);
  codec.SetBand(band.lowerMHz, band.upperMHz, band.bandClass);

  // Checked first and stored even when out of range, as an editor does.
  std::string text = args[0];
  const int check = codec.CheckFreq(text);
  uint8_t field[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  const int code = codec.EncodeFreq(text, field, band.bandClass, IsPortableModel(model));
  if (code < 0)
    for (uint8_t& b : field) b = 0xFF;
  std::string shown;
  CFreqCodec::FreqToPlainText(field, shown);

  char bytes[16];
  std::snprintf(bytes, sizeof bytes, "%02X %02X %02X %02X", field[0], field[1], field[2], field[3]);
  std::cout << bytes << " step=" << (code < 0 ? std::string("none") : std::string(1, static_cast<char>(code)))
            << " check=" << check << " text=" << shown << "\n";
  return kExitOk;
}

int CodecTone(std::vector<std::string> args) {
  if (args.size() != 1) return Fail(kExitUsage, std::string("usage: ") + kUsage);
  // The off value is the text the editors show for it, in the language
  // VB420_LANGUAGE names (English by default).
  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  CFieldCodec codec(&text);
  const uint16_t word = codec.TextToTone(args[0]);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", word);
  std::cout << "word=0x" << hex << " text=" << codec.ToneToText(word) << "\n";
  return kExitOk;
}

int RunCodec(const std::vector<std::string>& args) {
  if (args.empty()) return Fail(kExitUsage, std::string("usage: ") + kUsage);
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "freq") return CodecFreq(rest);
  if (args[0] == "tone") return CodecTone(rest);
  return Fail(kExitUsage, "unknown codec command \"" + args[0] + "\"; usage: " + kUsage);
}

}  // namespace

void RegisterCodecVerbs() {
  RegisterVerb({"codec", kUsage, RunCodec,
                "Show how a typed frequency or tone is checked and stored, as the editors do.\n"
                "  codec freq TEXT   prints B0 B1 B2 B3 step=S check=R text=T (TEXT in MHz, e.g. 146.52)\n"
                "    --model NAME    the model whose band limits apply (default VT-1600)\n"
                "    --band BAND     136-174, 450-520 or 400-470 (default: the model's first band)\n"
                "    --fine-step     also try the 1.25 kHz step (the program's \"step\" switch)\n"
                "  codec tone TEXT   prints word=0xXXXX text=T; TEXT is a CTCSS tone in Hz (100.0),\n"
                "                    a DCS code (D023, inverted D023I) or the off value (Off, in\n"
                "                    Spanish No)"});
}

}  // namespace vb420::cli

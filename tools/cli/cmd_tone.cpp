// SPDX-License-Identifier: GPL-3.0-or-later
// tone: renders one of the eight alert tones of a data file as a WAV file,
// through the same player that the alert-tone test dialog uses.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "data/RadioData.h"
#include "editors/signalling/AlertToneFields.h"
#include "editors/signalling/ToneWav.h"
#include "lang/TextTable.h"

namespace vb420::cli {

namespace {

constexpr int kMsgNothingToPlay = 1251;

// The tone as the file holds it, for every step.
class ImageTone : public ToneSource {
 public:
  explicit ImageTone(AlertToneRecord r) : r_(r) {}
  AlertToneRecord Current() override { return r_; }

 private:
  AlertToneRecord r_;
};

int CmdTone(const std::vector<std::string>& argsIn) {
  std::vector<std::string> args = argsIn;
  std::string out, repeats;
  const bool haveOut = TakeOption(args, "-o", out) || TakeOption(args, "--output", out);
  const bool haveRepeats = TakeOption(args, "--repeats", repeats);
  if (args.size() != 2 || !haveOut) return Fail(kExitUsage, "tone: FILE.dat N -o FILE.wav [--repeats K]");
  long tone = 0, passes = 1;
  if (!ParseNumber(args[1], tone) || tone < 1 || tone > 8) return Fail(kExitUsage, "tone: N is an alert tone, 1 to 8");
  if (haveRepeats && (!ParseNumber(repeats, passes) || passes < 1 || passes > 255))
    return Fail(kExitUsage, "tone: --repeats takes 1 to 255");

  TextTable text;
  if (!LoadCliTexts(text)) return kExitFailure;
  RadioData data(&text);
  int code = kExitOk;
  if (!LoadDatForCli(args[0], data, code)) return code;

  const std::string name = text.Text(697 + static_cast<int>(tone) - 1);
  ImageTone source(ReadAlertTone(data.Image(), static_cast<int>(tone - 1)));
  // The test dialog does not start such a tone either; an empty WAV file
  // would look like a rendering that worked.
  if (source.Current().Empty()) return Fail(kExitFailure, "tone: " + name + ": " + text.Text(kMsgNothingToPlay));
  SampleSink sink;
  StopSignal stop;
  PlayAlertTone(source, sink, stop, {.passes = static_cast<int>(passes)});
  std::string error;
  if (!WriteWavFile(out, sink.Samples(), error)) return Fail(kExitFailure, "tone: " + out + ": " + error);
  std::cout << out << ": " << name << ", " << passes << " x, "
            << sink.Samples().size() * 1000 / kToneSampleRate << " ms\n";
  return kExitOk;
}

}  // namespace

void RegisterToneVerbs() {
  RegisterVerb({"tone", "tone FILE.dat N -o FILE.wav [--repeats K]", CmdTone,
                "Renders alert tone N (1 to 8) of the data file as a 16-bit mono WAV file at 44.1 kHz:\n"
                "one pass of its pattern, or K passes with the tone's pause between them\n"
                "(--repeats K). Silent steps are silence; steps of no length are skipped.\n"
                "Prints the file name, the tone, the passes and the length in ms. A tone none of\n"
                "whose steps has a duration is refused (exit code 1) and no file is written."});
}

}  // namespace vb420::cli

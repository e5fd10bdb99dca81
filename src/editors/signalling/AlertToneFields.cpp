// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signalling/AlertToneFields.h"

#include <string>

#include "data/ImageLayout.h"
#include "data/RadioData.h"
#include "editors/forms/FieldSets.h"
#include "editors/signalling/SignalFieldKit.h"

// The tables name only the members a field sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vb420 {

using namespace forms;
using namespace sigfields;

namespace {

constexpr int kStepLabels = 710;  // "Step 1".."Step 16"

FieldDescriptor RepeatBox(FieldRef ref) {
  return Shifted("repeat", 706, ref, {.low = 1, .high = 255, .zeroText = 364});
}
FieldDescriptor PauseBox(FieldRef ref) { return NumberBox("pause", 707, ref, 0, 255); }
FieldDescriptor FreqBox(FieldRef ref, int label) {
  return Shifted("freq", label, ref, {.scale = 10, .low = 400, .high = 2500, .step = 10, .zeroText = 726});
}
FieldDescriptor DurationBox(FieldRef ref, int label) {
  FieldDescriptor d = Shifted("dur", label, ref, {.scale = 10, .low = 0, .high = 2500, .step = 10});
  return d;
}

FieldRef Rel(size_t offset) {
  FieldRef r = ImageByte(static_cast<uint32_t>(offset));
  r.base = RecordBase::ListRow;
  return r;
}

FormPage BuildPage() {
  FormPage p;
  p.fields.push_back(RepeatBox(Rel(sig::kToneRepeat)));
  p.fields.push_back(PauseBox(Rel(sig::kTonePause)));
  p.fields.push_back(Caption(708));
  // Each step's frequency box carries the step's name; its duration box
  // sits beside it in the next column.
  for (int s = 0; s < sig::kToneSteps; ++s)
    p.fields.push_back(FreqBox(Rel(sig::kToneFirstStep + 2 * static_cast<size_t>(s)), kStepLabels + s));
  p.fields.push_back({.kind = ControlKind::Static});
  p.fields.push_back({.kind = ControlKind::Static});
  p.fields.push_back(Caption(709));
  for (int s = 0; s < sig::kToneSteps; ++s)
    p.fields.push_back(DurationBox(Rel(sig::kToneFirstStep + 2 * static_cast<size_t>(s) + 1), -1));
  p.fields.push_back({.labelEntry = 705, .kind = ControlKind::Button});
  return p;
}

// Finds tone records (cursor.record = tone) and steps (cursor.zone = tone,
// cursor.record = step).
class ToneLocator : public RecordLocator {
 public:
  explicit ToneLocator(bool steps) : steps_(steps) {}
  long Locate(const FormContext& ctx, RecordBase base) const override {
    if (base != RecordBase::ListRow) return -1;
    const int tone = steps_ ? ctx.cursor.zone : ctx.cursor.record;
    if (tone < 0 || tone >= sig::kToneRecords) return -1;
    if (!steps_) return static_cast<long>(sig::ToneRecord(tone));
    if (ctx.cursor.record < 0 || ctx.cursor.record >= sig::kToneSteps) return -1;
    return static_cast<long>(sig::ToneStep(tone, ctx.cursor.record));
  }

 private:
  bool steps_;
};

class ToneRecordBinding : public BoundRecord {
 public:
  ToneRecordBinding(RadioData& data, TextTable& text, RecordCursor c, bool steps)
      : locator_(steps), ctx_(data, text, data.votingSwitch, c, &locator_) {}
  FormContext& Context() override { return ctx_; }

 private:
  ToneLocator locator_;
  FormContext ctx_;
};

bool ParseNumber(const std::string& s, int low, int high, int& out) {
  if (s.empty() || s.size() > 2 || s[0] == '0') return false;
  int v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v < low || v > high) return false;
  out = v;
  return true;
}

FieldSet MakeToneSet(bool steps) {
  FieldSet s;
  s.name = steps ? "alertstep" : "alert";
  s.recordKind = steps ? "step" : "tone";
  s.keyPattern = steps ? "`alert.T.step.S.KEY`, T the tone, 1 to 8, S the step, 1 to 16"
                       : "`alert.T.KEY`, T the tone, 1 to 8";
  s.fields = steps ? &AlertStepFieldTable() : &AlertToneFieldTable();
  s.records = [steps](RadioData&) {
    std::vector<FieldSetRecord> out;
    for (int t = 0; t < sig::kToneRecords; ++t) {
      if (!steps) {
        out.push_back({"alert." + std::to_string(t + 1), {-1, t}});
        continue;
      }
      for (int st = 0; st < sig::kToneSteps; ++st)
        out.push_back({"alert." + std::to_string(t + 1) + ".step." + std::to_string(st + 1), {t, st}});
    }
    return out;
  };
  s.parse = [steps](RadioData&, const std::string& prefix, RecordCursor& c) {
    const std::string head = "alert.";
    if (prefix.compare(0, head.size(), head) != 0) return false;
    const std::string rest = prefix.substr(head.size());
    const size_t dot = rest.find('.');
    int tone = 0;
    if (!steps) {
      if (dot != std::string::npos || !ParseNumber(rest, 1, sig::kToneRecords, tone)) return false;
      c = {-1, tone - 1};
      return true;
    }
    const std::string mid = ".step.";
    if (dot == std::string::npos || rest.compare(dot, mid.size(), mid) != 0) return false;
    int step = 0;
    if (!ParseNumber(rest.substr(0, dot), 1, sig::kToneRecords, tone) ||
        !ParseNumber(rest.substr(dot + mid.size()), 1, sig::kToneSteps, step))
      return false;
    c = {tone - 1, step - 1};
    return true;
  };
  s.bind = [steps](RadioData& data, TextTable& text, RecordCursor c) -> std::unique_ptr<BoundRecord> {
    return std::make_unique<ToneRecordBinding>(data, text, c, steps);
  };
  return s;
}

// Every set of this file, in the order the documents list them.
void RegisterTheseSets() {
  RegisterFieldSet(MakeToneSet(false));
  RegisterFieldSet(MakeToneSet(true));
}


}  // namespace

const FormPage& AlertTonePage() {
  static const FormPage page = BuildPage();
  return page;
}

long AlertToneLocator::Locate(const FormContext& ctx, RecordBase base) const {
  return ToneLocator(false).Locate(ctx, base);
}

const std::vector<FieldDescriptor>& AlertToneFieldTable() {
  static const std::vector<FieldDescriptor> t = {RepeatBox(Rel(sig::kToneRepeat)), PauseBox(Rel(sig::kTonePause))};
  return t;
}

const std::vector<FieldDescriptor>& AlertStepFieldTable() {
  static const std::vector<FieldDescriptor> t = {FreqBox(Rel(0), 708), DurationBox(Rel(1), 709)};
  return t;
}

AlertToneRecord ReadAlertTone(const ByteArea& image, int tone) {
  AlertToneRecord r;
  if (tone < 0 || tone >= sig::kToneRecords) return r;
  const size_t rec = sig::ToneRecord(tone);
  r.repeat = image.u8(rec + sig::kToneRepeat);
  r.pause = image.u8(rec + sig::kTonePause);
  for (int s = 0; s < sig::kToneSteps; ++s) {
    r.freq[static_cast<size_t>(s)] = image.u8(sig::ToneStep(tone, s));
    r.duration[static_cast<size_t>(s)] = image.u8(sig::ToneStep(tone, s) + 1);
  }
  return r;
}

void RegisterAlertToneFieldSets() { RegisterTheseSets(); }

}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
// The undo and redo history of one programming: every committed change of
// the working image and extension area is kept as the byte ranges that
// changed, stored as the exclusive-or of the old and new bytes, so that one
// copy serves both directions (undo and redo each flip the same bits).
//
// The history knows nothing of windows: the program commits after each user
// action (with a name for the menu and a merge key, so that a burst of
// typing in one field becomes one step) and calls Undo/Redo. It keeps its
// own copy of the last committed state; a change made behind its back is
// committed as a step of its own before an undo, so no change is ever lost.
//
// Memory: at most `maxSteps` steps and `maxBytes` bytes of step data; the
// oldest steps go first. A step costs the changed bytes plus 8 bytes per
// changed range, so even 200 steps that each rewrite the whole image and
// extension area (53,760 bytes) take 10.3 MiB, within the default bound of
// 16 MiB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

namespace vb420 {

class EditHistory {
 public:
  struct Limits {
    size_t maxSteps = 200;
    size_t maxBytes = 16u << 20;
    // Changes with the same merge key closer together than this are one step.
    int64_t burstMs = 2000;
  };

  // Ranges of unchanged bytes shorter than this are kept inside a range:
  // fewer ranges cost less than the few bytes they would save.
  static constexpr size_t kJoinGap = 8;

  EditHistory() = default;
  explicit EditHistory(Limits limits) : limits_(limits) {}

  // Forgets every step; the areas as they are now become the committed
  // state. The areas (image, then extension area) keep their sizes from
  // here on.
  void Reset(std::span<const uint8_t> image, std::span<const uint8_t> ext);

  // Records the difference between the areas and the committed state as a
  // step (merged into the previous one when `mergeKey` is not empty, equals
  // that step's key, and the previous change is at most `burstMs` old).
  // Returns true when the areas had changed. A new step drops the redo steps.
  bool Commit(std::span<const uint8_t> image, std::span<const uint8_t> ext, const std::string& name,
              const std::string& mergeKey, int64_t nowMs);
  // True when the areas differ from the committed state.
  bool Pending(std::span<const uint8_t> image, std::span<const uint8_t> ext) const;

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Name of the step that Undo (Redo) would take back (bring back).
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  // Names the step Undo would take back (the program names steps late).
  void SetUndoName(const std::string& name);

  // Takes back the last step (or brings back the last undone one) in the
  // areas. A change not yet committed is committed first (unnamed), so it
  // is the one taken back. False when there is nothing to do.
  bool Undo(std::span<uint8_t> image, std::span<uint8_t> ext);
  bool Redo(std::span<uint8_t> image, std::span<uint8_t> ext);

  // The areas as they were before the step Undo would take back: `image`
  // and `ext` receive the committed state with that step taken back.
  bool StateBeforeUndo(std::vector<uint8_t>& image, std::vector<uint8_t>& ext) const;

  size_t UndoSteps() const { return undo_.size(); }
  size_t RedoSteps() const { return redo_.size(); }
  // Bytes held by the steps (range data and their bookkeeping).
  size_t StepBytes() const { return stepBytes_; }
  const Limits& GetLimits() const { return limits_; }

 private:
  struct Range {
    uint32_t offset;
    uint32_t length;
  };
  struct Step {
    std::string name;
    std::string mergeKey;
    int64_t lastMs = 0;
    std::vector<Range> ranges;
    std::vector<uint8_t> flips;  // exclusive-or of old and new, range after range
    size_t Cost() const { return flips.size() + ranges.size() * sizeof(Range); }
  };

  void Load(std::span<const uint8_t> image, std::span<const uint8_t> ext, std::vector<uint8_t>& out) const;
  static Step Encode(const std::vector<uint8_t>& flips);
  static void Apply(const Step& s, std::vector<uint8_t>& state);
  static void ApplyTo(const Step& s, std::span<uint8_t> image, std::span<uint8_t> ext);
  void Trim();

  Limits limits_;
  size_t imageSize_ = 0;
  std::vector<uint8_t> committed_;  // image, then extension area
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  size_t stepBytes_ = 0;
  bool sealed_ = true;  // the next change starts a step of its own
};

}  // namespace vb420

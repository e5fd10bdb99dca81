// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history: byte-exact round trips, merging of typing bursts, the
// memory bound, and undo back to the saved state.
#include "data/EditHistory.h"

#include <gtest/gtest.h>

#include <random>

#include "data/MemoryBuffers.h"

namespace vb420 {
namespace {

struct Areas {
  std::vector<uint8_t> image = std::vector<uint8_t>(kImageSize, 0xFF);
  std::vector<uint8_t> ext = std::vector<uint8_t>(kExtSize, 0xFF);
  std::span<uint8_t> I() { return image; }
  std::span<uint8_t> E() { return ext; }
};

TEST(EditHistory, UndoAndRedoRestoreEveryByte) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> states{{a.image, a.ext}};
  std::mt19937 rng(7);
  for (int step = 0; step < 30; ++step) {
    // A few scattered bytes, a run, and a byte at each end of both areas.
    for (int k = 0; k < 5; ++k) a.image[rng() % kImageSize] = static_cast<uint8_t>(rng());
    const size_t at = rng() % (kImageSize - 300);
    for (size_t i = 0; i < 250; ++i) a.image[at + i] = static_cast<uint8_t>(i + step);
    a.ext[step % 2 ? 0 : kExtSize - 1] ^= static_cast<uint8_t>(step + 1);
    a.image[step % 2 ? 0 : kImageSize - 1] ^= 0x5A;
    ASSERT_TRUE(h.Commit(a.I(), a.E(), "step " + std::to_string(step), {}, step * 10000));
    states.push_back({a.image, a.ext});
  }
  EXPECT_EQ(h.UndoSteps(), 30u);
  EXPECT_EQ(h.UndoName(), "step 29");
  for (int i = 29; i >= 0; --i) {
    ASSERT_TRUE(h.Undo(a.I(), a.E()));
    EXPECT_EQ(a.image, states[static_cast<size_t>(i)].first) << i;
    EXPECT_EQ(a.ext, states[static_cast<size_t>(i)].second) << i;
  }
  EXPECT_FALSE(h.Undo(a.I(), a.E()));
  EXPECT_EQ(h.RedoName(), "step 0");
  for (size_t i = 1; i <= 30; ++i) {
    ASSERT_TRUE(h.Redo(a.I(), a.E()));
    EXPECT_EQ(a.image, states[i].first) << i;
    EXPECT_EQ(a.ext, states[i].second) << i;
  }
  EXPECT_FALSE(h.Redo(a.I(), a.E()));
}

TEST(EditHistory, NothingChangedRecordsNothing) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  EXPECT_FALSE(h.Commit(a.I(), a.E(), "x", {}, 0));
  a.image[5] = 1;
  a.image[5] = 0xFF;  // changed and changed back before the commit
  EXPECT_FALSE(h.Commit(a.I(), a.E(), "x", {}, 0));
  EXPECT_FALSE(h.CanUndo());
}

TEST(EditHistory, TypingBurstInOneFieldIsOneStep) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  const std::string text = "HELLO";
  for (size_t i = 0; i < text.size(); ++i) {
    a.image[0x160 + i] = static_cast<uint8_t>(text[i]);
    h.Commit(a.I(), a.E(), "name", "field:name", 1000 + static_cast<int64_t>(i) * 300);
  }
  EXPECT_EQ(h.UndoSteps(), 1u);
  // Another field, and the same field after a pause, start steps of their own.
  a.image[0x200] = 1;
  h.Commit(a.I(), a.E(), "other", "field:other", 2500);
  a.image[0x200] = 2;
  h.Commit(a.I(), a.E(), "other", "field:other", 2500 + 2001);
  EXPECT_EQ(h.UndoSteps(), 3u);
  h.Undo(a.I(), a.E());
  h.Undo(a.I(), a.E());
  EXPECT_EQ(a.image[0x200], 0xFF);
  EXPECT_EQ(a.image[0x164], 'O');
  h.Undo(a.I(), a.E());
  EXPECT_EQ(std::count(a.image.begin(), a.image.end(), 0xFF), static_cast<long>(kImageSize));

  // An undo ends a burst: typing on afterwards is a new step.
  Areas b;
  EditHistory g;
  g.Reset(b.I(), b.E());
  b.image[1] = 1;
  g.Commit(b.I(), b.E(), "n", "k", 0);
  b.image[2] = 2;
  g.Commit(b.I(), b.E(), "n", "k", 10);
  g.Undo(b.I(), b.E());
  g.Redo(b.I(), b.E());
  b.image[3] = 3;
  g.Commit(b.I(), b.E(), "n", "k", 20);
  EXPECT_EQ(g.UndoSteps(), 2u);
}

TEST(EditHistory, BurstTypedBackToTheStartLeavesNoStep) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  a.image[9] = 'A';
  h.Commit(a.I(), a.E(), "n", "k", 0);
  a.image[9] = 0xFF;
  h.Commit(a.I(), a.E(), "n", "k", 100);
  EXPECT_FALSE(h.CanUndo());
  EXPECT_EQ(h.StepBytes(), 0u);
}

TEST(EditHistory, NewStepDropsRedo) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  a.image[1] = 1;
  h.Commit(a.I(), a.E(), "one", {}, 0);
  h.Undo(a.I(), a.E());
  ASSERT_TRUE(h.CanRedo());
  a.image[2] = 2;
  // A change made after the undo and not yet committed is never overwritten by a redo.
  EXPECT_FALSE(h.Redo(a.I(), a.E()));
  EXPECT_EQ(a.image[2], 2);
  EXPECT_EQ(a.image[1], 0xFF);
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(h.UndoSteps(), 1u);
}

TEST(EditHistory, UncommittedChangeIsTheFirstOneUndone) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  a.image[1] = 1;
  h.Commit(a.I(), a.E(), "one", {}, 0);
  a.ext[7] = 7;  // made behind the history's back
  ASSERT_TRUE(h.Undo(a.I(), a.E()));
  EXPECT_EQ(a.ext[7], 0xFF);
  EXPECT_EQ(a.image[1], 1);
  ASSERT_TRUE(h.Undo(a.I(), a.E()));
  EXPECT_EQ(a.image[1], 0xFF);
}

TEST(EditHistory, ResetForgetsEverything) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  a.image[1] = 1;
  h.Commit(a.I(), a.E(), "one", {}, 0);
  h.Undo(a.I(), a.E());
  a.image.assign(kImageSize, 0x11);  // another programming arrives
  h.Reset(a.I(), a.E());
  EXPECT_FALSE(h.CanUndo());
  EXPECT_FALSE(h.CanRedo());
  EXPECT_FALSE(h.Undo(a.I(), a.E()));
  EXPECT_EQ(a.image[1], 0x11);
}

TEST(EditHistory, WorstCaseStepsStayWithinTheBound) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  for (int step = 0; step < 230; ++step) {
    // Every byte of both areas changes.
    for (auto& b : a.image) b = static_cast<uint8_t>(b + 1 + (b == 0xFE));
    for (auto& b : a.ext) b = static_cast<uint8_t>(b + 1 + (b == 0xFE));
    h.Commit(a.I(), a.E(), "all", {}, step * 10000);
  }
  EXPECT_EQ(h.UndoSteps(), 200u);  // the oldest 30 were dropped
  EXPECT_EQ(h.StepBytes(), 200u * (kImageSize + kExtSize + 8));
  EXPECT_LT(h.StepBytes(), 20u << 20);

  // A byte bound cuts earlier.
  EditHistory small(EditHistory::Limits{.maxSteps = 200, .maxBytes = 3 * (kImageSize + kExtSize + 8)});
  small.Reset(a.I(), a.E());
  for (int step = 0; step < 5; ++step) {
    for (auto& b : a.image) b ^= 0x0F;
    for (auto& b : a.ext) b ^= 0x0F;
    small.Commit(a.I(), a.E(), "all", {}, step * 10000);
  }
  EXPECT_EQ(small.UndoSteps(), 3u);
}

TEST(EditHistory, UndoToTheSavedStateIsNotModified) {
  MemoryBuffers b;
  b.Clear();
  b.TakeSnapshot();
  EditHistory h;
  auto img = [&] { return std::span<uint8_t>(b.Image().data(), kImageSize); };
  auto ext = [&] { return std::span<uint8_t>(b.Ext().data(), kExtSize); };
  h.Reset(img(), ext());
  b.Image().setU8(0x300, 0x42);
  h.Commit(img(), ext(), "a", {}, 0);
  b.TakeSnapshot();  // saved here
  b.Ext().setU8(0x600, 'X');
  h.Commit(img(), ext(), "b", {}, 5000);
  EXPECT_TRUE(b.Modified());
  h.Undo(img(), ext());
  EXPECT_FALSE(b.Modified());
  h.Undo(img(), ext());
  EXPECT_TRUE(b.Modified());
  h.Redo(img(), ext());
  EXPECT_FALSE(b.Modified());
}

TEST(EditHistory, StateBeforeUndoAndRanges) {
  Areas a;
  EditHistory h;
  h.Reset(a.I(), a.E());
  std::vector<uint8_t> img, ext;
  EXPECT_FALSE(h.StateBeforeUndo(img, ext));
  const auto before = a.image;
  // Two changes 8 unchanged bytes apart are one range; 9 apart, two.
  a.image[100] = 1;
  a.image[109] = 1;
  a.image[200] = 1;
  a.image[210] = 1;
  h.Commit(a.I(), a.E(), "x", {}, 0);
  EXPECT_EQ(h.StepBytes(), 10u + 8 + 1 + 1 + 2 * 8);
  ASSERT_TRUE(h.StateBeforeUndo(img, ext));
  EXPECT_EQ(img, before);
  EXPECT_EQ(ext, a.ext);
}

}  // namespace
}  // namespace vb420

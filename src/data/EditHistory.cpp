// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/EditHistory.h"

#include <algorithm>
#include <cstring>

namespace vb420 {

namespace {
const std::string kNoName;
}

void EditHistory::Reset(std::span<const uint8_t> image, std::span<const uint8_t> ext) {
  imageSize_ = image.size();
  committed_.assign(image.begin(), image.end());
  committed_.insert(committed_.end(), ext.begin(), ext.end());
  undo_.clear();
  redo_.clear();
  stepBytes_ = 0;
  sealed_ = true;
}

void EditHistory::Load(std::span<const uint8_t> image, std::span<const uint8_t> ext, std::vector<uint8_t>& out) const {
  out.resize(committed_.size());
  const size_t ni = std::min(image.size(), imageSize_);
  std::memcpy(out.data(), image.data(), ni);
  const size_t ne = std::min(ext.size(), committed_.size() - imageSize_);
  std::memcpy(out.data() + imageSize_, ext.data(), ne);
}

bool EditHistory::Pending(std::span<const uint8_t> image, std::span<const uint8_t> ext) const {
  if (committed_.empty()) return false;
  const size_t ni = std::min(image.size(), imageSize_);
  const size_t ne = std::min(ext.size(), committed_.size() - imageSize_);
  return std::memcmp(committed_.data(), image.data(), ni) != 0 ||
         std::memcmp(committed_.data() + imageSize_, ext.data(), ne) != 0;
}

EditHistory::Step EditHistory::Encode(const std::vector<uint8_t>& flips) {
  Step s;
  const size_t n = flips.size();
  size_t i = 0;
  while (i < n) {
    while (i < n && flips[i] == 0) ++i;
    if (i == n) break;
    size_t end = i + 1;
    // Extend over short unchanged gaps.
    for (size_t j = end; j < n; ++j) {
      if (flips[j] != 0) end = j + 1;
      else if (j - end >= kJoinGap) break;
    }
    s.ranges.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(end - i)});
    s.flips.insert(s.flips.end(), flips.begin() + static_cast<long>(i), flips.begin() + static_cast<long>(end));
    i = end;
  }
  return s;
}

void EditHistory::Apply(const Step& s, std::vector<uint8_t>& state) {
  size_t k = 0;
  for (const Range& r : s.ranges)
    for (uint32_t i = 0; i < r.length; ++i) state[r.offset + i] ^= s.flips[k++];
}

void EditHistory::ApplyTo(const Step& s, std::span<uint8_t> image, std::span<uint8_t> ext) {
  size_t k = 0;
  for (const Range& r : s.ranges) {
    for (uint32_t i = 0; i < r.length; ++i, ++k) {
      const size_t at = r.offset + i;
      if (at < image.size()) image[at] ^= s.flips[k];
      else if (at - image.size() < ext.size()) ext[at - image.size()] ^= s.flips[k];
    }
  }
}

bool EditHistory::Commit(std::span<const uint8_t> image, std::span<const uint8_t> ext, const std::string& name,
                         const std::string& mergeKey, int64_t nowMs) {
  if (!Pending(image, ext)) return false;
  std::vector<uint8_t> now;
  Load(image, ext, now);
  std::vector<uint8_t> flips(now.size());
  for (size_t i = 0; i < now.size(); ++i) flips[i] = static_cast<uint8_t>(now[i] ^ committed_[i]);

  const bool merge = !sealed_ && !undo_.empty() && !mergeKey.empty() && undo_.back().mergeKey == mergeKey &&
                     nowMs - undo_.back().lastMs <= limits_.burstMs && nowMs >= undo_.back().lastMs;
  if (merge) {
    Step& top = undo_.back();
    Apply(top, flips);  // flips now lead from the state before the burst
    stepBytes_ -= top.Cost();
    Step joined = Encode(flips);
    std::string keptName = top.name;
    undo_.pop_back();
    if (!joined.ranges.empty()) {
      joined.name = name.empty() ? keptName : name;
      joined.mergeKey = mergeKey;
      joined.lastMs = nowMs;
      stepBytes_ += joined.Cost();
      undo_.push_back(std::move(joined));
    }
  } else {
    Step s = Encode(flips);
    s.name = name;
    s.mergeKey = mergeKey;
    s.lastMs = nowMs;
    stepBytes_ += s.Cost();
    undo_.push_back(std::move(s));
  }
  for (const Step& r : redo_) stepBytes_ -= r.Cost();
  redo_.clear();
  committed_ = std::move(now);
  sealed_ = false;
  Trim();
  return true;
}

void EditHistory::Trim() {
  while (!undo_.empty() && (undo_.size() > limits_.maxSteps || stepBytes_ > limits_.maxBytes)) {
    stepBytes_ -= undo_.front().Cost();
    undo_.pop_front();
  }
}

const std::string& EditHistory::UndoName() const { return undo_.empty() ? kNoName : undo_.back().name; }
const std::string& EditHistory::RedoName() const { return redo_.empty() ? kNoName : redo_.back().name; }

void EditHistory::SetUndoName(const std::string& name) {
  if (!undo_.empty()) undo_.back().name = name;
}

bool EditHistory::Undo(std::span<uint8_t> image, std::span<uint8_t> ext) {
  Commit(image, ext, {}, {}, 0);
  if (undo_.empty()) return false;
  Step s = std::move(undo_.back());
  undo_.pop_back();
  ApplyTo(s, image, ext);
  Apply(s, committed_);
  redo_.push_back(std::move(s));
  sealed_ = true;
  return true;
}

bool EditHistory::Redo(std::span<uint8_t> image, std::span<uint8_t> ext) {
  // A change made since the undo is a new step, and a new step ends the redo list.
  if (Commit(image, ext, {}, {}, 0)) return false;
  if (redo_.empty()) return false;
  Step s = std::move(redo_.back());
  redo_.pop_back();
  ApplyTo(s, image, ext);
  Apply(s, committed_);
  undo_.push_back(std::move(s));
  sealed_ = true;
  return true;
}

bool EditHistory::StateBeforeUndo(std::vector<uint8_t>& image, std::vector<uint8_t>& ext) const {
  if (undo_.empty()) return false;
  std::vector<uint8_t> state = committed_;
  Apply(undo_.back(), state);
  image.assign(state.begin(), state.begin() + static_cast<long>(imageSize_));
  ext.assign(state.begin() + static_cast<long>(imageSize_), state.end());
  return true;
}

}  // namespace vb420

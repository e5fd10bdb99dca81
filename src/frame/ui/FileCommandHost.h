// SPDX-License-Identifier: GPL-3.0-or-later
// What the File commands (and every other command that replaces the whole
// programming) need from the main window. Kept beside FrameServices so that
// the windows and commands of every folder can reach it without knowing the
// main window's class.
#pragma once

class QWidget;

namespace vb420 {

class FileCommandHost {
 public:
  virtual ~FileCommandHost() = default;
  virtual QWidget* Owner() = 0;
  virtual void CloseAllEditors() = 0;
  // Open editors store any cell or field still being edited.
  virtual void CommitPendingEdits() {}
  // The whole image was replaced: menus, caption, editors' copy buffers,
  // Zone Information.
  virtual void ImageReplaced() = 0;
  // A default file name changed.
  virtual void CaptionChanged() = 0;
  // Recomputes every channel's transmit validity mark after a load.
  virtual void RecomputeChannelMarks() {}
};

}  // namespace vb420

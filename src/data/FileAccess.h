// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and safely replacing files, the one place that knows the system's
// file calls: POSIX (FileAccessPosix.cpp) or Win32 (FileAccessWin32.cpp).
// Every file is read and written as bytes; names are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/DataFile.h"

namespace vb420 {

// A file opened for reading its bytes as they are (never in a text mode that
// would turn CR LF into LF).
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool ok() const { return open_; }
  // The system error number (errno) of a failed opening.
  int openError() const { return openError_; }
  // The name is a folder (which some systems open for reading).
  bool IsFolder() const { return folder_; }
  // Reads exactly n bytes; false on a short file or an error.
  bool ReadAll(void* dst, size_t n);
  // Everything from here to the end; false (with errno in sysError) on an error.
  bool ReadRest(std::string& out, int& sysError);
  // Moves to `offset` bytes from the start.
  bool Seek(uint64_t offset);

 private:
  intptr_t handle_ = -1;  // descriptor, or the Windows HANDLE
  bool open_ = false;
  bool folder_ = false;
  int openError_ = 0;
};

// A failed status: what failed, the system error number, the file concerned.
FileStatus FileFailure(DataFileResult result, int sysError, const std::string& path);

// True when `path` names an existing folder.
bool IsFolderPath(const std::string& path);

// Writes the pieces to a temporary file beside the target, flushes it to the
// disk and puts it in the target's place in one step: a failure at any point
// leaves the previous file as it was. A read-only target is refused (result
// CannotOpen); a folder is IsFolder.
using FilePieces = std::vector<std::pair<const void*, size_t>>;
FileStatus ReplaceFileAtomically(const std::string& path, const FilePieces& pieces);

// The whole of a file (ReadRest from the start); false with errno in sysError.
bool ReadWholeFile(const std::string& path, std::string& out, int& sysError);

}  // namespace vb420

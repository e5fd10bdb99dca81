// SPDX-License-Identifier: GPL-3.0-or-later
// The data files: ".dat" (64-byte header, memory image, extension block) and
// ".sdt" (the same header and the zone-merge slots).
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "data/RadioData.h"

namespace vb420 {

class TextTable;

constexpr size_t kHeaderSize = 64;
constexpr size_t kDatFileSize = kHeaderSize + kImageSize + kExtBlockSize;  // 53568

// What a load or save came to. The numbers are kept as the program has always
// used them (0 success, 1 cannot open, 2 not ours, 3 write failed, 5 refused).
enum class DataFileResult : int {
  Ok = 0,
  CannotOpen = 1,   // the system error number is kept in `sysError`
  NotOurs = 2,      // no "VB420" header, or shorter than its content
  WriteFailed = 3,  // nothing is left behind
  Refused = 5,      // model or version not accepted, or unknown type
  IsFolder = 7,     // the name given is a folder, not a file
};

// The short names the rest of the program uses.
inline constexpr DataFileResult kFileOk = DataFileResult::Ok;
inline constexpr DataFileResult kFileCannotOpen = DataFileResult::CannotOpen;
inline constexpr DataFileResult kFileNotOurs = DataFileResult::NotOurs;
inline constexpr DataFileResult kFileWriteFailed = DataFileResult::WriteFailed;
inline constexpr DataFileResult kFileRefused = DataFileResult::Refused;
inline constexpr DataFileResult kFileIsFolder = DataFileResult::IsFolder;

// Prints the number, for diagnostics and test output.
std::ostream& operator<<(std::ostream& out, DataFileResult r);

struct [[nodiscard]] FileStatus {
  DataFileResult result = kFileOk;
  int sysError = 0;                    // errno of an open or write failure
  std::array<uint8_t, 10> header10{};  // the first header bytes, for the message
  // The file the failure concerns: the name given, or the temporary file
  // written beside it when that is what failed.
  std::string path;

  bool ok() const { return result == kFileOk; }
};

// Whether the message is for reading a file or for writing one.
enum class FileAction { Load, Save };

// The message a failed load or save shows, in the table's language: text
// entry 268 for a file that cannot be opened, 311 or 312 for a foreign file,
// 281 for a refused model or version, the system's own reason for a failed
// write. Empty for success.
constexpr int kMsgIsFolder = 291;       // "%s" is a folder
constexpr int kMsgModelNotSaved = 292;  // the programming has no model that can be saved
std::string DataFileMessage(const FileStatus& st, FileAction action, TextTable& text);

// The 64-byte header for the given model bytes; byte 25 is 0xFF for ".dat"
// and 0x00 for ".sdt".
std::array<uint8_t, kHeaderSize> BuildHeader(const ModelBytes& model, bool sdt);

// Loads a ".dat" file into the scratch copy. The working image is never
// touched; the caller accepts the scratch copy on success.
[[nodiscard]] FileStatus LoadDatFile(const std::string& path, RadioData& data);
// Saves the working image and extension block. The file is written beside the
// target under a temporary name and renamed over it, so a failed save always
// leaves the previous file as it was. The saved file keeps the mode of the
// file it replaces; a read-only file is not replaced; a symbolic link is
// written through (its target is replaced, the link stays). Model bytes that
// Open would refuse are not written at all (result 5).
[[nodiscard]] FileStatus SaveDatFile(const std::string& path, RadioData& data);

// Any other file written the same safe way (temporary file, then rename).
[[nodiscard]] FileStatus WriteFileAtomically(const std::string& path, const void* bytes, size_t size);

// ".sdt": header and zone-merge slots.
[[nodiscard]] FileStatus LoadSdtFile(const std::string& path, RadioData& data);
[[nodiscard]] FileStatus SaveSdtFile(const std::string& path, RadioData& data);

// Either type by its extension (case ignored); another extension gives 5.
[[nodiscard]] FileStatus LoadDataFile(const std::string& path, RadioData& data);

// The two 32-byte texts at image 0x9A0 and 0x9C0 of a ".dat" file, for the
// open dialog's preview; empty when the file fails the header checks.
std::array<std::string, 2> ProbeHeader(const std::string& path);

// "DMT" in the header text tells a file of a sister program.
std::string HeaderText(const std::array<uint8_t, 10>& header10);

// The folder part of a path: cut after the last '\\', '/' or ':'.
std::string FolderOf(const std::string& path);
// Appends ".ext" when the name's extension differs (a single dot when the
// name already ends with one).
std::string WithExtension(const std::string& name, const std::string& ext);
// The name's part before its extension is longer than 32 characters.
bool NameTooLong(const std::string& name);

}  // namespace vb420

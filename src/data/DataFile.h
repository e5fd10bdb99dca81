// The data files: ".dat" (64-byte header, memory image, extension block) and
// ".sdt" (the same header and the zone-merge slots).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/RadioData.h"

namespace vb420 {

constexpr size_t kHeaderSize = 64;
constexpr size_t kDatFileSize = kHeaderSize + kImageSize + kExtBlockSize;  // 53568

enum DataFileResult {
  kFileOk = 0,
  kFileCannotOpen = 1,   // the system error number is kept in `sysError`
  kFileNotOurs = 2,      // no "VB420" header, or shorter than its content
  kFileWriteFailed = 3,  // nothing is left behind
  kFileRefused = 5,      // model or version not accepted, or unknown type
};

struct FileStatus {
  int result = kFileOk;
  int sysError = 0;                    // errno of an open or write failure
  std::array<uint8_t, 10> header10{};  // the first header bytes, for the message
};

// The 64-byte header for the given model bytes; byte 25 is 0xFF for ".dat"
// and 0x00 for ".sdt".
std::array<uint8_t, kHeaderSize> BuildHeader(const ModelBytes& model, bool sdt);

// Loads a ".dat" file into the scratch copy. The working image is never
// touched; the caller accepts the scratch copy on success.
FileStatus LoadDatFile(const std::string& path, RadioData& data);
// Saves the working image and extension block. The file is written beside the
// target under a temporary name and renamed over it, so a failed save always
// leaves the previous file as it was.
FileStatus SaveDatFile(const std::string& path, RadioData& data);

// ".sdt": header and zone-merge slots.
FileStatus LoadSdtFile(const std::string& path, RadioData& data);
FileStatus SaveSdtFile(const std::string& path, RadioData& data);

// Either type by its extension (case ignored); another extension gives 5.
FileStatus LoadDataFile(const std::string& path, RadioData& data);

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

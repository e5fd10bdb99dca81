// SPDX-License-Identifier: GPL-3.0-or-later
// Files for tests: a temporary folder of the test's own, a file's bytes and
// text, and the shipped language file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vb420::testsupport {

// A fresh folder under the system's temporary folder (TMPDIR), removed with
// everything in it when the object goes.
class TempDir {
 public:
  explicit TempDir(const std::string& tag = "test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Dir() const { return path_; }
  // A path inside the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Removes a folder and everything in it, files a test made read-only too
// (Windows refuses to delete those).
void RemoveTree(const std::filesystem::path& folder);

std::vector<uint8_t> FileBytes(const std::string& path);
std::string FileText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// The language file the program ships, as text.
const std::string& ShippedLanguageText();

}  // namespace vb420::testsupport

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Files.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/Paths.h"

namespace vb420::testsupport {

TempDir::TempDir(const std::string& tag) {
  static std::atomic<int> counter{0};
  const char* tmp = std::getenv("TMPDIR");
  const std::filesystem::path base = tmp && *tmp ? std::filesystem::path(tmp) : std::filesystem::temp_directory_path();
  path_ = base / ("vb420-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::filesystem::path& folder) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 ec);
  std::filesystem::remove_all(folder, ec);
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

const std::string& ShippedLanguageText() {
  static const std::string text = FileText(LanguageFilePath());
  return text;
}

}  // namespace vb420::testsupport

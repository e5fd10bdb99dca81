// SPDX-License-Identifier: GPL-3.0-or-later
// The files of the source tree the structure tests read, in a stable order.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <vector>

namespace vb420::structure {

// Every regular file under `root`/top for each of `tops` (a missing folder
// adds nothing) that `wanted` takes, sorted.
inline std::vector<std::filesystem::path> SourceFiles(const std::filesystem::path& root,
                                                      std::initializer_list<const char*> tops,
                                                      const std::function<bool(const std::filesystem::path&)>& wanted) {
  std::vector<std::filesystem::path> files;
  for (const char* top : tops) {
    if (!std::filesystem::exists(root / top)) continue;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root / top))
      if (e.is_regular_file() && wanted(e.path())) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A C++ source or header.
inline bool IsCppSource(const std::filesystem::path& p) {
  const auto ext = p.extension();
  return ext == ".h" || ext == ".cpp";
}

}  // namespace vb420::structure

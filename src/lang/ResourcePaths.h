// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs look for their shipped resources: the language file
// vb420.lng and the help pages (help/<lang>/).
#pragma once

#include <string>
#include <vector>

namespace vb420 {

// The folders to search, in order, for a program whose file lies in
// `programFolder`:
//   1. the program's own folder (a language file put beside the program wins);
//   2. ../share/vb420 beside it: the installed tree, wherever its prefix was
//      copied or moved;
//   3. $XDG_DATA_HOME/vb420 (default ~/.local/share/vb420), then
//      <dir>/vb420 for each folder of $XDG_DATA_DIRS (default
//      /usr/local/share:/usr/share);
//   4. the source tree's resources, but only for a program that runs from
//      the build tree it was compiled in; an installed copy never reaches
//      back into a source tree that may since have changed or gone.
// Relative XDG entries are ignored, as the XDG rules say.
std::vector<std::string> ResourceDirs(const std::string& programFolder);

// The same list with explicit values for the environment and the compiled-in
// paths (empty source or build folder: no source fallback).
std::vector<std::string> ResourceDirs(const std::string& programFolder, const char* xdgDataHome,
                                      const char* xdgDataDirs, const char* home, const std::string& sourceResources,
                                      const std::string& buildFolder);

// The folder of the running program (from /proc/self/exe); "." when unknown.
std::string RunningProgramFolder();

}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
// Where a test finds the source tree's resources, the build folder (the
// built programs) and the source tree itself. Compiled once, in the test
// support library, so that the folders a checkout lives in reach no other
// object file: two checkouts then share their compiled objects (ccache).
#pragma once

#include <string>

namespace vb420::testsupport {

// <source>/resources: the shipped language file and help pages.
const std::string& ResourceDir();
// The shipped language file.
std::string LanguageFilePath();
// The top build folder (tools/vb420cli, tools/sim/vb420sim).
const std::string& BinaryDir();
// The top of the source tree.
const std::string& SourceDir();

}  // namespace vb420::testsupport

// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the tool bar and the tree bar, drawn by the program.
// The platform style's own icons look up the desktop's icon theme and decode
// a picture of every size on each request: for seven pictures that was a
// quarter of the start-up. Drawn ones cost next to nothing and look the same
// on every desktop.
#pragma once

#include <QIcon>

namespace vb420 {

enum class ToolPicture { NewFile, OpenFile, SaveFile, Print, ReadRadio, WriteRadio, About, Radio, Window };

QIcon ToolIcon(ToolPicture picture);

}  // namespace vb420

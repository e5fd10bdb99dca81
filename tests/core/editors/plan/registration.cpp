// SPDX-License-Identifier: GPL-3.0-or-later
// The merge and list tests set fields by key: like every program, this one
// registers every field set before the first test, whichever of its files
// a build leaves out.
#include "support/Registered.h"

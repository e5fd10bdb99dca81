// SPDX-License-Identifier: GPL-3.0-or-later
// This program makes new programmings: like every program, it registers the
// field tables (which give the new-programming values) before the first test.
#include "support/Registered.h"

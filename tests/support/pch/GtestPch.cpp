// SPDX-License-Identifier: GPL-3.0-or-later
// The precompiled GoogleTest header of the test programs is made with this file's target.

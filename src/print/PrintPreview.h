// SPDX-License-Identifier: GPL-3.0-or-later
// Print and print preview of the report in the program: the preview window
// and the flag the main window asks while it shows, the printer the session
// keeps (its setup stays for the next print), and the test-mode report.
#pragma once

#include <QPrinter>

#include <string>

#include "print/core/PrintOptions.h"

class QDialog;
class QWidget;

namespace vb420 {
class RadioData;
class TextTable;
class TestModeSession;
class UiPrompter;
}  // namespace vb420

namespace vb420::print {

// The printer of this run: print, preview and setup share it.
QPrinter& SessionPrinter();
bool PrinterLandscape(const QPrinter& printer);

// Modal dialogs run through the program's prompter (tests script them), or
// by themselves without one.
int RunModal(QDialog& dialog, UiPrompter* prompter);

// Shows the preview of the report with `options` (modal to `parent`). While
// it shows, PreviewShowing() is true.
void RunPreview(RadioData& data, TextTable& text, const PrintOptions& options, QWidget* parent,
                UiPrompter* prompter = nullptr);
// Asks for a printer (the system's print dialog, printing to a PDF file
// included) and prints. False when the user cancelled.
bool RunPrint(RadioData& data, TextTable& text, const PrintOptions& options, QWidget* parent,
              UiPrompter* prompter = nullptr);

// The preview flag of the main window.
bool PreviewShowing();
// Ends a showing preview (the main window is being closed); false when none
// was showing.
bool EndPreview();

// The page of test mode's Print, from the test data the session read.
bool PrintTestReport(QWidget* parent, RadioData& data, TextTable& text, const TestModeSession& session,
                     UiPrompter* prompter = nullptr);

}  // namespace vb420::print

// SPDX-License-Identifier: GPL-3.0-or-later
// The print-options dialog of File > Print: which sections and header blocks
// to print, the range of zones, the number of pages those choices give on the
// current printer, printer setup, preview and print.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "print/core/PrintOptions.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace vb420 {
class HelpSystem;
class RadioData;
class TextTable;
class UiPrompter;

namespace print {

constexpr int kHelpPrint = 0x15000;
constexpr int kHelpPreview = 0x16000;
constexpr int kHelpPrinterSetup = 0x18000;

class CPrintOptionsDlg : public QDialog {
  Q_OBJECT
 public:
  // `prompter` runs the preview and the print dialog (none: they run by
  // themselves).
  CPrintOptionsDlg(RadioData& data, TextTable& text, HelpSystem* help, QPrinter& printer, UiPrompter* prompter,
                   QWidget* parent = nullptr);

  const PrintOptions& Options() const { return options_; }
  int Pages() const { return pages_; }

  // What the buttons run; the defaults show the preview and the system's
  // print dialog (tests replace them).
  std::function<void(const PrintOptions&)> onPreview;
  std::function<bool(const PrintOptions&)> onPrint;
  std::function<void()> onPrinterSetup;

  QCheckBox* Box(int option) const { return boxes_[static_cast<size_t>(option)]; }
  QLineEdit* FirstZoneEdit() const { return first_; }
  QLineEdit* LastZoneEdit() const { return last_; }
  QLabel* PageCountLabel() const { return count_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* PreviewButton() const { return preview_; }
  QPushButton* SetupButton() const { return setup_; }
  QPushButton* ClearAllButton() const { return clearAll_; }
  QPushButton* SelectAllButton() const { return selectAll_; }

  // The dialog of File > Print while it is open (Print does nothing then).
  static CPrintOptionsDlg* Open();

  // Reads the boxes, recounts the pages and sets what is enabled.
  void UpdateState();

 private:
  void ZoneFieldDone(bool first);
  void ShowZones();
  void Preview();
  void Print();

  RadioData& data_;
  TextTable& text_;
  QPrinter& printer_;
  PrintOptions options_ = PrintOptions::Defaults();
  int pages_ = 0;
  std::array<QCheckBox*, kCheckBoxCount> boxes_{};
  QLineEdit* first_ = nullptr;
  QLineEdit* last_ = nullptr;
  QLabel* count_ = nullptr;
  QPushButton* setup_ = nullptr;
  QPushButton* clearAll_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace print
}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/ui/UiPrompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <QScreen>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace vb420 {

int UiPrompter::Message(QWidget* owner, const MessageRequest& r) {
  QMessageBox box(owner);
  box.setWindowTitle(r.caption);
  box.setText(r.text);
  switch (r.icon) {
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Warning:
    case MsgIcon::Notice: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
  }
  struct Btn {
    QMessageBox::StandardButton std;
    int id;
  };
  std::vector<Btn> buttons;
  switch (r.buttons) {
    case kMsgOkCancel: buttons = {{QMessageBox::Ok, kIdOk}, {QMessageBox::Cancel, kIdCancel}}; break;
    case kMsgYesNo: buttons = {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}}; break;
    case kMsgYesNoCancel:
      buttons = {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}, {QMessageBox::Cancel, kIdCancel}};
      break;
    default: buttons = {{QMessageBox::Ok, kIdOk}}; break;
  }
  QMessageBox::StandardButtons set;
  for (const auto& b : buttons) set |= b.std;
  box.setStandardButtons(set);
  // The buttons speak the program's language, not the platform's.
  const std::pair<QMessageBox::StandardButton, const QString*> texts[] = {
      {QMessageBox::Ok, &r.okText}, {QMessageBox::Cancel, &r.cancelText},
      {QMessageBox::Yes, &r.yesText}, {QMessageBox::No, &r.noText}};
  for (const auto& [std, text] : texts)
    if (QAbstractButton* b = box.button(std); b && !text->isEmpty()) b->setText(*text);
  QMessageBox::StandardButton def = buttons.front().std;
  for (const auto& b : buttons)
    if (b.id == r.defaultAnswer) def = b.std;
  box.setDefaultButton(def);
  const int res = box.exec();
  for (const auto& b : buttons)
    if (b.std == res) return b.id;
  // Closed with Escape or the window's close button.
  for (const auto& b : buttons)
    if (b.id == kIdCancel) return kIdCancel;
  return buttons.size() == 1 ? kIdOk : kIdNo;
}

namespace {

// Large enough to show each file's size and date beside its name.
void ShowDetails(QFileDialog& dlg) {
  dlg.setViewMode(QFileDialog::Detail);
  // Size, kind and date as wide as what they show (in every language); the
  // name takes the rest.
  if (auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    for (int c = 0; c < header->count(); ++c)
      header->setSectionResizeMode(c, c == 0 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  }
  QSize size(900, 560);
  if (const QScreen* screen = dlg.screen()) size = size.boundedTo(screen->availableSize() * 0.9);
  dlg.resize(size);
}

// The open dialog with the two-line preview of the selected data file.
class PreviewFileDialog : public QFileDialog {
 public:
  PreviewFileDialog(QWidget* owner, const FileDialogRequest& r) : QFileDialog(owner), request_(r) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setDirectory(r.folder);
    setNameFilter(r.filter);
    if (!r.title.isEmpty()) setWindowTitle(r.title);
    plainTitle_ = windowTitle();
    ShowDetails(*this);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
      line1_ = new QLabel(this);
      line2_ = new QLabel(this);
      for (QLabel* l : {line1_, line2_}) {
        l->setTextFormat(Qt::PlainText);
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumHeight(l->fontMetrics().height() + 6);
        l->setFont(QFont("Monospace"));
      }
      const int row = grid->rowCount();
      grid->addWidget(line1_, row, 0, 1, grid->columnCount());
      grid->addWidget(line2_, row + 1, 0, 1, grid->columnCount());
    }
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { ShowPreview(path); });
  }

 private:
  void ShowPreview(const QString& path) {
    const bool isFile = QFileInfo(path).isFile();
    setWindowTitle(isFile && !request_.previewTitle.isEmpty() ? request_.previewTitle : plainTitle_);
    std::array<QString, 2> texts;
    if (isFile && request_.preview) texts = request_.preview(path);
    if (line1_) line1_->setText(texts[0]);
    if (line2_) line2_->setText(texts[1]);
  }

  FileDialogRequest request_;
  QString plainTitle_;
  QLabel* line1_ = nullptr;
  QLabel* line2_ = nullptr;
};

}  // namespace

QString UiPrompter::OpenFileName(QWidget* owner, const FileDialogRequest& r) {
  PreviewFileDialog dlg(owner, r);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().front();
}

QString UiPrompter::SaveFileName(QWidget* owner, const FileDialogRequest& r) {
  QFileDialog dlg(owner);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setDirectory(r.folder);
  dlg.setNameFilter(r.filter);
  dlg.setDefaultSuffix(r.defaultSuffix);
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  ShowDetails(dlg);
  if (!r.initialName.isEmpty()) dlg.selectFile(r.initialName);
  if (!r.title.isEmpty()) dlg.setWindowTitle(r.title);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().front();
}

int UiPrompter::RunDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace vb420

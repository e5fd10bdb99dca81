// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/compare/ui/CompareWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>
#include <memory>

#include "data/DataFile.h"
#include "data/RadioData.h"
#include "editors/zones/ui/ZnInfoView.h"
#include "frame/ui/EditorView.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "lang/ui/UiPrompter.h"
#include "link/ui/RadioCommands.h"
#include "link/ui/RadioDialogs.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

constexpr int kTitleEntry = 1179;
constexpr int kSettingColumnEntry = 1180;
constexpr int kThisColumnEntry = 1181;
constexpr int kOtherColumnEntry = 1182;
constexpr int kNoneEntry = 1183;
constexpr int kExistsEntry = 1184;
constexpr int kNoDifferencesEntry = 1185;
constexpr int kRadioEntry = 1189;
constexpr int kKeyColumnEntry = 1297;  // "Key": the name `vb420cli settings` and `diff` use
constexpr int kCloseEntry = 15;  // "Close"

// Which window shows the fields of a key's first part (the zone keys go to
// Zone Information at their zone and record).
struct KeyWindow {
  const char* head;
  EditorKind kind;
};
constexpr KeyWindow kKeyWindows[] = {
    {"features", EditorKind::Features},  {"keys", EditorKind::Keys},         {"scan", EditorKind::Scan},
    {"dtmf", EditorKind::Dtmf},          {"twotone", EditorKind::TwoTone},   {"vantelix", EditorKind::Vantelix},
    {"idlist", EditorKind::Vantelix},    {"status", EditorKind::Vantelix},   {"emergency", EditorKind::Emergency},
    {"alert", EditorKind::AlertTone},    {"testfreq", EditorKind::TestFreq}, {"message", EditorKind::EmbMessage},
    {"passmessage", EditorKind::EmbPassword}, {"extfunc", EditorKind::ExtFunction},
    {"optboard", EditorKind::OptionBoard},    {"merge", EditorKind::ZoneMerge},
};

QString Text(const std::string& s) { return QString::fromStdString(s); }

// "zone.3.ch.17.rxf" -> zone 2, record 16 (0-based); false for other keys.
bool ZoneAndRecord(const std::string& key, int& zone, int& record) {
  int z = 0, r = 0;
  char kind[16] = {};
  zone = record = -1;
  if (std::sscanf(key.c_str(), "zone.%d.%15[a-z].%d", &z, kind, &r) == 3) {
    zone = z - 1;
    if (std::strcmp(kind, "rep") != 0) record = r - 1;
    return true;
  }
  if (std::sscanf(key.c_str(), "zone.%d", &z) == 1) {
    zone = z - 1;
    return true;
  }
  return false;
}

}  // namespace

CCompareWindow::CCompareWindow(EditorContext& ctx, RadioData& other, const QString& otherName, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName("compareWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  MessageHelper& msg = ctx.msg;
  setWindowTitle(msg.T(kTitleEntry).replace(QStringLiteral("%s"), otherName));
  lines_ = compare::DiffProgrammings(ctx.ws.data, other, ctx.ws.text);

  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName("compareSummary");
  layout->addWidget(summary_);
  list_ = new QTreeWidget(this);
  list_->setObjectName("compareList");
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->setHeaderLabels(
      {msg.T(kSettingColumnEntry), msg.T(kKeyColumnEntry), msg.T(kThisColumnEntry), msg.T(kOtherColumnEntry)});
  const QString none = msg.T(kNoneEntry), exists = msg.T(kExistsEntry);
  for (const compare::DiffLine& l : lines_) {
    auto* item = new QTreeWidgetItem(list_);
    QString words, first = Text(l.first), second = Text(l.second);
    switch (l.kind) {
      case compare::DiffLine::Kind::Field: words = Text(compare::DescribeKey(ctx.ws.data, ctx.ws.text, l.key)); break;
      case compare::DiffLine::Kind::Removed:
        words = Text(compare::DescribeKey(ctx.ws.data, ctx.ws.text, l.key));
        first = exists;
        second = none;
        break;
      case compare::DiffLine::Kind::Added:
        words = Text(compare::DescribeKey(other, ctx.ws.text, l.key));
        first = none;
        second = exists;
        break;
      case compare::DiffLine::Kind::Bytes: words = Text(compare::FormatLine(l)).section(':', 0, 0); break;
    }
    item->setText(0, words);
    item->setText(1, l.kind == compare::DiffLine::Kind::Bytes ? QString() : Text(l.key));
    item->setText(2, first);
    item->setText(3, second);
  }
  summary_->setText(msg.T(kNoDifferencesEntry));
  summary_->setVisible(lines_.empty());
  for (int c = 0; c < 4; ++c) list_->resizeColumnToContents(c);
  layout->addWidget(list_, 1);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(msg.T(kCloseEntry), QDialogButtonBox::RejectRole);
  close->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenLine(list_->indexOfTopLevelItem(item)); });
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  resize(760, 460);
}

bool CCompareWindow::OpenLine(int row) {
  if (row < 0 || row >= static_cast<int>(lines_.size())) return false;
  const std::string& key = lines_[static_cast<size_t>(row)].key;
  int zone = -1, record = -1;
  if (ZoneAndRecord(key, zone, record)) {
    auto* view = qobject_cast<CZnInfoView*>(ctx_.frame.OpenEditor(EditorKind::ZoneInfo));
    if (!view) return false;
    if (zone >= 0 && zone < 128) view->SetZone(zone);
    if (record >= 0) view->SetCurrentRecord(record);
    return true;
  }
  const std::string head = key.substr(0, key.find('.'));
  for (const KeyWindow& w : kKeyWindows)
    if (head == w.head) return ctx_.frame.OpenEditor(w.kind) != nullptr;
  return false;
}

void CCompareWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    ctx_.help.Show(this, kHelpCompare);
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void RunCompareWithFile(EditorContext& ctx, const QString& path) {
  auto other = std::make_unique<RadioData>(&ctx.ws.text);
  const FileStatus st = LoadDatFile(path.toStdString(), *other);
  if (!st.ok()) {
    ctx.msg.Error(QString::fromStdString(DataFileMessage(st, FileAction::Load, ctx.ws.text)));
    return;
  }
  other->buffers.AcceptScratch();
  other->SyncCodecs();
  ctx.frame.CommitPendingEdits();
  auto* w = new CCompareWindow(ctx, *other, QFileInfo(path).fileName(), ctx.frame.MainWindow());
  w->show();
}

void RunCompareWithRadio(EditorContext& ctx) {
  RadioData& data = ctx.ws.data;
  // The read fills the scratch copy; whatever it held before comes back
  // afterwards, and the working programming is never touched.
  const std::vector<uint8_t> keepImage(data.buffers.ScratchImage().data(),
                                       data.buffers.ScratchImage().data() + kImageSize);
  const std::vector<uint8_t> keepExt(data.buffers.ScratchExt().data(), data.buffers.ScratchExt().data() + kExtSize);
  ctx.frame.CommitPendingEdits();
  CReadDlg dlg(ctx.ws, ctx.msg, &ctx.help, ProgramRadioLink(ctx.ws), ctx.frame.MainWindow());
  // Choosing the command is the go: the read starts at once, and the
  // comparison that follows is its result.
  dlg.SetStartWhenShown(true);
  dlg.SetQuietSuccess(true);
  const bool read = ctx.msg.Prompter().RunDialog(dlg) == QDialog::Accepted && dlg.LastResult() == TransferResult::kOk;
  auto other = std::make_unique<RadioData>(&ctx.ws.text);
  if (read) {
    std::memcpy(other->Image().data(), data.buffers.ScratchImage().data(), kImageSize);
    std::memcpy(other->Ext().data(), data.buffers.ScratchExt().data(), kExtSize);
    other->SyncCodecs();
  }
  std::memcpy(data.buffers.ScratchImage().data(), keepImage.data(), kImageSize);
  std::memcpy(data.buffers.ScratchExt().data(), keepExt.data(), kExtSize);
  if (!read) return;
  auto* w = new CCompareWindow(ctx, *other, ctx.msg.T(kRadioEntry), ctx.frame.MainWindow());
  w->show();
}

namespace {

void CompareWithCommand(EditorContext& ctx) {
  FileDialogRequest r;
  r.folder = QString::fromStdString(ctx.ws.lastFilePath);
  r.filter = QStringLiteral("%1 (*.dat)").arg(ctx.msg.T(118));
  const QString path = ctx.msg.Prompter().OpenFileName(ctx.frame.MainWindow(), r);
  if (!path.isEmpty()) RunCompareWithFile(ctx, path);
}

}  // namespace

void RegisterCompareCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdCompareWith, CompareWithCommand);
  reg.RegisterCommand(kCmdCompareRadio, RunCompareWithRadio);
}

}  // namespace vb420

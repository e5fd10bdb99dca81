// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/RadioCommands.h"

#include <QCheckBox>
#include <QSettings>
#include <algorithm>
#include <QCoreApplication>

#include "frame/ui/AppSettings.h"
#include "frame/ui/EditorView.h"
#include "data/NewImage.h"
#include "lang/ui/MessageHelper.h"
#include "link/Backups.h"
#include "link/RadioLink.h"
#include "link/WriteValidation.h"
#include "link/ui/RadioDialogs.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

RadioCommandState& RadioState() {
  static RadioCommandState state;
  return state;
}

RadioLink& ProgramRadioLink(Workspace& ws) {
  static RadioLink link;
  // COMn through the environment, the "Ports" settings and the defaults.
  const AppSettings settings;
  link.SetPortNumber(ws.comPort);
  link.SetDevicePath(settings.PortDevice(ws.comPort));
  return link;
}

void AcceptReadData(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  RadioData& data = ws.data;
  ctx.frame.CloseAllEditors();
  data.buffers.AcceptScratch();
  // What the radio held, before anything is adjusted, for the day it is
  // overwritten by mistake.
  RadioCommandState& state = RadioState();
  std::string error;
  state.lastBackup = SaveBackup(data, state.backupFolder.empty() ? DefaultBackupFolder() : state.backupFolder, error);
  if (state.lastBackup.empty()) ctx.msg.Warning(QString::fromStdString(error), kMsgOk, MessageHelper::kWarningCaption);
  VersionRecheck(data, [&ctx] { EditorRegistry::Instance().RecomputeChannelMarks(ctx); });
  PostLoadAdjustments(data);
  data.buffers.TakeSnapshot();
  ws.RestoreDefaultFileNames();
  ctx.frame.ImageReplaced();
}

void RunReadCommand(EditorContext& ctx, Prompter* prompter) {
  // A successful read replaces the programming: unsaved work is offered for
  // saving before the port is even opened, and Cancel ends the command.
  if (!ctx.frame.AskToSaveChanges()) return;
  CReadDlg dlg(ctx.ws, ctx.msg, &ctx.help, ProgramRadioLink(ctx.ws), ctx.frame.MainWindow());
  dlg.SetPrompter(prompter);
  if (ctx.msg.Prompter().RunDialog(dlg) != QDialog::Accepted || dlg.LastResult() != TransferResult::kOk) return;
  AcceptReadData(ctx);
}

void RunWriteCommand(EditorContext& ctx, Prompter* prompter) {
  Workspace& ws = ctx.ws;
  QWidget* owner = ctx.frame.MainWindow();
  // Whatever an editor still holds goes into the image first.
  ctx.frame.CommitPendingEdits();
  const WriteValidationResult v = ValidateForWrite(ws.data, ws.text);
  if (!v.problems.empty()) {
    ctx.msg.Error(QString::fromStdString(ValidationMessage(ws.text, msg::kValidationHeading, v.problems)), kMsgOk,
                  MessageHelper::kErrorCaption, owner);
    return;
  }
  if (!v.mergeProblems.empty()) {
    ctx.msg.Error(QString::fromStdString(ValidationMessage(ws.text, msg::kMergeValidationHeading, v.mergeProblems)),
                  kMsgOk, MessageHelper::kErrorCaption, owner);
    return;
  }
  if (v.HasWarnings()) {
    if (ctx.msg.Warning(QString::fromStdString(WarningsQuestion(ws.text, v)), kMsgOkCancel,
                        MessageHelper::kWarningCaption, owner, kIdCancel) != kIdOk)
      return;
  }
  RadioCommandState& state = RadioState();
  const WriteWarnings w = DueWriteWarnings(ws.data, state.warning1Ticked, state.warning2Ticked);
  if (w.Any()) {
    CWriteWarningDlg warn(ws.text, w.first, w.second, owner);
    ctx.msg.Prompter().RunDialog(warn);
    if (warn.FirstBox() && warn.FirstBox()->isChecked()) state.warning1Ticked = true;
    if (warn.SecondBox() && warn.SecondBox()->isChecked()) state.warning2Ticked = true;
  }
  // The safety boxes are remembered in the settings, beside the program's own.
  QSettings stored(QSettings::NativeFormat, QSettings::UserScope, AppSettings::kOrganisation,
                   AppSettings::kApplication);
  state.readFirst = stored.value("Backup/ReadBeforeWrite", state.readFirst).toBool();
  state.verify = stored.value("Backup/VerifyWrite", state.verify).toBool();
  CWriteDlg dlg(ws, ctx.msg, &ctx.help, ProgramRadioLink(ws), state.adjustTime, owner, state.readFirst, state.verify,
                state.backupFolder.empty() ? DefaultBackupFolder() : state.backupFolder);
  dlg.SetPrompter(prompter);
  ctx.msg.Prompter().RunDialog(dlg);
  state.adjustTime = dlg.AdjustTimeChoice();
  state.readFirst = dlg.ReadFirstBox()->isChecked();
  state.verify = dlg.VerifyBox()->isChecked();
  stored.setValue("Backup/ReadBeforeWrite", state.readFirst);
  stored.setValue("Backup/VerifyWrite", state.verify);
}

void RunRadioInfoCommand(EditorContext& ctx, Prompter* prompter) {
  QWidget* owner = ctx.frame.MainWindow();
  UiLinkPrompter ui(ctx.msg, owner);
  Prompter& ask = prompter ? *prompter : static_cast<Prompter&>(ui);
  SessionCallbacks cb;
  cb.pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20); };
  RadioInfoSession session(ProgramRadioLink(ctx.ws), ask, cb);
  const TransferResult result = session.Run();
  if (const int entry = MessageAfter(result)) ask.ShowError(entry);
  if (result != TransferResult::kOk) return;
  CRadioInfoDlg dlg(ctx.ws.text, &ctx.help, session.Info(), owner);
  ctx.msg.Prompter().RunDialog(dlg);
}

void RunCommPortCommand(EditorContext& ctx) {
  Workspace& ws = ctx.ws;
  QWidget* owner = ctx.frame.MainWindow();
  CCommPortDlg dlg(ws.text, &ctx.help, ws.comPort, [](int n) { return AppSettings().PortDevice(n); }, owner);
  if (ctx.msg.Prompter().RunDialog(dlg) != QDialog::Accepted) return;
  AppSettings settings;
  for (const auto& [port, device] : dlg.ChangedDevices()) settings.SetPortDevice(port, device);
  // Only a port that answered can be selected; none selected keeps the port.
  ws.comPort = dlg.Chosen();
  ctx.frame.UpdatePortPane();
}

void RegisterRadioCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdRead, [](EditorContext& ctx) { RunReadCommand(ctx); });
  reg.RegisterCommand(kCmdWrite, [](EditorContext& ctx) { RunWriteCommand(ctx); });
  reg.RegisterCommand(kCmdRadioInfo, [](EditorContext& ctx) { RunRadioInfoCommand(ctx); });
  reg.RegisterCommand(kCmdCommPort, [](EditorContext& ctx) { RunCommPortCommand(ctx); });
}

}  // namespace vb420

// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print and File > Print Preview.
#include "frame/ui/Commands.h"
#include "frame/ui/EditorView.h"
#include "frame/ui/Workspace.h"
#include "lang/ui/HelpSystem.h"
#include "lang/ui/MessageHelper.h"
#include "print/PrintOptionsDlg.h"
#include "print/PrintPreview.h"
#include "frame/ui/PartRegistration.h"

namespace vb420::print {

namespace {

void FilePrint(EditorContext& ctx) {
  if (CPrintOptionsDlg::Open() || PreviewShowing()) return;  // already running
  ctx.frame.CommitPendingEdits();
  CPrintOptionsDlg dlg(ctx.ws.data, ctx.ws.text, &ctx.help, SessionPrinter(), &ctx.msg.Prompter(),
                       ctx.frame.MainWindow());
  RunModal(dlg, &ctx.msg.Prompter());
}

void FilePrintPreview(EditorContext& ctx) {
  if (PreviewShowing()) return;
  ctx.frame.CommitPendingEdits();
  RunPreview(ctx.ws.data, ctx.ws.text, PrintOptions::Defaults(), ctx.frame.MainWindow(), &ctx.msg.Prompter());
}

}  // namespace

void RegisterPrintCommands() {
  EditorRegistry& reg = EditorRegistry::Instance();
  reg.RegisterCommand(kCmdFilePrint, FilePrint);
  reg.RegisterCommand(kCmdFilePrintPreview, FilePrintPreview);
}

}  // namespace vb420::print

// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/zones/ui/ZoneServices.h"

#include <QObject>
#include <memory>

#include "data/ModelChange.h"
#include "editors/zones/ZoneFixups.h"
#include "frame/ui/PartRegistration.h"

namespace vb420 {

namespace {

class ZoneServicesHolder : public QObject {
 public:
  ZoneServicesHolder(Workspace& ws, QObject* parent) : QObject(parent), services(ws) {
    setObjectName(QStringLiteral("vb420ZoneServices"));
  }
  ZoneServices services;
};

}  // namespace

ZoneServices& ZonesOf(EditorContext& ctx) {
  QObject* owner = ctx.frame.MainWindow();
  if (auto* h = owner ? owner->findChild<ZoneServicesHolder*>(QStringLiteral("vb420ZoneServices"), Qt::FindDirectChildrenOnly) : nullptr)
    return h->services;
  if (!owner) {
    // No main window (a bare test context): one set for the whole run.
    static ZoneServices fallback(ctx.ws);
    return fallback;
  }
  return (new ZoneServicesHolder(ctx.ws, owner))->services;
}

void RegisterZoneServices() {
  EditorRegistry& reg = EditorRegistry::Instance();
  // A new, opened or read programming empties the copy buffers.
  reg.AddImageReplacedHook([](EditorContext& ctx) {
    ZoneServices& z = ZonesOf(ctx);
    z.convBuffer.Clear();
    z.ltrBuffer.Clear();
    z.repBuffer.Clear();
    z.zones.SetPendingType('1');
  });
  // A model change clears, re-encodes, lowers or cuts what the zones hold.
  reg.AddModelChangeHooks([](EditorContext& ctx, ModelChangeHooks& hooks) { WireZoneFixups(hooks, ctx.ws.data); });
  // After a load or a read of the current version every channel's transmit
  // validity mark is recomputed for this model.
  reg.AddChannelMarkRecompute([](EditorContext& ctx) { RecomputeTransmitChecks(ctx.ws.data); });
}

}  // namespace vb420

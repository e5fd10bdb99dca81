#include "editors/zones/ui/ZoneServices.h"

#include <QObject>
#include <memory>

namespace vb420 {

namespace {

class ZoneServicesHolder : public QObject {
 public:
  ZoneServicesHolder(Workspace& ws, QObject* parent) : QObject(parent), services(ws) {
    setObjectName(QStringLiteral("vb420ZoneServices"));
  }
  ZoneServices services;
};

// A new, opened or read programming empties the copy buffers.
const bool kRegistered = [] {
  EditorRegistry::Instance().AddImageReplacedHook([](EditorContext& ctx) {
    ZoneServices& z = ZonesOf(ctx);
    z.convBuffer.Clear();
    z.ltrBuffer.Clear();
    z.zones.SetPendingType('1');
  });
  return true;
}();

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

}  // namespace vb420

#include "app/Resources.h"

#include <QtGlobal>

static void RegisterVelmoraResources() { Q_INIT_RESOURCE(velmora); }

namespace velmora::gui {

void InitResources() {
  static const bool registered = [] {
    RegisterVelmoraResources();
    return true;
  }();
  (void)registered;
}

}  // namespace velmora::gui

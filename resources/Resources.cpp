// Registers the resources compiled into the static resources library.
#include "resources/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the registration function in the enclosing
// namespace, so it is called from the global one.
static void RegisterCompiledResources() {
  Q_INIT_RESOURCE(resources);
  Q_INIT_RESOURCE(icons);
}

namespace glamora {

void InitResources() {
  static const bool registered = (RegisterCompiledResources(), true);
  (void)registered;
}

}  // namespace glamora

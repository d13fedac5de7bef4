#include "platform/host/services/host_services.h"

namespace hostsvc {

void resetHostServices() {
    detail::resetLog();
    detail::resetMessages();
    detail::resetUserFolder();
    detail::resetConfigurations();
    detail::resetHostObjects();
    detail::resetNativeCheckin();
    detail::resetScriptEvents();
}

} // namespace hostsvc

#include "libs/KvorCadComm/global_options.h"

#include "libs/KvorCore/loader/log_category.h"
#include "platform/host/services/config.h"

#include <stdexcept>

mzComVariantC globalOptionsC::getOption(const mzComStringC& section, const mzComStringC& key,
                                        const mzComVariantC& def) const {
    if (!config_) {
        return def;
    }
    const std::optional<std::string> value = config_->value(section.toUtf8(), key.toUtf8());
    if (!value) {
        return def;
    }
    return mzComVariantC(mzComStringC(std::string_view(*value)));
}

globalOptionsC getGlobalOptions(const mzComStringC& interfaceName) {
    try {
        return globalOptionsC(hostsvc::hostConfiguration(interfaceName.toUtf8()));
    } catch (const std::invalid_argument& e) {
        NATLINK_LOG(mzLogLevelError,
                    mzComStringC("No global options for '") + interfaceName + "': " + e.what());
        return globalOptionsC();
    }
}

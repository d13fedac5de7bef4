#include "libs/KvorCadComm/resource_text.h"

#include "platform/host/services/resource_texts.h"

mzComStringC translateResourceText(const mzComStringC& key, const mzComStringC& /*appName*/) {
    // The stand-in host keeps one table for every application.
    return mzComStringC(std::string_view(hostsvc::translateText(key.toUtf8())));
}

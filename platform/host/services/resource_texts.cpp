#include "platform/host/services/resource_texts.h"

#include <array>
#include <utility>

namespace hostsvc {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> englishTexts{{
    {"Msg_offline_001", "SolidWorks is not running and could not be started."},
    {"Msg_offline_002", "The connection to SolidWorks was lost."},
    {"Msg_offline_003", "SolidWorks did not answer in time and is restarted."},
    {"Msg_offline_004", "The SolidWorks add-in could not take over the conversion."},
    {"Msg_checkin_001", "The document cannot be checked in"},
    {"Msg_3dExport_002", "The drilling cannot be built in %1."},
}};

} // namespace

std::string translateText(std::string_view key) {
    for (const auto& [k, text] : englishTexts)
        if (k == key)
            return std::string(text);
    return std::string(key);
}

} // namespace hostsvc

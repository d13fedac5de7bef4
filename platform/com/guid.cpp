#include "platform/com/guid.h"

#include <cstdio>
#include <stdexcept>

void comGuidDetail::badLiteral(std::string_view text) {
    throw std::invalid_argument("malformed GUID literal \"" + std::string(text) + "\"");
}

bool guidTryParse(std::string_view text, GUID& out) {
    return comGuidDetail::parse(text, out);
}

GUID guidParse(std::string_view text) {
    GUID g{};
    if (!comGuidDetail::parse(text, g))
        throw std::invalid_argument("not a GUID: \"" + std::string(text) +
                                    "\" (expected {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX})");
    return g;
}

std::string guidToString(const GUID& g) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), static_cast<unsigned>(g.Data2),
                  static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                  g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

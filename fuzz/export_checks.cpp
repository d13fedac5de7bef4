#include "fuzz/export_checks.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace natlinkfuzz {
namespace {

// The first number of a STEP file's text that is not finite; empty when there is none.
std::string nonFiniteStepNumber(const std::string& text) {
    std::string token;
    bool quoted = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c == '\'')
            quoted = !quoted;
        if (!quoted && c != '\'' && std::strchr("(),;= \t\r\n", c) == nullptr) {
            token += c;
            continue;
        }
        if (!token.empty()) {
            char* end = nullptr;
            const double value = std::strtod(token.c_str(), &end);
            if (end == token.c_str() + token.size() && !std::isfinite(value))
                return token;
            token.clear();
        }
    }
    return {};
}

std::string stlProblem(const std::string& bytes) {
    if (bytes.size() < 84)
        return "is no STL file";
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, sizeof count);
    if (count == 0)
        return "holds no triangle";
    if (bytes.size() != 84 + std::size_t{50} * count)
        return "is " + std::to_string(bytes.size()) + " bytes for " + std::to_string(count) +
               " triangles";
    for (std::size_t t = 0; t < count; ++t)
        for (std::size_t k = 0; k < 12; ++k) {
            float value = 0;
            std::memcpy(&value, bytes.data() + 84 + 50 * t + 4 * k, sizeof value);
            if (!std::isfinite(value))
                return "holds the number " + std::to_string(value);
        }
    return {};
}

} // namespace

std::string exportProblem(const std::string& extension, const std::string& bytes) {
    if (extension == ".stl")
        return stlProblem(bytes);
    if (bytes.find("CARTESIAN_POINT") == std::string::npos)
        return "holds no shape";
    if (const std::string bad = nonFiniteStepNumber(bytes); !bad.empty())
        return "holds the number " + bad;
    return {};
}

} // namespace natlinkfuzz

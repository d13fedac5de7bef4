#include "libs/geomcore/buildsw3d/build_helpers.h"

#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/core/valueviews.h"
#include "metamodel/m3d/viewhelpers.h"

#include <filesystem>

namespace {

template <class T> bool removeAt(std::vector<T>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return false;
    list.erase(list.begin() + index);
    return true;
}

} // namespace

mzComStringC storedUnitBaseText(const metaObjectVirtualDataBaseC& prefs) {
    IMetaTreeApi& api = *getIMetaTreeApi();
    const metaTreePtrT value = api.firstChild(prefs.findChild("UNITBASE"));
    if (value.isNull())
        return "nothing";
    if (const std::optional<double> number = api.getDouble(value); number && api.isNumber(value))
        return mzComStringC::number(*number, 'g', 15);
    if (const std::optional<std::string> text = api.getString(value))
        return quotedName(metaFromUtf8(*text));
    return nodeText(value);
}

mzComStringC nodeText(metaTreePtrT node) {
    std::string printed = getIMetaTreeApi()->print(node, metaPrintStyle::compact);
    if (printed.size() > 60) {
        std::size_t cut = 60;
        while (cut > 0 && (static_cast<unsigned char>(printed[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 sequence
        printed = printed.substr(0, cut) + "...";
    }
    const mzComStringC quoted = quotedName(metaFromUtf8(printed));
    // Without the quotes that quotedName adds: the node's own text is shown.
    return quoted.mid(1, quoted.length() - 2);
}

std::string documentFileName(const metaObjectVirtualDataBaseC& document, const char* fallback,
                             const char* extension, const char* kind) {
    bool hasFileName = false;
    mzComStringC fileNameAttr;
    getFileNameAttr(document, fileNameAttr, hasFileName);
    mzComStringC chosen = !fileNameAttr.isEmpty() ? fileNameAttr : getNameAttr(document);
    if (chosen.isEmpty())
        chosen = fallback;
    const std::string text = chosen.toUtf8();
    bool unsafe = text == "." || text == "..";
    for (const char c : text)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            unsafe = true;
    if (unsafe)
        failCreation(mzComStringC("Invalid file name for the ") + kind + ": " + quotedName(chosen));
    const std::string tail = extension;
    const bool hasTail = text.size() >= tail.size() &&
                         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    return hasTail ? text : text + tail;
}

std::string saveDocumentAs(IModelDoc2* doc, const std::string& folder, const std::string& fileName,
                           const char* kind) {
    const std::string text = (std::filesystem::path(folder) / fileName).string();
    NATLINK_LOG(mzLogLevelInfo, mzComStringC("Save ") + kind + " as " + text.c_str());
    const long errors = modelDocSaveAs(doc, _bstr_t(text.c_str()), 0);
    if (errors != 0)
        failCreation(mzComStringC("Could not save the ") + kind + " as \"" + text.c_str() +
                     "\" (error " + mzComStringC::number(static_cast<double>(errors), 'g', 10) +
                     ")");
    return text;
}

bool isBasePlaneName(const m3dPlaneC& plane) {
    const mzComStringC type = plane.getType();
    return type == "XY" || type == "ZX" || type == "YZ";
}

void getFileNameAttr(const metaObjectVirtualDataBaseC& object, mzComStringC& fileName,
                     bool& found) {
    found = false;
    fileName = metaObjStrC(object.findChild("FILENAME")).get(&found);
}

std::int32_t getSolidOpAttr(const metaObjectVirtualDataBaseC& object, bool& found) {
    found = false;
    return metaObjIntC(object.findChild("SOLIDOP")).get(&found);
}

bool vector3ArrayRemoveAt(std::vector<vectorC3d<double>>& list, int index) {
    return removeAt(list, index);
}

bool variantArrayRemoveAt(std::vector<_variant_t>& list, int index) {
    return removeAt(list, index);
}

vectorC3d<double>& vector3ArrayAppendZero(std::vector<vectorC3d<double>>& list) {
    return list.emplace_back();
}

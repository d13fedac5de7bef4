// swCheckinC: the per-document record (files, identity, previews), the variables of the
// first configuration, the table lines and variants of the further configurations, summary
// fields, custom properties and dimensions.
#include "libs/geomcore/natCheckin/sw_checkin.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"
#include "libs/KvorCadComm/global_options.h"
#include "libs/KvorCadComm/host_files.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/com_path.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/natCheckin/checkin_arrays.h"
#include "libs/geomcore/natCheckin/checkin_var_index.h"
#include "libs/geomcore/natCheckin/preview_files.h"
#include "libs/geomcore/swapi/swapi.h"

#include <numbers>

namespace {

mzComStringC nativeOf(const mzComStringC& path) {
    return mzComPathC(path).toNativeString();
}

void writeCodeTrack(const char* text, const char* function, int line) {
    const mzLogCategoryT category = codeTrackLogCategory();
    if (isLogLevelEnabled(category, mzLogLevelTrace))
        writeLogRecord(category, mzLogLevelTrace, __FILE__, function, line, text);
}

mzComStringC activeConfigurationName(IModelDoc2* doc) {
    const IConfigurationPtr active(modelDocGetActiveConfiguration(doc));
    return active ? mzComStringC(configurationGetName(active)) : mzComStringC();
}

// Shows a configuration and rebuilds, as the reader does before reading one.
void showConfiguration(IModelDoc2* doc, const _bstr_t& name) {
    modelDocShowConfiguration(doc, name);
    modelDocGetBoolSlot715(doc);
}

// Puts the configuration that was active before the check-in back when it ends, so that
// reading the configurations leaves the document as the user had it.
class activeConfigurationGuardC {
public:
    activeConfigurationGuardC(IModelDoc2* doc, const mzComStringC& name) : doc_(doc), name_(name) {}
    ~activeConfigurationGuardC() {
        if (name_.isEmpty())
            return;
        try {
            if (activeConfigurationName(doc_) != name_)
                showConfiguration(doc_, name_.toBstr());
        } catch (...) {
            try {
                NATLINK_LOG(mzLogLevelError,
                            "Could not show the configuration " + name_ + " again");
            } catch (...) {
            }
        }
    }
    activeConfigurationGuardC(const activeConfigurationGuardC&) = delete;
    activeConfigurationGuardC& operator=(const activeConfigurationGuardC&) = delete;

private:
    IModelDoc2* doc_;
    mzComStringC name_;
};

// Summary information fields 0 to 4 and the variable names they get.
constexpr const char* summaryFieldNames[] = {"Title", "Subject", "Author", "Keywords", "Comment"};

// The document's length unit code (element 0 of its length unit array); 0 when empty.
long lengthUnitCodeOf(IModelDoc2* doc) {
    return firstShortOf(modelDocGetLengthUnitArray(doc)).value_or(0);
}

} // namespace

void swCheckinC::writeDocumentRecord(IModelDoc2Ptr& doc, pShellDocCheckinC& record) {
    NATLINK_TRACE_FRAME_C("writeDocumentRecord");
    const mzComStringC path(modelDocGetPathName(doc));
    const mzComPathC pathValue(path);
    const mzComStringC nativePath = pathValue.toNativeString();
    metaObjListStrContainerC usedFiles = record.getUsedFiles();
    usedFiles.appendString(path);
    record.getWantFiles().appendString(nativePath);
    record.setExtension(pathValue.getExtension());
    record.setUnitBase(unitFactor);
    record.setCadIdent(nativePath);
    record.setDefaultNb("$IDNR.");
    record.setCadSystem(cadSystemKey);

    mzComStringC bitmap;
    mzComStringC model3d;
    createPreviews(doc, bitmap, model3d);
    pShellDocBitmapsFilesC bitmaps = record.getBitmaps();
    pShellDocViewNamesC viewNames = record.getViewNames();
    if (fileExists(bitmap)) {
        usedFiles.appendString(bitmap);
        bitmaps.appendString(nativeOf(bitmap));
        record.setPreview(nativeOf(bitmap));
        viewNames.appendString("2D");
    }
    if (fileExists(model3d)) {
        usedFiles.appendString(model3d);
        bitmaps.appendString(nativeOf(model3d));
        record.setPreview3D(nativeOf(model3d));
        record.setShow3D(1);
        viewNames.appendString("3D");
    }
}

void swCheckinC::getParameters(IModelDoc2Ptr& doc, pShellDocCheckinC& record) {
    NATLINK_TRACE_FRAME_C("swCheckinC::getParameters");
    pShellVariableSetC variables = record.getVariables();
    pShellCurVarSetC current = record.getCurVarSet();
    const std::vector<_bstr_t> names = configurationNamesOf(modelDocGetVariantSlot459(doc));
    _bstr_t first = names.front();

    pShellVarDescC idnr = variables.findOrAddVarDesc("IDNR");
    idnr.setVarType("T");
    idnr.setVarDesc("Identification number");
    current.getOrAddVarValue("IDNR").setVarValue(mzComStringC(first));

    // CURVARSET holds the first configuration's values: read them with that configuration
    // shown, and show the user's configuration again at the end.
    const mzComStringC active = activeConfigurationName(doc);
    const activeConfigurationGuardC restoreActive(doc, active);
    if (active != mzComStringC(first))
        showConfiguration(doc, first);

    // As for the table lines: the document's own properties, then those of the configuration,
    // which win; otherwise a one-configuration document would lose all of its properties.
    _bstr_t documentProperties("");
    checkInReverseVars(doc, documentProperties, variables, current, true);
    checkInReverseVars(doc, first, variables, current, true);
    readDimensionVariables(doc, variables, current);
    getFamilyMembers(doc, record);
}

int swCheckinC::getFamilyMembers(IModelDoc2Ptr& doc, pShellDocCheckinC& record) {
    NATLINK_TRACE_FRAME_C("swCheckinC::getFamilyMembers");
    try {
        beginStep("reading the configuration names");
        const IConfigurationPtr active(
            configManagerGetActiveConfiguration(modelDocGetConfigurationManager(doc)));
        if (active)
            configurationGetName(active);
        const std::vector<_bstr_t> names = configurationNamesOf(modelDocGetVariantSlot459(doc));
        pShellVariableSetC variables = record.getVariables();
        pShellVarTableC table(pShellNewNode);
        pShellVariantsC variants(pShellNewNode);
        metaObjListStrContainerC usedFiles = record.getUsedFiles();

        for (std::size_t i = 1; i < names.size(); ++i) {
            _bstr_t name = names[i];
            const mzComStringC nameText(name);
            beginStep("reading the configuration \"" + nameText + "\"");
            pingHost(pollObject);
            pShellCurVarSetC line = table.addLine().asCurVarSet();
            showConfiguration(doc, name);
            line.getOrAddVarValue("IDNR").setVarValue(nameText);
            _bstr_t documentProperties("");
            checkInReverseVars(doc, documentProperties, variables, line, true);
            checkInReverseVars(doc, name, variables, line, true);
            readDimensionVariables(doc, variables, line);

            const int previewPerLine = getGlobalOptions("natlinkon")
                                           .getOption("NativeCheckin", "Native3DPreviewPerLine")
                                           .toInt();
            if (previewPerLine == 0)
                continue;
            pShellDocBitmapsFilesC bitmaps(pShellNewNode);
            pShellVariantC variant = variants.addVariant();
            variant.setVarName("IDNR");
            variant.setVarValue(nameText);
            mzComStringC bitmap;
            mzComStringC model3d;
            createPreviews(doc, bitmap, model3d);
            if (fileExists(bitmap)) {
                usedFiles.appendString(bitmap);
                bitmaps.appendString(bitmap);
                variant.setPreview(bitmap);
            }
            if (fileExists(model3d)) {
                usedFiles.appendString(model3d);
                bitmaps.appendString(model3d);
                variant.setPreview3D(model3d);
                variant.setBitmaps(bitmaps);
            }
        }

        record.setDefaultNb("$IDNR.");
        record.setVarTable(table);
        record.setVariants(variants);
        return 1;
    } catch (...) {
        writeCodeTrack("Exception:solidworks configurations could not be created",
                       __PRETTY_FUNCTION__, __LINE__);
        // Dropping the lines would give a record that looks like a smaller family.
        rethrowNamed();
    }
}

void swCheckinC::checkInReverseVars(IModelDoc2Ptr& doc, _bstr_t& configuration,
                                    pShellVariableSetC& descriptions, pShellCurVarSetC& values,
                                    bool addDescriptions) {
    NATLINK_TRACE_FRAME_C("swCheckinC::checkInReverseVars");
    checkinVarIndexC variables(descriptions, values);
    for (int field = 0; field < 5; ++field) {
        const mzComStringC name = summaryFieldNames[field];
        if (addDescriptions && !variables.hasDescription(name)) {
            pShellVarDescC desc(variables.addDescription(name));
            desc.setVarType("T");
            desc.setVarHidden(0);
        }
        variables.value(name).setVarValue(mzComStringC(modelDocGetSummaryInfo(doc, field)));
    }

    const ICustomPropertyManagerPtr properties =
        docExtGetCustomPropertyManager(modelDocGetExtension(doc), configuration);
    _variant_t names;
    _variant_t types;
    _variant_t texts;
    const long count = customPropertyManagerGetAll(properties, names, types, texts);
    if (count < 0) {
        writeCodeTrack("File have no custom properties", __PRETTY_FUNCTION__, __LINE__);
        return;
    }
    if (count == 0)
        return;
    const std::vector<_bstr_t> nameList = readBstrArray(names);
    const std::vector<_bstr_t> valueList = readBstrArray(texts);
    if (nameList.size() < static_cast<std::size_t>(count) ||
        valueList.size() < static_cast<std::size_t>(count))
        _com_issue_error(E_INVALIDARG);

    for (long i = 0; i < count; ++i) {
        const mzComStringC name(nameList[static_cast<std::size_t>(i)]);
        if (addDescriptions && !variables.hasDescription(name)) {
            pShellVarDescC desc(variables.addDescription(name));
            desc.setVarPrec(5.0);
            desc.setVarType("T");
            desc.setVarHidden(0);
        }
    }
    for (long i = 0; i < count; ++i) {
        variables.value(mzComStringC(nameList[static_cast<std::size_t>(i)]))
            .setVarValue(mzComStringC(valueList[static_cast<std::size_t>(i)]));
    }
}

void swCheckinC::readDimensionVariables(IModelDoc2Ptr& doc, pShellVariableSetC& descriptions,
                                        pShellCurVarSetC& values) {
    NATLINK_TRACE_FRAME_C("readDimensionVariables");
    checkinVarIndexC variables(descriptions, values);
    IFeaturePtr feature(modelDocFirstFeature(doc));
    while (feature) {
        if (mzComStringC(featureGetTypeName(feature)) != "MateGroup")
            readDimensionChain(doc, feature, variables);
        IFeaturePtr sub(featureGetFirstSubFeature(feature));
        while (sub) {
            readDimensionChain(doc, sub, variables);
            sub = IFeaturePtr(featureGetNextSubFeature(sub));
        }
        feature = IFeaturePtr(featureGetNext(feature));
    }
}

void swCheckinC::readDimensionChain(IModelDoc2Ptr& doc, IFeature* feature,
                                    checkinVarIndexC& variables) {
    IDispatchPtr annotation = featureGetFirstDimensionAnnotation(feature);
    while (annotation) {
        const IDimensionPtr dimension(
            dimensionAnnotationGetDimension(requireInterfaceOf<IDimensionAnnotation>(annotation)));
        if (dimension)
            writeDimensionVariable(doc, dimension, variables);
        else
            noteWarning("a dimension of the feature " + mzComStringC(featureGetName(feature)) +
                        " could not be read");
        annotation = featureGetNextDimensionAnnotation(feature, annotation);
    }
}

void swCheckinC::writeDimensionVariable(IModelDoc2Ptr& doc, IDimension* dimension,
                                        checkinVarIndexC& variables) {
    const mzComStringC fullName(dimensionGetFullName(dimension));
    const int at = fullName.lastIndexOf("@");
    const mzComStringC name = at >= 0 ? fullName.left(at) : fullName;

    double value = dimensionGetValue(dimension, doc);
    const long type = dimensionGetType(dimension);
    mzComStringC unit = lengthUnitName;
    if (type == 1 || type == 3 || type == 5) {
        unit = angleUnitName;
        // Minutes, seconds and radians are converted to degrees, and then say so.
        switch (modelDocGetIntegerPreference(doc, 51)) {
        case 1:
            value /= 60.0;
            unit = "deg";
            break;
        case 2:
            value /= 3600.0;
            unit = "deg";
            break;
        case 3:
            value = value * 180.0 / std::numbers::pi;
            unit = "deg";
            break;
        default:
            break;
        }
    }
    if (!variables.hasDescription(name)) {
        pShellVarDescC desc(variables.addDescription(name));
        desc.setVarPrec(5.0);
        desc.setVarUnit(unit);
        desc.setVarType("Z");
        desc.setVarDesc("");
    }
    variables.value(name).setVarValue(mzComStringC::number(value, '.', 14));
}

void swCheckinC::createPreviews(IModelDoc2Ptr& doc, mzComStringC& bitmapPath,
                                mzComStringC& path3d) {
    NATLINK_TRACE_FRAME_C("createDocumentPreviews");
    if (bitmapPath.isEmpty())
        bitmapPath = newPreviewFile(".bmp");
    if (!bitmapPath.isEmpty()) {
        try {
            modelDocSaveBitmap(doc, bitmapPath.toBstr(), 300, 300);
        } catch (...) {
            // The check-in ends here; the empty file reserved for the bitmap must not stay.
            removeIfEmpty(bitmapPath);
            throw;
        }
        removeIfEmpty(bitmapPath);
    }

    if (path3d.isEmpty()) {
        const char* extension = previewFormat == 2 ? ".sat" : previewFormat == 3 ? ".step" : ".stl";
        path3d = newPreviewFile(extension);
    }
    if (path3d.isEmpty())
        return;
    try {
        setPreviewUnitPreference(lengthUnitCodeOf(doc) == 3 ? 3 : 0);
    } catch (...) {
        removeIfEmpty(path3d);
        throw;
    }
    try {
        modelDocCallSlot433(doc, path3d.toBstr(), -1);
    } catch (...) {
        NATLINK_CREATION_WARNING(0, "ERROR", "Saving file failed", getAppName());
    }
    removeIfEmpty(path3d);
}

mzComStringC swCheckinC::newPreviewFile(const char* extension) {
    // A folder that takes no file takes none the next time either: say so once and check in
    // without previews. This is a local file error, not one of SolidWorks. The record is whole
    // without them (as without a 3D preview SolidWorks did not write), but the user must learn
    // that they are missing, as a warning.
    if (!previewFailure.isEmpty())
        return mzComStringC();
    mzComStringC failure;
    const mzComStringC path = createTemporaryPreviewFile(extension, failure);
    if (path.isEmpty()) {
        previewFailure = failure.isEmpty() ? mzComStringC("no preview file") : failure;
        const mzComStringC text = "Checking in without previews: " + previewFailure;
        NATLINK_LOG(mzLogLevelWarning, text);
        NATLINK_CREATION_WARNING(0, "WARNING", text, getAppName());
        return path;
    }
    previewFiles.push_back(path);
    return path;
}

void swCheckinC::removePreviewFiles() {
    for (const mzComStringC& path : previewFiles)
        removePreviewFile(path);
    previewFiles.clear();
}

#include "libs/geomcore/swtools/phys_props.h"

#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/core/classify.h"

namespace {

// The three centre-of-gravity texts as numbers; false unless every one of them is a number
// (a partly given or garbled centre must not move the one SolidWorks computed to 0).
bool givenCentre(const mzComStringC (&texts)[3], double (&centre)[3]) {
    double values[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        if (texts[i].isEmpty())
            return false;
        values[i] = texts[i].toDouble(&ok);
        if (!ok)
            return false;
    }
    for (int i = 0; i < 3; ++i)
        centre[i] = values[i];
    return true;
}

} // namespace

void setPhyProps(const metaObjectVirtualDataBaseC& attributes, IModelDoc2Ptr doc) {
    const mzComStringC text = attributes.readStringProperty("CLASSIFICATIONINFO");
    if (text.isEmpty())
        return;
    metaObjectC parsed;
    if (!parsed.ctorFromText(text, "CLASSIFICATIONINFO"))
        return;
    const mDocClassifyListC list(parsed.getTreePtr());
    const mDocClassifyInfoC info = list.findInfo("qel");
    if (!info.isValid() || !isDocClassifyIdInfo(info.getIdInfoAt("QELPHYPROP", 0)))
        return;

    const double density = info.getVarValue("QELDENSITY", "0").toDouble();
    const double mass = info.getVarValue("QELMASSEXACT", "0").toDouble();
    const mzComStringC cog[3] = {info.getVarValue("QEL_COG_X", ""),
                                 info.getVarValue("QEL_COG_Y", ""),
                                 info.getVarValue("QEL_COG_Z", "")};

    if (density > 0.0) {
        NATLINK_LOG(mzLogLevelTrace, "Set density: " + mzComStringC::number(density, '.', 14));
        modelDocSetDoublePreference(doc, 7, density);
    }
    if (mass > 0.0) {
        NATLINK_LOG(mzLogLevelTrace, "Set Mass: " + mzComStringC::number(mass, '.', 14));
        IMassPropertyPtr properties = docExtCreateMassProperty(modelDocGetExtension(doc));
        const _variant_t computed = massPropGetCenterOfGravity(properties);
        double centre[3] = {doubleArrayAt(computed, 0), doubleArrayAt(computed, 1),
                            doubleArrayAt(computed, 2)};
        if (givenCentre(cog, centre)) {
            NATLINK_LOG(mzLogLevelTrace, "Set COG");
            massPropUseGivenCenter(properties, VARIANT_TRUE);
        }
        massPropUseGivenMass(properties, VARIANT_TRUE);
        VARIANT configurations;
        VariantInit(&configurations);
        configurations.vt = VT_INT;
        configurations.intVal = 0;
        massPropApplyValues(properties, mass, centre[0], centre[1], centre[2], 2, configurations);
    }
}

#include "libs/geomcore/sw3ddoc/drilling_feature.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/resource_text.h"
#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double diameterTolerance = 1e-6;

double radians(double degrees) {
    return degrees * pi / 180.0;
}

struct drillingValuesS {
    std::int32_t conic = 0;
    double sink = 0.0;
    double cone = 0.0;
    double csDepth = 0.0;
    double csAngle = 0.0;
    double cbDepth = 0.0;
    double cbDiam = 0.0;
    double depth = 0.0;
    double diam = 0.0;
    double endCbDiam = 0.0;
    double endCsDepth = 0.0;
};

drillingValuesS readValues(m3dFeatDrillingC& drilling) {
    drillingValuesS v;
    v.conic = drilling.getConic();
    v.sink = drilling.getSinkAngle();
    v.cone = drilling.getConeAngle();
    v.csDepth = drilling.getCountersinkDepth();
    v.csAngle = drilling.getCountersinkAngle();
    v.cbDepth = drilling.getCounterboreDepth();
    v.cbDiam = drilling.getCounterboreDiameter();
    v.depth = drilling.getDepth();
    v.diam = drilling.getDiameter();
    v.endCbDiam = drilling.getEndCounterboreDiameter();
    v.endCsDepth = drilling.getEndCountersinkDepth();
    return v;
}

} // namespace

drillingHoleArgsS drillingHoleArgs(m3dFeatDrillingC& drilling) {
    const drillingValuesS v = readValues(drilling);
    drillingHoleArgsS args;
    if (v.endCbDiam > 0.0 || v.endCsDepth > 0.0)
        return args;

    const bool tip = v.sink > 0.0;
    const double sRad = radians(v.sink);
    const double csRad = radians(v.csAngle);
    const double csTop = v.diam + 2.0 * v.csDepth * std::tan(csRad / 2.0);
    const bool countersink = v.csDepth != 0.0;
    const bool counterbore = v.cbDepth != 0.0;
    // Both at once are one stepped form only when the countersink ends at the counterbore's
    // diameter; otherwise the hole is left to the drilling's own history.
    if (v.conic == 0 && countersink && counterbore &&
        !(std::fabs(csTop - v.cbDiam) < diameterTolerance))
        return args;

    double depth = v.depth;
    if (tip)
        depth -= (v.diam / 2.0) * std::sin(radians(90.0 - v.sink / 2.0)) / std::sin(sRad / 2.0);
    if (!(depth > 0.0))
        return args;

    double* d = args.d;
    d[0] = v.diam;
    d[1] = depth;
    if (v.conic != 0) {
        const double small = v.diam - 2.0 * depth * std::sin(radians(v.cone / 2.0)) /
                                          std::sin(radians(90.0 - v.cone / 2.0));
        if (!(small > 0.0))
            return args;
        args.buildable = csTop == 0.0 || v.cbDiam == 0.0;
        if (tip) {
            args.variant = 6;
            d[3] = small;
            d[4] = sRad;
        } else {
            args.variant = 1;
            d[0] = small;
            d[3] = v.diam;
        }
    } else if (!countersink && !counterbore) {
        args.variant = tip ? 5 : 0;
        if (tip)
            d[3] = sRad;
    } else if (!countersink) {
        args.variant = tip ? 7 : 2;
        d[3] = v.cbDiam;
        d[4] = v.cbDepth;
        if (tip)
            d[5] = sRad;
    } else if (!counterbore) {
        if (tip) {
            args.variant = 8;
            d[3] = csTop;
            d[4] = csRad;
            d[5] = sRad;
        } else {
            args.variant = 3;
            d[3] = csRad;
            d[4] = csTop;
        }
    } else if (tip) {
        args.variant = 9;
        d[3] = csTop;
        d[4] = v.cbDepth;
        d[5] = sRad;
        d[6] = csRad;
    } else {
        args.variant = 4;
        d[3] = csTop;
        d[4] = v.cbDepth;
        d[5] = csRad;
    }
    d[2] = static_cast<double>(args.variant);
    return args;
}

IFeaturePtr createDrillingFeat(IModelDoc2Ptr doc, m3dFeatDrillingC drilling, IFace2Ptr face,
                               mzComStringC& error) {
    NATLINK_TRACE_FRAME_C("createDrillingFeat");
    const drillingHoleArgsS args = drillingHoleArgs(drilling);
    if (args.variant < 0) {
        NATLINK_LOG(mzLogLevelTrace, "Drilling is not constructable in solidworks.");
        error = translateResourceText("Msg_3dExport_002", getAppName()).arg("Solidworks", 0, u' ');
        return IFeaturePtr();
    }

    vectorC3d<double> start;
    drilling.getStartPoint(start);
    IModelDoc2* model = swapiRequired<IModelDoc2>(doc);
    ISelectionManagerPtr selection = modelDocGetSelectionManager(model);
    ISelectionDataPtr data = requireInterfaceOf<ISelectionData>(
        selMgrCreateSelectionData(swapiRequired(selection.GetInterfacePtr())));
    selDataSetX(data, start.x);
    selDataSetY(data, start.y);
    selDataSetZ(data, start.z);

    const IEntityPtr entity = requireInterfaceOf<IEntity>(face);
    if (entitySelectWithData(entity, VARIANT_BOOL(0), data) == VARIANT_FALSE)
        return IFeaturePtr();
    if (!args.buildable)
        return IFeaturePtr();

    const IFeatureManagerPtr manager = modelDocGetFeatureManager(model);
    const double* d = args.d;
    return featMgrCreateHole(swapiRequired(manager.GetInterfacePtr()), 5, -1, -1, _bstr_t(""),
                             VARIANT_BOOL(0), d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8],
                             d[9], d[10], d[11], d[12], d[13], _bstr_t(""), VARIANT_BOOL(0),
                             VARIANT_BOOL(-1), VARIANT_BOOL(-1), VARIANT_BOOL(-1), VARIANT_BOOL(-1),
                             VARIANT_BOOL(0));
}

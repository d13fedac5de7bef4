#include "metamodel/m3d/register.h"

#include "metamodel/core/registry.h"
#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/detaillevel.h"
#include "metamodel/m3d/document.h"
#include "metamodel/m3d/pattern.h"
#include "metamodel/m3d/plane.h"

void registerM3dClasses() {
    const int p = metaClassPriority;
    auto& docs = metaObjInterfaceRegistry<m3dDocumentC>();
    docs.registerClass<m3dPartC>(m3dPartC::tagName(), p);
    docs.registerClass<m3dAsmC>(m3dAsmC::tagName(), p);

    auto& geom = metaObjInterfaceRegistry<m3dGeomOpBaseC>();
    geom.registerClass<m3dPartC>(m3dPartC::tagName(), p);
    geom.registerClass<m3dAsmC>(m3dAsmC::tagName(), p);
    geom.registerClass<m3dPlaneC>(m3dPlaneC::tagName(), p);
    geom.registerClass<m3dSketchC>(m3dSketchC::tagName(), p);
    geom.registerClass<m3dFeatBaseC>(m3dFeatBaseC::tagName(), p);
    geom.registerClass<m3dFeatCutC>(m3dFeatCutC::tagName(), p);
    geom.registerClass<m3dFeatDrillingC>(m3dFeatDrillingC::tagName(), p);
    geom.registerClass<m3dFeatForeignC>(m3dFeatForeignC::tagName(), p);
    geom.registerClass<m3dFeatSweepC>(m3dFeatSweepC::tagName(), p);
    geom.registerClass<m3dFeatPatternC>(m3dFeatPatternC::tagName(), p);
    geom.registerClass<m3dFeatPatternSketchC>(m3dFeatPatternSketchC::tagName(), p);
    geom.registerClass<m3dFeatPatternBaseFeatC>(m3dFeatPatternBaseFeatC::tagName(), p);

    auto& views = metaObjInterfaceRegistry<metaObjectC>();
    views.registerClass<m3dLineC>(m3dLineC::tagName(), p);
    views.registerClass<m3dArcC>(m3dArcC::tagName(), p);
    views.registerClass<m3dCircleC>(m3dCircleC::tagName(), p);
    views.registerClass<m3dCenterLineC>(m3dCenterLineC::tagName(), p);
    views.registerClass<m3dLoopC>(m3dLoopC::tagName(), p);
    views.registerClass<m3dSketchOnC>(m3dSketchOnC::tagName(), p);
    views.registerClass<m3dAnnotationSetsC>(m3dAnnotationSetsC::tagName(), p);
    views.registerClass<m3dAnnotationSetFaceC>(m3dAnnotationSetFaceC::tagName(), p);
    views.registerClass<m3dAnnotationSetThreadC>(m3dAnnotationSetThreadC::tagName(), p);
    views.registerClass<m3dAnnotationFaceC>(m3dAnnotationFaceC::tagName(), p);
    views.registerClass<m3dAnnotationThreadC>(m3dAnnotationThreadC::tagName(), p);
    views.registerClass<m3dAnnotationThreadSpecificationC>(
        m3dAnnotationThreadSpecificationC::tagName(), p);
    views.registerClass<m3dPartDetailLevelC>(m3dPartDetailLevelC::tagName(), p);
    views.registerClass<m3dPartDetailLevelEntriesC>(m3dPartDetailLevelEntriesC::tagName(), p);
    views.registerClass<m3dPartDetailLevelEntryC>(m3dPartDetailLevelEntryC::tagName(), p);
    views.registerClass<m3dFeatPatternRotCenterPointC>(m3dFeatPatternRotCenterPointC::tagName(), p);
    views.registerClass<m3dFeatHistoryC>(m3dFeatHistoryC::tagName(), p);
    views.registerClass<mDocumentAttrC>("PARTATTR", p);
    views.registerClass<mDocumentAttrC>("ASMATTR", p);
    views.registerClass<m3dDocPrefsC>("PARTPREFS", p);
    views.registerClass<m3dDocPrefsC>("ASMPREFS", p);
}

// The parametric document: its lists, preferences and lookups.

#include "metamodel/param/paramdocument.h"

#include "metamodel/core/valueviews.h"
#include "metamodel/param/paramlookup.h"

#include <cstddef>

m3dParamModelsC m3dParamDocumentC::getModels() {
    return m3dParamModelsC(getOrAddChild(m3dParamModelsC::keyName()));
}
m3dParamModelInstancesC m3dParamDocumentC::getModelInstances() {
    return m3dParamModelInstancesC(getOrAddChild(m3dParamModelInstancesC::keyName()));
}
m3dParamAttributeInstancesC m3dParamDocumentC::getAttributeInstances() {
    return m3dParamAttributeInstancesC(getOrAddChild(m3dParamAttributeInstancesC::keyName()));
}
m3dParamFeaturesC m3dParamDocumentC::getFeatures() {
    return m3dParamFeaturesC(getOrAddChild(m3dParamFeaturesC::keyName()));
}
m3dParamFeatureInstancesC m3dParamDocumentC::getFeatureInstances() {
    return m3dParamFeatureInstancesC(getOrAddChild(m3dParamFeatureInstancesC::keyName()));
}
m3dParamLocationsC m3dParamDocumentC::getLocations() {
    return m3dParamLocationsC(getOrAddChild(m3dParamLocationsC::keyName()));
}
m3dParamFeatureVectorsC m3dParamDocumentC::getFeatureVectors() {
    return m3dParamFeatureVectorsC(getOrAddChild(m3dParamFeatureVectorsC::keyName()));
}
m3dParamFeatureVectorDescsC m3dParamDocumentC::getFeatureVectorDescs() {
    return m3dParamFeatureVectorDescsC(getOrAddChild(m3dParamFeatureVectorDescsC::keyName()));
}
m3dParamAnnotationsC m3dParamDocumentC::getAnnotations() {
    return m3dParamAnnotationsC(getOrAddChild(m3dParamAnnotationsC::keyName()));
}
m3dParamAnnotationInstancesC m3dParamDocumentC::getAnnotationInstances() {
    return m3dParamAnnotationInstancesC(getOrAddChild(m3dParamAnnotationInstancesC::keyName()));
}

m3dParamDocumentPreferencesC m3dParamDocumentC::getPrefs() {
    return m3dParamDocumentPreferencesC(getOrAddChild(m3dParamDocumentPreferencesC::keyName()));
}

m3dParamDocPrefsT m3dParamDocumentC::getDocPrefs() {
    return m3dParamDocPrefsT(getPrefs().getTreePtr());
}

mzComStringC m3dParamDocumentC::getRootModelName() {
    return metaObjStrC(getOrAddChild("ROOTMODEL")).get();
}

m3dParamModelC m3dParamDocumentC::getRootModel() {
    return findModelByName(getRootModelName());
}

m3dParamModelC m3dParamDocumentC::findModelByName(const mzComStringC& name) {
    const m3dParamModelsC models = getModels();
    for (int i = 0, n = models.count(); i < n; ++i) {
        m3dParamModelC model = models.getElementAt(i);
        if (model.getName().compare(name, 1) == 0)
            return model;
    }
    return m3dParamModelC();
}

m3dParamFeatureVectorDescC m3dParamDocumentC::findFeatureVectorDesc(const mzComStringC& type) {
    const m3dParamFeatureVectorDescsC descs = getFeatureVectorDescs();
    for (int i = 0, n = descs.count(); i < n; ++i) {
        m3dParamFeatureVectorDescC desc = descs.getElementAt(i);
        if (desc.isKeyNode() && desc.getType().compare(type, 1) == 0)
            return desc;
    }
    return m3dParamFeatureVectorDescC();
}

int m3dParamDocumentC::findFeatureVector(const m3dParamFeatureVectorValuesS& candidate) {
    if (param_lookup::indexC* index = param_lookup::activeIndex(getTreePtr()))
        return param_lookup::findFeatureVector(*index, *this, candidate);
    const m3dParamFeatureVectorsC vectors = getFeatureVectors();
    for (int j = 0, n = vectors.count(); j < n; ++j) {
        m3dParamFeatureVectorC vec = vectors.getElementAt(j);
        if (vec.isKeyNode() && param_lookup::vectorsEqual(vec.readValues(), candidate))
            return j;
    }
    return -1;
}

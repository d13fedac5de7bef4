#include "metamodel/param/paramregister.h"

#include "metamodel/core/registry.h"
#include "metamodel/param/paramdocument.h"

namespace {

template <class ClassT> void entity() {
    metaObjInterfaceRegistry<m3dParamEntityC>().registerClass<ClassT>(ClassT::tagName(),
                                                                      paramEntityPriority);
}

} // namespace

void registerParamClasses() {
    entity<m3dParamModelC>();
    entity<m3dParamModelInstanceC>();
    entity<m3dParamAttributeC>();
    entity<m3dParamAttributeInstanceC>();
    entity<m3dParamFeatureC>();
    entity<m3dParamFeatureInstanceC>();
    entity<m3dParamLocationC>();
    entity<m3dParamFeatureVectorC>();
    entity<m3dParamFeatureVectorDescC>();
    entity<m3dParamFeatureVectorDoubleElementDescC>();
    entity<m3dParamFeatureVectorVector2dElementDescC>();
    entity<m3dParamFeatureVectorVector3dElementDescC>();
    entity<m3dParamClassificationC>();
    entity<m3dParamClassificationEntryC>();
    entity<m3dParamClassificationValueC>();
    entity<m3dParamClassificationEntryInstanceC>();
    entity<m3dParamClassificationValueInstanceC>();
    entity<m3dParamAnnotationC>();
    entity<m3dParamAnnotationInstanceC>();
    entity<m3dParamAttachmentC>();
    entity<m3dParamAttachmentInstanceC>();

    auto& models = metaObjInterfaceRegistry<m3dParamModelC>();
    models.registerClass<m3dParamPartC>(m3dParamPartC::tagName(), paramModelKindPriority);
    models.registerClass<m3dParamAssemblyC>(m3dParamAssemblyC::tagName(), paramModelKindPriority);
    auto& instances = metaObjInterfaceRegistry<m3dParamModelInstanceC>();
    instances.registerClass<m3dParamPartInstanceC>(m3dParamPartInstanceC::tagName(),
                                                   paramModelKindPriority);
    instances.registerClass<m3dParamAssemblyInstanceC>(m3dParamAssemblyInstanceC::tagName(),
                                                       paramModelKindPriority);

    // The parametric document under "PDOC" in the registry of its document base.
    metaObjInterfaceRegistry<m3dParamDocumentBaseT>().registerClass<m3dParamDocumentC>(
        m3dParamDocumentC::tagName(), paramDocumentPriority);
}

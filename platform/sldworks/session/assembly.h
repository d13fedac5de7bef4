// The session object of an assembly document: IModelDoc2 and IAssemblyDoc on one object. It
// owns the assembly's context, which also holds the loaded documents of its components.
#pragma once

#include "platform/sldworks/session/common_document.h"

class assemblyDocumentC final
    : public commonDocT<modelDoc2StubsT<
          assemblyDocStubsT<docObjectT<assemblyDocumentC, IModelDoc2, IAssemblyDoc>>>> {
public:
    explicit assemblyDocumentC(const docContextPtr& context);
    ~assemblyDocumentC() override;

    const docContextPtr& context() const { return owned_; }

    HRESULT GetType(long* type) override;
    // An assembly has no features here: the walks end at once.
    HRESULT FirstFeature(IDispatch** feature) override;
    HRESULT GetFirstFeatureObject(IDispatch** feature) override;
    // Faces of the components' bodies in assembly space are selected by a ray; the feature
    // manager makes mate references on them.
    HRESULT GetFeatureManager(IFeatureManager** manager) override;
    HRESULT GetSelectionManager(ISelectionManager** manager) override;
    HRESULT ClearSelection() override;
    HRESULT SelectByRay(double x, double y, double z, double dx, double dy, double dz,
                        double radius, long type, VARIANT_BOOL* selected) override;
    // Nothing to replay: the components' documents keep their own bodies.
    HRESULT Rebuild(VARIANT_BOOL topOnly, VARIANT_BOOL* done) override;
    HRESULT RebuildAndCheck(VARIANT_BOOL topOnly, VARIANT_BOOL* rebuilt) override;
    HRESULT RebuildIfNeeded(VARIANT_BOOL* rebuilt) override;
    HRESULT ForceRebuild(long options) override;

    // IAssemblyDoc
    HRESULT GetBox(long options, VARIANT* box) override;
    // Each path is loaded as the session opens documents; all components are added or none
    // (a path that cannot be loaded, fewer than 16 doubles per path, or a transform that is
    // not rigid answer no array and add nothing).
    HRESULT AddComponents3(VARIANT names, VARIANT transforms, VARIANT coordinateSystems,
                           VARIANT* components) override;

private:
    docContextPtr owned_;
};

// The small objects a document hands out: its extension, selection manager, selection data,
// state object and mass properties. They are made new on each request.
#pragma once

#include "platform/sldworks/session/doc_object.h"

#include <optional>

class docExtensionC final : public docExtensionStubsT<docObjectT<docExtensionC, IDocExtension>> {
public:
    explicit docExtensionC(const docContextPtr& context) : docExtensionStubsT(context) {}

    HRESULT GetNewestFeature(IDispatch** feature) override;
    HRESULT SelectById(BSTR name, BSTR type, double x, double y, double z, VARIANT_BOOL append,
                       long mark, IDispatch* callout, VARIANT_BOOL* selected) override;
    HRESULT CreateMassProperty(IMassProperty** properties) override;
    // Null for a configuration the document does not have; "" is the document's own.
    HRESULT GetCustomPropertyManager(BSTR configuration, ICustomPropertyManager** manager) override;
};

class selectionManagerC final
    : public selectionManagerStubsT<docObjectT<selectionManagerC, ISelectionManager>> {
public:
    explicit selectionManagerC(const docContextPtr& context) : selectionManagerStubsT(context) {}

    HRESULT CreateSelectionData(IDispatch** data) override;
    HRESULT GetSelectedObject(long index, IDispatch** object) override;
};

// Carries a pick point to an entity selection.
class selectionDataC final
    : public selectionDataStubsT<docObjectT<selectionDataC, ISelectionData>> {
public:
    explicit selectionDataC(const docContextPtr& context) : selectionDataStubsT(context) {}

    HRESULT SetX(double value) override;
    HRESULT SetY(double value) override;
    HRESULT SetZ(double value) override;

    // The pick point once any coordinate was set.
    std::optional<swsim::Vec3> point() const;

private:
    swsim::Vec3 point_{};
    bool set_ = false;
};

// The document's state flag; stored and journalled.
class stateObjectC final : public stateObjectStubsT<docObjectT<stateObjectC, IStateObject>> {
public:
    explicit stateObjectC(const docContextPtr& context) : stateObjectStubsT(context) {}

    HRESULT SetFlag(VARIANT_BOOL value) override;
};

// Mass properties of the document: computed from the solid bodies and the density
// (document preference 7), or the mass and centre given through ApplyValues, which the
// document keeps.
class massPropertyC final : public massPropertyStubsT<docObjectT<massPropertyC, IMassProperty>> {
public:
    explicit massPropertyC(const docContextPtr& context) : massPropertyStubsT(context) {}

    HRESULT GetCenterOfGravity(VARIANT* centre) override;
    HRESULT GetVolume(double* volume) override;
    HRESULT SetUseGivenCenter(VARIANT_BOOL value) override;
    HRESULT SetUseGivenMass(VARIANT_BOOL value) override;
    // Writes the given mass and/or centre as the two flags select; FALSE when neither is
    // set or the mass is not positive.
    HRESULT ApplyValues(double mass, double x, double y, double z, long option,
                        VARIANT configurations, VARIANT_BOOL* done) override;

private:
    bool useGivenCentre_ = false;
    bool useGivenMass_ = false;
};

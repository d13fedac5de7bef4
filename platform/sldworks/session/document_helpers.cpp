#include "platform/sldworks/session/document_helpers.h"

#include "platform/sldworks/session/configuration_objects.h"

#include <cmath>

HRESULT docExtensionC::GetNewestFeature(IDispatch** feature) {
    return docCall("IDocExtension::GetNewestFeature", {}, feature, [&](docContextS& context) {
        return putObject(
            context.part ? context.wrap(context.part->newestFeature()) : IDispatchPtr(), feature);
    });
}

HRESULT docExtensionC::SelectById(BSTR name, BSTR type, double x, double y, double z,
                                  VARIANT_BOOL append, long mark, IDispatch* callout,
                                  VARIANT_BOOL* selected) {
    return docCall(
        "IDocExtension::SelectById",
        {journalValue(name), journalValue(type), journalValue(x), journalValue(y), journalValue(z),
         journalValue(append), journalValue(mark), journalValue(callout)},
        selected, [&](docContextS& context) {
            *selected = variantBool(context.part &&
                                    context.part->selectByName(utf8Of(name), utf8Of(type),
                                                               {x, y, z}, append != VARIANT_FALSE,
                                                               static_cast<int>(mark)));
            return S_OK;
        });
}

HRESULT docExtensionC::CreateMassProperty(IMassProperty** properties) {
    return docCall("IDocExtension::CreateMassProperty", {}, properties, [&](docContextS& context) {
        *properties = new massPropertyC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT docExtensionC::GetCustomPropertyManager(BSTR configuration,
                                                ICustomPropertyManager** manager) {
    return docCall("IDocExtension::GetCustomPropertyManager", {journalValue(configuration)},
                   manager, [&](docContextS& context) {
                       const std::string name = utf8Of(configuration);
                       if (context.model->customProperties(name) != nullptr)
                           *manager = new customPropertyManagerC(context.shared_from_this(), name);
                       return S_OK;
                   });
}

HRESULT selectionManagerC::CreateSelectionData(IDispatch** data) {
    return docCall("ISelectionManager::CreateSelectionData", {}, data, [&](docContextS& context) {
        *data = new selectionDataC(context.shared_from_this());
        return S_OK;
    });
}

HRESULT selectionManagerC::GetSelectedObject(long index, IDispatch** object) {
    return docCall("ISelectionManager::GetSelectedObject", {journalValue(index)}, object,
                   [&](docContextS& context) {
                       // Counted from 1; out of range answers null.
                       const swsim::Selection& selection =
                           context.part ? context.part->selection() : context.assembly->selection();
                       const swsim::ObjectPtr selected =
                           selection.objectAt(static_cast<int>(index) - 1);
                       return putObject(context.wrap(selected), object);
                   });
}

HRESULT selectionDataC::SetX(double value) {
    return call("ISelectionData::SetX", {journalValue(value)}, [&] {
        point_.x = value;
        set_ = true;
        return S_OK;
    });
}

HRESULT selectionDataC::SetY(double value) {
    return call("ISelectionData::SetY", {journalValue(value)}, [&] {
        point_.y = value;
        set_ = true;
        return S_OK;
    });
}

HRESULT selectionDataC::SetZ(double value) {
    return call("ISelectionData::SetZ", {journalValue(value)}, [&] {
        point_.z = value;
        set_ = true;
        return S_OK;
    });
}

std::optional<swsim::Vec3> selectionDataC::point() const {
    return set_ ? std::optional<swsim::Vec3>(point_) : std::nullopt;
}

HRESULT stateObjectC::SetFlag(VARIANT_BOOL value) {
    return call("IStateObject::SetFlag", {journalValue(value)}, [] { return S_OK; });
}

HRESULT massPropertyC::GetCenterOfGravity(VARIANT* centre) {
    return docCall("IMassProperty::GetCenterOfGravity", {}, centre, [&](docContextS& context) {
        return putPoint(context.model->centreOfGravity(), centre);
    });
}

HRESULT massPropertyC::GetVolume(double* volume) {
    return docCall("IMassProperty::GetVolume", {}, volume, [&](docContextS& context) {
        *volume = context.model->geometryMass().volume;
        return S_OK;
    });
}

HRESULT massPropertyC::SetUseGivenCenter(VARIANT_BOOL value) {
    return docCall("IMassProperty::SetUseGivenCenter", {journalValue(value)}, [&](docContextS&) {
        useGivenCentre_ = value != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT massPropertyC::SetUseGivenMass(VARIANT_BOOL value) {
    return docCall("IMassProperty::SetUseGivenMass", {journalValue(value)}, [&](docContextS&) {
        useGivenMass_ = value != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT massPropertyC::ApplyValues(double mass, double x, double y, double z, long option,
                                   VARIANT configurations, VARIANT_BOOL* done) {
    return docCall("IMassProperty::ApplyValues",
                   {journalValue(mass), journalValue(x), journalValue(y), journalValue(z),
                    journalValue(option), journalValue(configurations)},
                   done, [&](docContextS& context) {
                       if (!std::isfinite(mass) || !std::isfinite(x) || !std::isfinite(y) ||
                           !std::isfinite(z))
                           return E_INVALIDARG;
                       if ((!useGivenMass_ && !useGivenCentre_) || (useGivenMass_ && mass <= 0.0))
                           return S_OK;
                       if (useGivenMass_)
                           context.model->setGivenMass(mass);
                       if (useGivenCentre_)
                           context.model->setGivenCentre(swsim::Vec3{x, y, z});
                       *done = VARIANT_TRUE;
                       return S_OK;
                   });
}

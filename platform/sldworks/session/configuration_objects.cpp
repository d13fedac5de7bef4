#include "platform/sldworks/session/configuration_objects.h"

#include "platform/sldworks/session/document.h"

#include <numbers>

HRESULT configurationManagerC::AddConfiguration(BSTR name, BSTR comment, BSTR alternateName,
                                                long options, BSTR parent, BSTR description,
                                                IDispatch** configuration) {
    return docCall("IConfigurationManager::AddConfiguration",
                   {journalValue(name), journalValue(comment), journalValue(alternateName),
                    journalValue(options), journalValue(parent), journalValue(description)},
                   configuration, [&](docContextS& context) {
                       // The parent is not used: a new configuration copies the active one.
                       const swsim::ConfigurationPtr made = context.model->addConfiguration(
                           utf8Of(name), utf8Of(comment), utf8Of(alternateName),
                           utf8Of(description), options);
                       return putObject(context.wrap(made), configuration);
                   });
}

HRESULT configurationManagerC::GetActiveConfiguration(IDispatch** configuration) {
    return docCall("IConfigurationManager::GetActiveConfiguration", {}, configuration,
                   [&](docContextS& context) {
                       return putObject(context.wrap(context.model->activeConfiguration()),
                                        configuration);
                   });
}

HRESULT configurationC::GetName(BSTR* name) {
    return docCall("IConfiguration::GetName", {}, name,
                   [&](docContextS&) { return putBstr(configuration_->name(), name); });
}

HRESULT configurationC::GetRootComponent(IDispatch** component) {
    return docCall("IConfiguration::GetRootComponent", {}, component, [&](docContextS& context) {
        return putObject(context.assembly ? context.wrap(context.assembly->root()) : IDispatchPtr(),
                         component);
    });
}

HRESULT componentC::GetChildrenCount(long* count) {
    return docCall("IComponent::GetChildrenCount", {}, count, [&](docContextS&) {
        *count = static_cast<long>(component_->children().size());
        return S_OK;
    });
}

HRESULT componentC::GetChildren(VARIANT* children) {
    return docCall("IComponent::GetChildren", {}, children, [&](docContextS& context) {
        std::vector<IDispatchPtr> wrapped;
        for (const auto& child : component_->children())
            wrapped.push_back(context.wrap(child));
        return putObjects(wrapped, children);
    });
}

HRESULT componentC::GetModelDoc(IDispatch** doc) {
    return docCall("IComponent::GetModelDoc", {}, doc, [&](docContextS& context) {
        // A component whose file could not be loaded has no document.
        const auto found = context.componentDocs.find(component_.get());
        return putObject(found != context.componentDocs.end()
                             ? IDispatchPtr(found->second.GetInterfacePtr())
                             : IDispatchPtr(),
                         doc);
    });
}

HRESULT componentC::GetPathName(BSTR* path) {
    return docCall("IComponentObject::GetPathName", {}, path,
                   [&](docContextS&) { return putBstr(component_->path(), path); });
}

HRESULT componentC::SetState(long state) {
    return docCall("IComponent::SetState", {journalValue(state)}, [&](docContextS& context) {
        if (state < 0 || state > 3 || component_->path().empty())
            return E_INVALIDARG;
        component_->state = state;
        context.model->setModified(true);
        return S_OK;
    });
}

HRESULT componentC::IsStateSet(VARIANT_BOOL* result) {
    return docCall("IComponent::IsStateSet", {}, result, [&](docContextS&) {
        *result = variantBool(component_->state == swsim::Component::kSuppressed);
        return S_OK;
    });
}

HRESULT componentC::SetConfiguration(BSTR name) {
    return docCall("IComponent::SetConfiguration", {journalValue(name)}, [&](docContextS& context) {
        if (component_->path().empty())
            return E_INVALIDARG;
        // A component shows a configuration its document has.
        const auto doc = component_->document();
        if (doc && !doc->findConfiguration(utf8Of(name)))
            return E_INVALIDARG;
        component_->configuration = utf8Of(name);
        context.model->setModified(true);
        return S_OK;
    });
}

HRESULT componentC::GetBodies(long kind, VARIANT* bodies) {
    return docCall(
        "IComponent::GetBodies", {journalValue(kind)}, bodies, [&](docContextS& context) {
            // The bodies in assembly space: objects of the assembly, not of the part.
            std::vector<IDispatchPtr> wrapped;
            if (context.assembly) {
                for (const auto& body : context.assembly->componentBodies(*component_))
                    if ((kind != 0 && kind != 1) || static_cast<long>(body->kind()) == kind)
                        wrapped.push_back(context.wrap(body));
            }
            return putObjects(wrapped, bodies);
        });
}

HRESULT customPropertyManagerC::GetAll(VARIANT* names, VARIANT* types, VARIANT* values,
                                       long* count) {
    if (names == nullptr || types == nullptr || values == nullptr)
        return call("ICustomPropertyManager::GetAll", {}, static_cast<long*>(nullptr),
                    [] { return E_POINTER; });
    VariantInit(names);
    VariantInit(types);
    VariantInit(values);
    const HRESULT hr =
        docCall("ICustomPropertyManager::GetAll", {}, count, [&](docContextS& context) {
            const auto* list = context.model->customProperties(configuration_);
            if (list == nullptr) {
                // A configuration that no longer exists has no properties at all.
                *count = -1;
                return S_OK;
            }
            std::vector<std::string> nameList;
            std::vector<long> typeList;
            std::vector<std::string> valueList;
            for (const auto& p : *list) {
                nameList.push_back(p.name);
                typeList.push_back(p.type);
                valueList.push_back(p.value);
            }
            HRESULT put = putStrings(nameList, names);
            if (SUCCEEDED(put))
                put = putLongs(typeList, types);
            if (SUCCEEDED(put))
                put = putStrings(valueList, values);
            if (FAILED(put))
                return put;
            *count = static_cast<long>(list->size());
            return S_OK;
        });
    if (FAILED(hr)) {
        VariantClear(names);
        VariantClear(types);
        VariantClear(values);
    }
    return hr;
}

HRESULT dimensionC::GetDimension(IDispatch** dimension) {
    return docCall("IDimensionAnnotation::GetDimension", {}, dimension, [&](docContextS& context) {
        return putObject(context.wrap(dimension_), dimension);
    });
}

HRESULT dimensionC::GetFullName(BSTR* name) {
    return docCall("IDimension::GetFullName", {}, name, [&](docContextS& context) {
        // "D1@Boss-Extrude1@Block": the name in the part, then the document's title.
        return putBstr(dimension_->fullName() + "@" + context.model->title(), name);
    });
}

HRESULT dimensionC::GetValue(IModelDoc2* doc, double* value) {
    return docCall("IDimension::GetValue", {journalValue(doc)}, value, [&](docContextS& context) {
        // In the document's units, as SolidWorks shows them.
        const double v = context.part->dimensionValue(*dimension_);
        *value = dimension_->angular() ? context.model->angleInDocumentUnit(v)
                                       : context.model->lengthInDocumentUnit(v);
        return S_OK;
    });
}

HRESULT dimensionC::GetType(long* type) {
    return docCall("IDimension::GetType", {}, type, [&](docContextS&) {
        *type = dimension_->type();
        return S_OK;
    });
}

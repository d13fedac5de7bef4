// Session objects of configurations, assembly components, custom property managers and
// dimensions. Configurations, components and dimensions stand for model objects and are
// cached (one object each for the life of the document); managers are new on each request.
#pragma once

#include "platform/sldworks/session/doc_object.h"

#include <string>

class configurationManagerC final
    : public configurationManagerStubsT<docObjectT<configurationManagerC, IConfigurationManager>> {
public:
    explicit configurationManagerC(const docContextPtr& context)
        : configurationManagerStubsT(context) {}

    HRESULT AddConfiguration(BSTR name, BSTR comment, BSTR alternateName, long options, BSTR parent,
                             BSTR description, IDispatch** configuration) override;
    HRESULT GetActiveConfiguration(IDispatch** configuration) override;
};

class configurationC final : public configurationStubsT<docObjectT<configurationC, IConfiguration>>,
                             public modelObjectHolderI {
public:
    configurationC(const docContextPtr& context, swsim::ConfigurationPtr configuration)
        : configurationStubsT(context), configuration_(std::move(configuration)) {}
    swsim::ObjectPtr modelObject() const override { return configuration_; }

    HRESULT GetName(BSTR* name) override;
    // The assembly's root component; null for a part.
    HRESULT GetRootComponent(IDispatch** component) override;

private:
    swsim::ConfigurationPtr configuration_;
};

// IComponent and IComponentObject on one object; GetModelDoc is one implementation,
// journalled as "IComponent::GetModelDoc".
class componentC final
    : public componentStubsT<
          componentObjectStubsT<docObjectT<componentC, IComponent, IComponentObject>>>,
      public modelObjectHolderI {
public:
    componentC(const docContextPtr& context, swsim::ComponentPtr component)
        : componentStubsT(context), component_(std::move(component)) {}
    swsim::ObjectPtr modelObject() const override { return component_; }

    HRESULT GetChildrenCount(long* count) override;
    HRESULT GetChildren(VARIANT* children) override;
    HRESULT GetModelDoc(IDispatch** doc) override;
    HRESULT GetPathName(BSTR* path) override;
    HRESULT SetState(long state) override;
    HRESULT IsStateSet(VARIANT_BOOL* result) override;
    HRESULT SetConfiguration(BSTR name) override;
    HRESULT GetBodies(long kind, VARIANT* bodies) override;

private:
    swsim::ComponentPtr component_;
};

class customPropertyManagerC final
    : public customPropertyManagerStubsT<
          docObjectT<customPropertyManagerC, ICustomPropertyManager>> {
public:
    customPropertyManagerC(const docContextPtr& context, std::string configuration)
        : customPropertyManagerStubsT(context), configuration_(std::move(configuration)) {}

    HRESULT GetAll(VARIANT* names, VARIANT* types, VARIANT* values, long* count) override;

private:
    std::string configuration_;
};

// A dimension is its own annotation: GetDimension answers the object itself.
class dimensionC final
    : public dimensionStubsT<
          dimensionAnnotationStubsT<docObjectT<dimensionC, IDimensionAnnotation, IDimension>>>,
      public modelObjectHolderI {
public:
    dimensionC(const docContextPtr& context, swsim::DimensionPtr dimension)
        : dimensionStubsT(context), dimension_(std::move(dimension)) {}
    swsim::ObjectPtr modelObject() const override { return dimension_; }

    HRESULT GetDimension(IDispatch** dimension) override;
    HRESULT GetFullName(BSTR* name) override;
    HRESULT GetValue(IModelDoc2* doc, double* value) override;
    HRESULT GetType(long* type) override;

private:
    swsim::DimensionPtr dimension_;
};

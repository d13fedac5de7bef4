// Recorders and stand-ins handed to the session through its fault plan, for the parts of a
// document the check-in reads that a test wants to control exactly: features with dimension
// annotations, dimensions, custom property managers.
#pragma once

#include "libs/geomcore/swapi/array_reading.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <string>
#include <utility>
#include <vector>

class fakeDimensionC : public comObjectT<fakeDimensionC, IDimension> {
public:
    fakeDimensionC(std::string fullName, double value, long type)
        : fullName_(std::move(fullName)), value_(value), type_(type) {}
    HRESULT GetFullName(BSTR* name) override {
        *name = _bstr_t(fullName_.c_str()).Detach();
        return S_OK;
    }
    HRESULT GetValue(IModelDoc2*, double* value) override {
        *value = value_;
        return S_OK;
    }
    HRESULT GetType(long* type) override {
        *type = type_;
        return S_OK;
    }

private:
    std::string fullName_;
    double value_;
    long type_;
};

class fakeAnnotationC : public comObjectT<fakeAnnotationC, IDimensionAnnotation> {
public:
    explicit fakeAnnotationC(IDimensionPtr dimension) : dimension_(std::move(dimension)) {}
    HRESULT GetDimension(IDispatch** dimension) override {
        IDispatchPtr out(dimension_);
        *dimension = out.Detach();
        return S_OK;
    }

private:
    IDimensionPtr dimension_;
};

// A feature of a given type name with dimensions; features and sub-features are chained.
class fakeFeatureC : public comObjectT<fakeFeatureC, IFeature> {
public:
    explicit fakeFeatureC(std::string typeName) : typeName_(std::move(typeName)) {}

    void addDimension(const std::string& fullName, double value, long type) {
        IDimensionPtr dimension(new fakeDimensionC(fullName, value, type), false);
        annotations_.push_back(IDispatchPtr(new fakeAnnotationC(dimension), false));
    }
    IFeaturePtr next;
    IFeaturePtr firstSub;
    IFeaturePtr nextSub;

    HRESULT GetName(BSTR* name) override {
        *name = _bstr_t(typeName_.c_str()).Detach();
        return S_OK;
    }
    HRESULT SetName(BSTR) override { return E_NOTIMPL; }
    HRESULT GetNext(IDispatch** feature) override { return give(next, feature); }
    HRESULT GetTypeName(BSTR* type) override { return GetName(type); }
    HRESULT GetSpecificFeature(IDispatch**) override { return E_NOTIMPL; }
    HRESULT Select(VARIANT_BOOL, long, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT GetFaces(VARIANT*) override { return E_NOTIMPL; }
    HRESULT SetSuppression(long, long, long, BSTR*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT GetFirstSubFeature(IDispatch** feature) override { return give(firstSub, feature); }
    HRESULT GetNextSubFeature(IDispatch** feature) override { return give(nextSub, feature); }
    HRESULT GetFirstDimensionAnnotation(IDispatch** annotation) override {
        *annotation = annotations_.empty() ? nullptr : IDispatchPtr(annotations_[0]).Detach();
        return S_OK;
    }
    HRESULT GetNextDimensionAnnotation(IDispatch* current, IDispatch** annotation) override {
        *annotation = nullptr;
        for (std::size_t i = 0; i + 1 < annotations_.size(); ++i) {
            if (annotations_[i].GetInterfacePtr() == current)
                *annotation = IDispatchPtr(annotations_[i + 1]).Detach();
        }
        return S_OK;
    }
    HRESULT GetPatternData(IDispatch**) override { return E_NOTIMPL; }
    HRESULT ModifyPatternData(IDispatch*, IModelDoc2*, IDispatch*, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT HideInTree(long, long) override { return E_NOTIMPL; }
    HRESULT GetChildren(VARIANT*) override { return E_NOTIMPL; }

private:
    static HRESULT give(const IFeaturePtr& feature, IDispatch** out) {
        IDispatchPtr object(feature);
        *out = object.Detach();
        return S_OK;
    }

    std::string typeName_;
    std::vector<IDispatchPtr> annotations_;
};

// A VT_ARRAY|VT_BSTR answer (configuration names).
inline _variant_t makeTextArray(const std::vector<std::string>& items) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        _bstr_t text(items[static_cast<std::size_t>(i)].c_str());
        SafeArrayPutElement(array, &i, static_cast<BSTR>(text.GetBSTR()));
    }
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = static_cast<VARTYPE>(VT_ARRAY | VT_BSTR);
    holder.parray = array;
    return _variant_t(holder, false);
}

// Custom properties of one configuration name: names and values, or a count alone.
class fakePropertiesC : public comObjectT<fakePropertiesC, ICustomPropertyManager> {
public:
    fakePropertiesC(std::vector<std::string> names, std::vector<std::string> values, long count)
        : names_(std::move(names)), values_(std::move(values)), count_(count) {}
    HRESULT GetAll(VARIANT* names, VARIANT* types, VARIANT* values, long* count) override {
        *names = makeTextArray(names_).Detach();
        *types = _variant_t().Detach();
        *values = makeTextArray(values_).Detach();
        *count = count_;
        return S_OK;
    }

private:
    std::vector<std::string> names_;
    std::vector<std::string> values_;
    long count_;
};

// An assembly component: its document (or none), children, and what was asked of it.
class fakeComponentC : public comObjectT<fakeComponentC, IComponent, IComponentObject> {
public:
    explicit fakeComponentC(IModelDoc2Ptr doc = IModelDoc2Ptr()) : doc_(std::move(doc)) {}

    std::vector<IDispatchPtr> children;
    bool stateSet = true;
    std::vector<long> states;
    std::vector<std::string> configurations;
    std::string pathName;

    HRESULT GetChildrenCount(long* count) override {
        *count = static_cast<long>(children.size());
        return S_OK;
    }
    HRESULT GetChildren(VARIANT* out) override {
        std::vector<IDispatch*> objects;
        for (const IDispatchPtr& child : children)
            objects.push_back(child.GetInterfacePtr());
        *out = makeDispatchArray(objects).Detach();
        return S_OK;
    }
    HRESULT GetModelDoc(IDispatch** doc) override {
        IDispatchPtr object(doc_);
        *doc = object.Detach();
        return S_OK;
    }
    HRESULT GetPathName(BSTR* path) override {
        *path = _bstr_t(pathName.c_str()).Detach();
        return S_OK;
    }
    HRESULT SetState(long state) override {
        states.push_back(state);
        return S_OK;
    }
    HRESULT IsStateSet(VARIANT_BOOL* result) override {
        *result = stateSet ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT SetConfiguration(BSTR name) override {
        configurations.push_back(static_cast<const char*>(_bstr_t(name, true)));
        return S_OK;
    }
    HRESULT GetBodies(long, VARIANT*) override { return E_NOTIMPL; }

private:
    IModelDoc2Ptr doc_;
};

// A configuration with a name and a root component (or none).
class fakeConfigurationC : public comObjectT<fakeConfigurationC, IConfiguration> {
public:
    fakeConfigurationC(std::string name, IDispatchPtr root)
        : name_(std::move(name)), root_(std::move(root)) {}
    HRESULT GetName(BSTR* name) override {
        *name = _bstr_t(name_.c_str()).Detach();
        return S_OK;
    }
    HRESULT GetRootComponent(IDispatch** component) override {
        IDispatchPtr object(root_);
        *component = object.Detach();
        return S_OK;
    }

private:
    std::string name_;
    IDispatchPtr root_;
};

// A configuration manager whose active configuration is given.
class fakeConfigurationManagerC
    : public comObjectT<fakeConfigurationManagerC, IConfigurationManager> {
public:
    explicit fakeConfigurationManagerC(IDispatchPtr active) : active_(std::move(active)) {}
    HRESULT AddConfiguration(BSTR, BSTR, BSTR, long, BSTR, BSTR, IDispatch**) override {
        return E_NOTIMPL;
    }
    HRESULT GetActiveConfiguration(IDispatch** configuration) override {
        IDispatchPtr object(active_);
        *configuration = object.Detach();
        return S_OK;
    }

private:
    IDispatchPtr active_;
};

// A new recorded component as the object SolidWorks hands out, and its recorder.
inline IDispatchPtr newFakeComponent(IModelDoc2Ptr doc = IModelDoc2Ptr()) {
    IComponent* component = new fakeComponentC(std::move(doc));
    return IDispatchPtr(static_cast<IDispatch*>(component), false);
}
inline fakeComponentC* componentRecorder(const IDispatchPtr& object) {
    return static_cast<fakeComponentC*>(IComponentPtr(object).GetInterfacePtr());
}

// What part and assembly documents answer alike, over the model's ModelDocument: path and
// the next open document, configurations, custom properties, summary information, units,
// document preferences, the unsaved-changes flag and saving, copies and previews, the
// document settings the build-settings guard switches, and the view calls (journalled only).
// A layer over the IModelDoc2 stubs; the part and assembly document objects derive from it.
#pragma once

#include "platform/sldworks/session/doc_object.h"

#include <string>
#include <vector>

// Defined in common_document.cpp; they need the application state and the managers.
namespace commonDoc {
HRESULT nextDocument(docContextS& context, IModelDoc2* self, IDispatch** doc);
HRESULT extension(docContextS& context, IDocExtension** extension);
HRESULT configurationManager(docContextS& context, IConfigurationManager** manager);
HRESULT save(docContextS& context, long* errors);
HRESULT saveAs(docContextS& context, const std::string& path, long* errors);
HRESULT saveCopyAs(docContextS& context, const std::string& path, long* errors);
HRESULT saveBitmap(docContextS& context, const std::string& path, long width, long height,
                   VARIANT_BOOL* saved);
HRESULT customNames(docContextS& context, const std::string& configuration, VARIANT* names);
} // namespace commonDoc

template <class Base> class commonDocT : public Base {
public:
    using Base::Base;

    HRESULT GetPathName(BSTR* path) override {
        return this->docCall("IModelDoc2::GetPathName", {}, path, [&](docContextS& context) {
            return putBstr(context.model->path(), path);
        });
    }
    HRESULT GetNextDocument(IDispatch** doc) override {
        return this->docCall("IModelDoc2::GetNextDocument", {}, doc, [&](docContextS& context) {
            return commonDoc::nextDocument(context, static_cast<IModelDoc2*>(this), doc);
        });
    }
    HRESULT GetExtension(IDocExtension** extension) override {
        return this->docCall("IModelDoc2::GetExtension", {}, extension, [&](docContextS& context) {
            return commonDoc::extension(context, extension);
        });
    }

    // ---- configurations ---------------------------------------------------------------
    HRESULT GetConfigurationManager(IConfigurationManager** manager) override {
        return this->docCall("IModelDoc2::GetConfigurationManager", {}, manager,
                             [&](docContextS& context) {
                                 return commonDoc::configurationManager(context, manager);
                             });
    }
    HRESULT GetActiveConfiguration(IDispatch** configuration) override {
        return this->docCall(
            "IModelDoc2::GetActiveConfiguration", {}, configuration, [&](docContextS& context) {
                return putObject(context.wrap(context.model->activeConfiguration()), configuration);
            });
    }
    HRESULT GetConfigurationNames(VARIANT* names) override {
        return this->docCall("IModelDoc2::GetConfigurationNames", {}, names,
                             [&](docContextS& context) {
                                 std::vector<std::string> list;
                                 for (const auto& c : context.model->configurations())
                                     list.push_back(c->name());
                                 return putStrings(list, names);
                             });
    }
    HRESULT ShowConfiguration(BSTR name, VARIANT_BOOL* shown) override {
        return this->docCall("IModelDoc2::ShowConfiguration", {journalValue(name)}, shown,
                             [&](docContextS& context) {
                                 *shown =
                                     variantBool(context.model->showConfiguration(utf8Of(name)));
                                 return S_OK;
                             });
    }
    HRESULT DeleteConfiguration2(BSTR name, VARIANT_BOOL* deleted) override {
        return this->docCall("IModelDoc2::DeleteConfiguration2", {journalValue(name)}, deleted,
                             [&](docContextS& context) {
                                 *deleted =
                                     variantBool(context.model->deleteConfiguration(utf8Of(name)));
                                 return S_OK;
                             });
    }

    // ---- custom properties and summary ----------------------------------------------------
    HRESULT GetCustomNames(BSTR configuration, VARIANT* names) override {
        return this->docCall("IModelDoc2::GetCustomNames", {journalValue(configuration)}, names,
                             [&](docContextS& context) {
                                 return commonDoc::customNames(context, utf8Of(configuration),
                                                               names);
                             });
    }
    HRESULT GetCustomValue(BSTR configuration, BSTR name, BSTR* value) override {
        return this->docCall("IModelDoc2::GetCustomValue",
                             {journalValue(configuration), journalValue(name)}, value,
                             [&](docContextS& context) {
                                 return putBstr(propertyValue(context, configuration, name), value);
                             });
    }
    HRESULT ReadCustomProperty(BSTR configuration, BSTR name, BSTR* value) override {
        return this->docCall("IModelDoc2::ReadCustomProperty",
                             {journalValue(configuration), journalValue(name)}, value,
                             [&](docContextS& context) {
                                 return putBstr(propertyValue(context, configuration, name), value);
                             });
    }
    HRESULT SetCustomValue(BSTR configuration, BSTR name, BSTR value) override {
        return this->docCall("IModelDoc2::SetCustomValue",
                             {journalValue(configuration), journalValue(name), journalValue(value)},
                             [&](docContextS& context) {
                                 // Only existing properties change; the call has no result to
                                 // refuse with.
                                 context.model->setCustomProperty(utf8Of(configuration),
                                                                  utf8Of(name), utf8Of(value));
                                 return S_OK;
                             });
    }
    HRESULT AddCustomValue(BSTR configuration, BSTR name, long type, BSTR value,
                           VARIANT_BOOL* added) override {
        return this->docCall("IModelDoc2::AddCustomValue",
                             {journalValue(configuration), journalValue(name), journalValue(type),
                              journalValue(value)},
                             added, [&](docContextS& context) {
                                 *added = variantBool(context.model->addCustomProperty(
                                     utf8Of(configuration), utf8Of(name), type, utf8Of(value)));
                                 return S_OK;
                             });
    }
    HRESULT GetSummaryInfo(long field, BSTR* text) override {
        return this->docCall(
            "IModelDoc2::GetSummaryInfo", {journalValue(field)}, text, [&](docContextS& context) {
                if (field < 0 || field >= swsim::ModelDocument::kSummaryFields)
                    return E_INVALIDARG;
                return putBstr(context.model->summary(static_cast<int>(field)), text);
            });
    }
    HRESULT SetSummaryInfo(long field, BSTR text) override {
        return this->docCall("IModelDoc2::SetSummaryInfo",
                             {journalValue(field), journalValue(text)}, [&](docContextS& context) {
                                 return context.model->setSummary(static_cast<int>(field),
                                                                  utf8Of(text))
                                            ? S_OK
                                            : E_INVALIDARG;
                             });
    }

    // ---- units and preferences ----------------------------------------------------------
    HRESULT GetLengthUnitArray(VARIANT* units) override {
        return this->docCall("IModelDoc2::GetLengthUnitArray", {}, units,
                             [&](docContextS& context) {
                                 return putShorts(unitArray(context.model->lengthUnit()), units);
                             });
    }
    HRESULT GetAngleUnitArray(VARIANT* units) override {
        return this->docCall("IModelDoc2::GetAngleUnitArray", {}, units, [&](docContextS& context) {
            return putShorts(unitArray(context.model->angleUnit()), units);
        });
    }
    HRESULT GetIntegerPreference(long id, long* value) override {
        return this->docCall("IModelDoc2::GetIntegerPreference", {journalValue(id)}, value,
                             [&](docContextS& context) {
                                 *value = context.model->integerPreference(id);
                                 return S_OK;
                             });
    }
    HRESULT SetIntegerPreference(long id, long value, VARIANT_BOOL* done) override {
        return this->docCall(
            "IModelDoc2::SetIntegerPreference", {journalValue(id), journalValue(value)}, done,
            [&](docContextS& context) {
                *done = variantBool(context.model->setIntegerPreference(id, value));
                return S_OK;
            });
    }
    HRESULT GetDoublePreference(long id, double* value) override {
        return this->docCall("IModelDoc2::GetDoublePreference", {journalValue(id)}, value,
                             [&](docContextS& context) {
                                 *value = context.model->doublePreference(id);
                                 return S_OK;
                             });
    }
    HRESULT SetDoublePreference(long id, double value, VARIANT_BOOL* done) override {
        return this->docCall("IModelDoc2::SetDoublePreference",
                             {journalValue(id), journalValue(value)}, done,
                             [&](docContextS& context) {
                                 if (!std::isfinite(value))
                                     return E_INVALIDARG;
                                 context.model->setDoublePreference(id, value);
                                 *done = VARIANT_TRUE;
                                 return S_OK;
                             });
    }

    // ---- saving, copies, previews ------------------------------------------------------
    HRESULT HasUnsavedChanges(VARIANT_BOOL* dirty) override {
        return this->docCall("IModelDoc2::HasUnsavedChanges", {}, dirty, [&](docContextS& context) {
            *dirty = variantBool(context.model->modified());
            return S_OK;
        });
    }
    HRESULT Save(long options, long* errors) override {
        return this->docCall(
            "IModelDoc2::Save", {journalValue(options)}, errors,
            [&](docContextS& context) { return commonDoc::save(context, errors); });
    }
    HRESULT SaveCopyAs(BSTR path, long options, long* errors) override {
        return this->docCall("IModelDoc2::SaveCopyAs", {journalValue(path), journalValue(options)},
                             errors, [&](docContextS& context) {
                                 return commonDoc::saveCopyAs(context, utf8Of(path), errors);
                             });
    }
    HRESULT SaveAs(BSTR path, long options, long* errors) override {
        return this->docCall(
            "IModelDoc2::SaveAs", {journalValue(path), journalValue(options)}, errors,
            [&](docContextS& context) { return commonDoc::saveAs(context, utf8Of(path), errors); });
    }
    HRESULT SaveBitmap(BSTR path, long width, long height, VARIANT_BOOL* saved) override {
        return this->docCall("IModelDoc2::SaveBitmap",
                             {journalValue(path), journalValue(width), journalValue(height)}, saved,
                             [&](docContextS& context) {
                                 return commonDoc::saveBitmap(context, utf8Of(path), width, height,
                                                              saved);
                             });
    }

    // ---- settings the build-settings guard switches, views ------------------------------
    HRESULT GetCreationFlag(VARIANT_BOOL* flag) override {
        return this->call("IModelDoc2::GetCreationFlag", {}, flag, [&] {
            *flag = creationFlag_;
            return S_OK;
        });
    }
    HRESULT SetCreationFlag(VARIANT_BOOL flag) override {
        return this->call("IModelDoc2::SetCreationFlag", {journalValue(flag)}, [&] {
            creationFlag_ = flag;
            return S_OK;
        });
    }
    HRESULT GetSettingA(VARIANT_BOOL* value) override {
        return this->call("IModelDoc2::GetSettingA", {}, value, [&] {
            *value = settingA_;
            return S_OK;
        });
    }
    HRESULT SetSettingA(VARIANT_BOOL value) override {
        return this->call("IModelDoc2::SetSettingA", {journalValue(value)}, [&] {
            settingA_ = value;
            return S_OK;
        });
    }
    HRESULT GetSettingB(VARIANT_BOOL* value) override {
        return this->call("IModelDoc2::GetSettingB", {}, value, [&] {
            *value = settingB_;
            return S_OK;
        });
    }
    HRESULT SetSettingB(VARIANT_BOOL value) override {
        return this->call("IModelDoc2::SetSettingB", {journalValue(value)}, [&] {
            settingB_ = value;
            return S_OK;
        });
    }
    HRESULT EnterBuildMode(long mode) override {
        return this->call("IModelDoc2::EnterBuildMode", {journalValue(mode)}, [&] {
            ++buildMode_;
            return S_OK;
        });
    }
    HRESULT LeaveBuildMode() override {
        return this->call("IModelDoc2::LeaveBuildMode", {}, [&] {
            if (buildMode_ > 0)
                --buildMode_;
            return S_OK;
        });
    }
    HRESULT ShowNamedView(BSTR name, long id) override {
        return this->call("IModelDoc2::ShowNamedView", {journalValue(name), journalValue(id)},
                          [] { return S_OK; });
    }
    HRESULT FitView() override {
        return this->call("IModelDoc2::FitView", {}, [] { return S_OK; });
    }
    HRESULT ZoomToFit() override {
        return this->call("IModelDoc2::ZoomToFit", {}, [] { return S_OK; });
    }

    // Document settings as the guard left them (for tests).
    VARIANT_BOOL creationFlag() const { return creationFlag_; }
    VARIANT_BOOL settingA() const { return settingA_; }
    VARIANT_BOOL settingB() const { return settingB_; }
    int buildModeDepth() const { return buildMode_; }

private:
    static std::string propertyValue(docContextS& context, BSTR configuration, BSTR name) {
        const auto found = context.model->customProperty(utf8Of(configuration), utf8Of(name));
        return found ? found->value : std::string();
    }
    // Unit, fraction base, fraction denominator, decimal places, round to fraction.
    static std::vector<short> unitArray(int unit) { return {static_cast<short>(unit), 0, 0, 2, 0}; }

    VARIANT_BOOL creationFlag_ = VARIANT_FALSE;
    VARIANT_BOOL settingA_ = VARIANT_FALSE;
    VARIANT_BOOL settingB_ = VARIANT_FALSE;
    int buildMode_ = 0;
};

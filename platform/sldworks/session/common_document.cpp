#include "platform/sldworks/session/common_document.h"

#include "platform/sldworks/session/application.h"
#include "platform/sldworks/session/configuration_objects.h"
#include "platform/sldworks/session/document_helpers.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowerExtension(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

namespace commonDoc {

HRESULT nextDocument(docContextS& context, IModelDoc2* self, IDispatch** doc) {
    const auto app = context.app.lock();
    return putObject(app ? app->documentAfter(self) : IDispatchPtr(), doc);
}

HRESULT extension(docContextS& context, IDocExtension** extension) {
    *extension = new docExtensionC(context.shared_from_this());
    return S_OK;
}

HRESULT configurationManager(docContextS& context, IConfigurationManager** manager) {
    *manager = new configurationManagerC(context.shared_from_this());
    return S_OK;
}

HRESULT save(docContextS& context, long* errors) {
    // The result is SolidWorks' error code: 0 saved, 1 not saved (no path yet, or the file
    // cannot be written).
    if (context.model->path().empty()) {
        *errors = 1;
        return S_OK;
    }
    try {
        context.model->save(context.model->path());
        *errors = 0;
    } catch (const swsim::ModelError&) {
        *errors = 1;
    }
    return S_OK;
}

HRESULT saveAs(docContextS& context, const std::string& path, long* errors) {
    // Only the session's own format: the document takes the path, so that it can be saved
    // again and closed by it.
    const std::string ext = lowerExtension(path);
    const bool part = context.model->type() == swsim::DocumentType::Part;
    if (!(part ? (ext == "sldprt" || ext == "sldlfp") : ext == "sldasm"))
        return E_INVALIDARG;
    try {
        context.model->save(path);
        *errors = 0;
    } catch (const swsim::ModelError&) {
        *errors = 1;
    }
    return S_OK;
}

HRESULT saveCopyAs(docContextS& context, const std::string& path, long* errors) {
    const std::string ext = lowerExtension(path);
    const bool part = context.model->type() == swsim::DocumentType::Part;
    try {
        if (ext == "step" || ext == "stp") {
            context.model->exportStep(path);
        } else if (ext == "stl") {
            // Application integer setting 211: 3 writes the STL in inches (the model's
            // lengths are millimetres), anything else in millimetres.
            const auto app = context.app.lock();
            const bool inches = app && app->integers.count(211) != 0 && app->integers.at(211) == 3;
            context.model->exportStl(path, false, inches ? 1.0 / 25.4 : 1.0);
        } else if ((part && (ext == "sldprt" || ext == "sldlfp")) || (!part && ext == "sldasm")) {
            context.model->saveCopy(path);
        } else if (ext == "sat") {
            // No ACIS writer here: the copy fails as a refused format.
            *errors = 1;
            return E_FAIL;
        } else {
            return E_INVALIDARG;
        }
    } catch (const swsim::ModelError&) {
        return E_FAIL;
    }
    *errors = 0;
    return S_OK;
}

HRESULT saveBitmap(docContextS& context, const std::string& path, long width, long height,
                   VARIANT_BOOL* saved) {
    try {
        context.model->saveBitmap(path, static_cast<int>(width), static_cast<int>(height));
        *saved = VARIANT_TRUE;
    } catch (const swsim::ModelError&) {
        *saved = VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT customNames(docContextS& context, const std::string& configuration, VARIANT* names) {
    const auto* list = context.model->customProperties(configuration);
    // An unknown configuration answers no array; a known one an array, empty or not.
    if (list == nullptr)
        return S_OK;
    std::vector<std::string> texts;
    for (const auto& p : *list)
        texts.push_back(p.name);
    return putStrings(texts, names);
}

} // namespace commonDoc

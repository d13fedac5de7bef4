#include "libs/geomcore/natCheckin/sldworks_messages.h"

#include "libs/geomcore/swapi/application_calls.h"
#include "libs/geomcore/swapi/array_reading.h"

mzComStringC latestSldWorksMessage(ISldWorks* app) {
    try {
        _variant_t messages;
        _variant_t ids;
        _variant_t types;
        if (sldWorksGetErrorMessages(app, messages, ids, types) <= 0)
            return mzComStringC();
        const std::vector<_bstr_t> texts = readBstrArray(messages);
        return texts.empty() ? mzComStringC() : mzComStringC(texts.back());
    } catch (...) {
        return mzComStringC();
    }
}

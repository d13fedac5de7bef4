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
        // Only an error explains a refusal; a reader's report is information, MB_ICONINFORMATION.
        constexpr long kErrorMessage = 0x10; // MB_ICONERROR
        const std::vector<_bstr_t> texts = readBstrArray(messages);
        const std::vector<long> kinds = readLongArray(types);
        for (std::size_t i = texts.size(); i-- > 0;)
            if (i >= kinds.size() || (kinds[i] & 0xF0) == kErrorMessage)
                return mzComStringC(texts[i]);
        return mzComStringC();
    } catch (...) {
        return mzComStringC();
    }
}

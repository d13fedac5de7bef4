#include "libs/geomcore/swtools/error.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"

void failCreation(const mzComStringC& message, callerPositionT where) {
    displayCreationWarningI(0, "ERROR", message, getAppName(), where.file_name(),
                            where.function_name(), static_cast<int>(where.line()));
    throw errorC(message);
}

mzComStringC quotedName(const mzComStringC& name) {
    // Names come from the model: a control character (an escape sequence, a NUL, a C1
    // control) is shown as \xNN so that it cannot act on the terminal or the log reader.
    std::u16string text = u"\"";
    for (const char16_t unit : name.utf16()) {
        if (unit >= 0x20 && (unit < 0x7F || unit > 0x9F)) {
            text += unit;
            continue;
        }
        constexpr char16_t digits[] = u"0123456789ABCDEF";
        text += u"\\x";
        text += digits[(unit >> 4) & 0xF];
        text += digits[unit & 0xF];
    }
    text += u'"';
    return mzComStringC::fromUtf16(text);
}

#include "libs/geomcore/swtools/error.h"

#include "libs/KvorCadComm/app_environment.h"
#include "libs/KvorCadComm/creation_warning.h"

void failCreation(const mzComStringC& message, std::source_location where) {
    displayCreationWarningI(0, "ERROR", message, getAppName(), where.file_name(),
                            where.function_name(), static_cast<int>(where.line()));
    throw errorC(message);
}

mzComStringC quotedName(const mzComStringC& name) {
    return mzComStringC("\"") + name + "\"";
}

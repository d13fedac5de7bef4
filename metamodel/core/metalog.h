#pragma once
// Log records of the meta views, in the category of the source file that writes them.

#include "libs/KvorCore/loader/log_category.h"

#include <string>
#include <string_view>

#define META_LOG_WARNING(text)                                                                     \
    NATLINK_LOG(mzLogLevelWarning, mzComStringC(std::string_view(std::string(text))))

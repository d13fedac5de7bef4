#include "libs/KvorCadComm/trace_frames.h"

mzLogCategoryT codeTrackLogCategory() {
    static const mzLogCategoryT category = registerLogCategory("codetrack");
    return category;
}

#include "libs/KvorCadComm/safearray_count.h"

long safeArrayGetCount(SAFEARRAY* array, unsigned dimension) {
    if (array == nullptr) {
        return 0;
    }
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, dimension, &lower)) ||
        FAILED(SafeArrayGetUBound(array, dimension, &upper))) {
        return 0;
    }
    // In 64 bits: an empty array has upper = lower - 1, which may lie below LONG's range.
    const long long count = static_cast<long long>(upper) - lower + 1;
    return count > 0 ? static_cast<long>(count) : 0;
}

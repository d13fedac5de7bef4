#include "libs/KvorCadComm/matrix4x4.h"

#include <algorithm>

void mulMatrix4x4(const double a[16], double out[16], const double b[16]) {
    // Computed aside first, so that out may alias a or b.
    double product[16];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[4 * row + k] * b[4 * k + col];
            }
            product[4 * row + col] = sum;
        }
    }
    std::copy(product, product + 16, out);
}

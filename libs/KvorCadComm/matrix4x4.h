// 4 x 4 matrices of the CAD side: 16 doubles, row by row, used with row vectors
// (a point p goes to p x M), so the translation sits in elements 12 to 14.
#pragma once

// out = a x b. With row vectors, a point transformed by the product is transformed first
// by a, then by b. `out` may be the same array as `a` or `b`.
void mulMatrix4x4(const double a[16], double out[16], const double b[16]);

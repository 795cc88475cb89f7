#pragma once

#include "platform/core/types.h"

// a * b / c over a 64-bit product, rounded half away from zero; -1 when c is 0 or the result
// does not fit in 32 bits.
int MulDiv(int a, int b, int c);

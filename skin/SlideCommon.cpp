#include "skin/SlideCommon.h"

int SmallerOf(int A, int B) {
    return A < B ? A : B;
}

int LargerOf(int A, int B) {
    return A > B ? A : B;
}

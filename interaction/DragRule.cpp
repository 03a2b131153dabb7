#include "interaction/DragRule.h"

int32_t keepInside(int32_t position, int32_t size, int32_t step, int32_t low, int32_t high) {
    if (position + step >= low) {
        if (position + step + size > high) return high - (size + position);
        return step;
    }
    return low - position;
}

#include "output/round_half_even.h"

#include <cmath>
#include <limits>

namespace koyomi {

int RoundHalfEven(long double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr long double kMin = std::numeric_limits<int>::min();
    constexpr long double kMax = std::numeric_limits<int>::max();
    if (value <= kMin) {
        return std::numeric_limits<int>::min();
    }
    if (value >= kMax) {
        return std::numeric_limits<int>::max();
    }
    // The fraction of a binary floating-point number is exact, so the half test is too.
    const long double below = std::floor(value);
    const long double fraction = value - below;
    long double rounded = below;
    if (fraction > 0.5L) {
        rounded = below + 1;
    } else if (fraction == 0.5L) {
        rounded = std::fmod(below, 2.0L) == 0 ? below : below + 1;
    }
    return static_cast<int>(rounded);
}

}  // namespace koyomi

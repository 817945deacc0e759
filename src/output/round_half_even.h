// Rounding of scaled printer coordinates: to the nearest integer, halves to the even
// neighbour, so that layouts come out the same whatever the floating-point rounding mode.
#pragma once

namespace koyomi {

// Values beyond the range of int saturate at its ends; NaN gives 0.
int RoundHalfEven(long double value);

}  // namespace koyomi

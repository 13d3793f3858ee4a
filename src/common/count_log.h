#pragma once
// Base-10 logarithms of counts for the logarithmic plots, without the C library's
// log10: a plot takes the logarithms of hundreds of thousands of counts, and the
// library routine is slow, more so in the desktop program after a drawing has
// left the wide vector registers in use. The result differs from std::log10 by
// at most a few units in the last place, far below a pixel of any plot.

namespace vorelbox::common {

// log10(x). Zero, negative, infinite and NaN arguments, and those too small to
// be normal numbers, go to std::log10 and get its answers.
double count_log10(double x);

}  // namespace vorelbox::common

#pragma once

#include <QFont>

namespace vorel {

// "Arial" (Liberation Sans where Arial is not installed), normal weight, with a
// character cell `height` pixels high (ascent + descent) and an average
// character width of `width` pixels. The average width is the classic weighted
// mean of the lower-case letters and the space (0.441 em for Arial's metrics);
// the font is stretched horizontally to reach it. A width of 0 or less keeps
// the natural proportions.
QFont MakeGraphFont(int height, int width);

}  // namespace vorel

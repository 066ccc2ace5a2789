#pragma once
// The general format of reals as text: at most 15 significant digits, no useless zeros, "." as
// decimal separator; fixed notation from 0.00001 up to 15 integer digits, otherwise a mantissa
// followed by "E" and the exponent (1E20, 1.5E-7).

#include <string>

std::string FormaterReelGeneral(double x);

#include "expr/PuissanceReelle.h"

#include <cmath>
#include <cstdint>

namespace {

double PuissanceEntiere(double x, std::uint32_t n) {
    double r = 1;
    for (;;) {
        if (n & 1) r *= x;
        n >>= 1;
        if (n == 0) return r;
        x *= x;
    }
}

} // namespace

double PuissanceReelle(double x, double y) {
    if (y == 0) return 1;
    if (x == 0 && y > 0) return 0;
    if (std::trunc(y) == y && std::fabs(y) <= 2147483647.0) {
        const auto n = static_cast<std::int32_t>(y);
        return n >= 0 ? PuissanceEntiere(x, std::uint32_t(n))
                      : 1 / PuissanceEntiere(x, std::uint32_t(-n));
    }
    if (x < 0)
        throw EErrOperationInvalide(
            "opération invalide : puissance non entière d'un nombre négatif");
    return std::exp(y * std::log(x));
}

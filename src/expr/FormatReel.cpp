#include "expr/FormatReel.h"

#include "util/Format.h"

#include <cmath>
#include <cstdlib>

std::string FormaterReelGeneral(double x) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0) return "0";
    // d.dddddddddddddde±x: the 15 significant digits after rounding, and the decimal exponent.
    const std::string e = Formater("%.14e", std::fabs(x));
    const std::size_t posE = e.find('e');
    std::string chiffres = e.substr(0, 1) + e.substr(2, posE - 2);
    const int exposant = std::atoi(e.c_str() + posE + 1);
    while (chiffres.size() > 1 && chiffres.back() == '0')
        chiffres.pop_back();

    std::string r = x < 0 ? "-" : "";
    if (exposant >= -5 && exposant < 15) {
        if (exposant < 0) {
            r += "0." + std::string(std::size_t(-exposant - 1), '0') + chiffres;
        } else {
            const std::size_t entiers = std::size_t(exposant) + 1;
            if (chiffres.size() <= entiers) {
                r += chiffres + std::string(entiers - chiffres.size(), '0');
            } else {
                r += chiffres.substr(0, entiers) + "." + chiffres.substr(entiers);
            }
        }
    } else {
        r += chiffres.substr(0, 1);
        if (chiffres.size() > 1) r += "." + chiffres.substr(1);
        r += "E" + std::to_string(exposant);
    }
    return r;
}

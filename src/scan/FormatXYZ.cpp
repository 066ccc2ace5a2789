#include "scan/FormatXYZ.h"

#include "util/Format.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view ChampSuivant(std::string_view& reste) {
    std::size_t d = 0;
    while (d < reste.size() && EstBlanc(reste[d]))
        ++d;
    std::size_t f = d;
    while (f < reste.size() && !EstBlanc(reste[f]))
        ++f;
    const std::string_view champ = reste.substr(d, f - d);
    reste.remove_prefix(f);
    return champ;
}

} // namespace

float VersFloat(double v) {
    if (std::fabs(v) > double(FLT_MAX)) return std::copysign(INFINITY, float(v > 0 ? 1 : -1));
    return static_cast<float>(v);
}

bool LireLigneXYZ(std::string_view ligne, TV3R& coo, TV4By& couleur) {
    for (int a = 0; a < 3; ++a) {
        if (!LireReel(ChampSuivant(ligne), coo[a])) return false;
    }
    for (int n = 0; n < 3; ++n) {
        std::int64_t v = 0;
        if (!LireEntier(ChampSuivant(ligne), v) || v < INT32_MIN || v > INT32_MAX) v = 0;
        couleur[std::size_t(n)] = static_cast<std::uint8_t>(v & 0xFF);
    }
    couleur[3] = 0;
    return true;
}

void AjouterLigneXYZ(std::string& sortie, const TV3R& p, const TV4By& couleur) {
    // to_chars in fixed notation rounds exactly as printf's "%.8f" does, without its cost.
    char ligne[200];
    char* c = ligne;
    char* const fin = ligne + sizeof ligne;
    for (int n = 0; n < 3; ++n) {
        if (n > 0) *c++ = ' ';
        c = std::to_chars(c, fin - 20, p[n], std::chars_format::fixed, 8).ptr;
    }
    *c++ = ' ';
    for (int n = 0; n < 3; ++n) {
        *c++ = ' ';
        *c++ = char('0' + couleur[n] / 100);
        *c++ = char('0' + couleur[n] / 10 % 10);
        *c++ = char('0' + couleur[n] % 10);
    }
    *c++ = '\r';
    *c++ = '\n';
    sortie.append(ligne, std::size_t(c - ligne));
}

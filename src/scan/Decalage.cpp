#include "scan/Decalage.h"

#include <cmath>

std::int64_t DecalageAxe(double v) {
    const double d = std::floor(v / 1000) * 1000;
    if (!(std::fabs(d) < double(DecalageMax))) return 0;
    return static_cast<std::int64_t>(d);
}

bool EstDecale(const TDecalage& d) {
    return d[0] != 0 || d[1] != 0 || d[2] != 0;
}

std::string TexteDecalage(const TDecalage& d) {
    std::string t;
    for (int a = 0; a < 3; ++a) {
        if (d[std::size_t(a)] == 0) continue;
        if (!t.empty()) t += ", ";
        t += std::string(1, char('X' + a)) + " = " + std::to_string(d[std::size_t(a)]) + " m";
    }
    return t;
}

TV3R CoordonneesDuLeve(const TV3S& p, const TDecalage& d) {
    TV3R r;
    for (int a = 0; a < 3; ++a)
        r[a] = d[std::size_t(a)] == 0 ? double(p[a]) : double(p[a]) + double(d[std::size_t(a)]);
    return r;
}

#include "geometry/UtilsGeom.h"

#include "util/Erreurs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Tolerance = 1e-30;

bool Egal(double a, double b) {
    return std::fabs(a - b) <= Tolerance;
}
bool AuMoins(double a, double b) {
    return Egal(a, b) || a > b;
}
bool AuPlus(double a, double b) {
    return Egal(a, b) || a < b;
}

bool SurSegment(const TV2R& a, const TV2R& b, const TV2R& i) {
    const int axe = std::fabs(a.X - b.X) > std::fabs(a.Y - b.Y) ? 0 : 1;
    return AuMoins(i[axe], std::min(a[axe], b[axe])) && AuPlus(i[axe], std::max(a[axe], b[axe]));
}

} // namespace

TV2x2R Mcb22FromPoints(const TV2R& p, const TV2R& q, double& distance) {
    try {
        TV2R u = SubV2R(q, p);
        NormalizeV2R(u, distance);
        return {{{u.X, u.Y}, {-u.Y, u.X}}};
    } catch (...) {
        throw EErreur("MCB22");
    }
}

TV2x2R Mcb22(const TV2R& p, const TV2R& q) {
    double distance;
    return Mcb22FromPoints(p, q, distance);
}

TV2x2R RotM2Angle(double theta) {
    const double c = std::cos(theta), s = std::sin(theta);
    return {{{c, s}, {-s, c}}};
}

TV2R GlobalToLocal2(const TV2x2R& m, const TV2R& origine, const TV2R& p) {
    return MulM2V2(m, SubV2R(p, origine));
}

TV2R LocalToGlobal2(const TV2x2R& m, const TV2R& origine, const TV2R& q) {
    return AddV2R(MulTM2V2(m, q), origine);
}

TV3R LineCoefs(const TV2R& p, const TV2R& q) {
    const double a = p.Y - q.Y;
    const double b = q.X - p.X;
    return {a, b, -a * p.X - b * p.Y};
}

bool IntersectLines(const TV3R& l1, const TV3R& l2, TV2R& i) {
    const double det = l1.X * l2.Y - l1.Y * l2.X;
    if (Egal(det, 0)) return false;
    i = {(l1.Y * l2.Z - l2.Y * l1.Z) / det, (l2.X * l1.Z - l1.X * l2.Z) / det};
    return true;
}

bool IntersectSegments(const TV2R& p1, const TV2R& p2, const TV2R& p3, const TV2R& p4, TV2R& i) {
    if (!IntersectLines(LineCoefs(p1, p2), LineCoefs(p3, p4), i)) return false;
    return SurSegment(p1, p2, i) && SurSegment(p3, p4, i);
}

double PolygonArea(const aryTV2R& polygone) {
    double somme = 0;
    const std::size_t n = polygone.size();
    for (std::size_t k = 0; k < n; ++k) {
        const TV2R& a = polygone[k];
        const TV2R& b = polygone[(k + 1) % n];
        somme += (a.Y + b.Y) * (b.X - a.X) / 2;
    }
    return -somme;
}

TV3x3R RotM3Angles(const TV3R& angles) {
    TV3x3R r = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int axe = 0; axe < 3; ++axe) {
        if (angles[axe] == 0) continue;
        const double c = std::cos(angles[axe]), s = std::sin(angles[axe]);
        TV3x3R f;
        switch (axe) {
        case 0:
            f = {{{1, 0, 0}, {0, c, s}, {0, -s, c}}};
            break;
        case 1:
            f = {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
            break;
        default:
            f = {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
            break;
        }
        r = MulM3M3(r, f);
    }
    return r;
}

TV3x3R GLToM3(const TmatGL16& m) {
    TV3x3R r;
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c)
            r[l][c] = m[c * 4 + l];
    return r;
}

void M3ToGL(const TV3x3R& m3, TmatGL16& m) {
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c)
            m[c * 4 + l] = m3[l][c];
}

TmatGL16 IdentiteGL16() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

#include "geometry/UtilsVect.h"

#include <cmath>

TV2R MakeV2R(double x, double y) {
    return {x, y};
}
TV3R MakeV3R(double x, double y, double z) {
    return {x, y, z};
}
TV3S MakeV3S(float x, float y, float z) {
    return {x, y, z};
}

TV2R AddV2R(const TV2R& a, const TV2R& b) {
    return {a.X + b.X, a.Y + b.Y};
}
TV3R AddV3R(const TV3R& a, const TV3R& b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

TV4I AddV4I(const TV4I& a, const TV4I& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2], a[3] + b[3]};
}

TV2R SubV2R(const TV2R& a, const TV2R& b) {
    return {a.X - b.X, a.Y - b.Y};
}
TV3R SubV3R(const TV3R& a, const TV3R& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

TV3S SubV3S(const TV3S& a, const TV3S& b) {
    return {static_cast<float>(double(a.X) - double(b.X)),
            static_cast<float>(double(a.Y) - double(b.Y)),
            static_cast<float>(double(a.Z) - double(b.Z))};
}

TV2R ScaleV2R(const TV2R& v, double s) {
    return {s * v.X, s * v.Y};
}
TV3R ScaleV3R(const TV3R& v, double s) {
    return {s * v.X, s * v.Y, s * v.Z};
}

TV2R CombV2R(double alpha, const TV2R& a, double beta, const TV2R& b) {
    return {alpha * a.X + beta * b.X, alpha * a.Y + beta * b.Y};
}

TV3R CombV3R(double alpha, const TV3R& a, double beta, const TV3R& b) {
    return {alpha * a.X + beta * b.X, alpha * a.Y + beta * b.Y, alpha * a.Z + beta * b.Z};
}

double Norm2V2R(const TV2R& v) {
    return v.X * v.X + v.Y * v.Y;
}
double Norm2V3R(const TV3R& v) {
    return v.X * v.X + v.Y * v.Y + v.Z * v.Z;
}
double NormV2R(const TV2R& v) {
    return std::sqrt(Norm2V2R(v));
}
double NormV3R(const TV3R& v) {
    return std::sqrt(Norm2V3R(v));
}

bool NormalizeV2R(TV2R& v, double& longueur) {
    longueur = NormV2R(v);
    if (longueur < 1e-30) return false;
    v = ScaleV2R(v, 1.0 / longueur);
    return true;
}

TV3R CrossV3R(const TV3R& a, const TV3R& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

TV2R V3RToV2R(const TV3R& v) {
    return {v.X, v.Y};
}

TV3S V3RToV3S(const TV3R& v) {
    return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)};
}

TV2R MulM2V2(const TV2x2R& m, const TV2R& v) {
    return {m[0][0] * v.X + m[0][1] * v.Y, m[1][0] * v.X + m[1][1] * v.Y};
}

TV3R MulM3V3(const TV3x3R& m, const TV3R& v) {
    TV3R r;
    for (int i = 0; i < 3; ++i)
        r[i] = m[i][0] * v.X + m[i][1] * v.Y + m[i][2] * v.Z;
    return r;
}

TV2R MulTM2V2(const TV2x2R& m, const TV2R& v) {
    return {m[0][0] * v.X + m[1][0] * v.Y, m[0][1] * v.X + m[1][1] * v.Y};
}

TV3R MulTM3V3(const TV3x3R& m, const TV3R& v) {
    TV3R r;
    for (int i = 0; i < 3; ++i)
        r[i] = m[0][i] * v.X + m[1][i] * v.Y + m[2][i] * v.Z;
    return r;
}

TV3x3R MulM3M3(const TV3x3R& a, const TV3x3R& b) {
    TV3x3R r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

#pragma once
// Fixed-size vectors and matrices. Plain values; the 32-bit forms compute in double and round
// once at the end, which the stored coordinates rely on.

#include <array>
#include <cstdint>
#include <vector>

struct TV2R {
    double X = 0, Y = 0;
    double operator[](int i) const { return i == 0 ? X : Y; }
    double& operator[](int i) { return i == 0 ? X : Y; }
    bool operator==(const TV2R&) const = default;
};

struct TV3R {
    double X = 0, Y = 0, Z = 0;
    double operator[](int i) const { return i == 0 ? X : (i == 1 ? Y : Z); }
    double& operator[](int i) { return i == 0 ? X : (i == 1 ? Y : Z); }
    bool operator==(const TV3R&) const = default;
};

struct TV3S {
    float X = 0, Y = 0, Z = 0;
    float operator[](int i) const { return i == 0 ? X : (i == 1 ? Y : Z); }
    float& operator[](int i) { return i == 0 ? X : (i == 1 ? Y : Z); }
    bool operator==(const TV3S&) const = default;
};

// Row by row: M[ligne][colonne].
using TV2x2R = std::array<std::array<double, 2>, 2>;
using TV3x3R = std::array<std::array<double, 3>, 3>;

using TV4By = std::array<std::uint8_t, 4>;

// The largest finite 32-bit real: the start of a search for a minimum, the empty box's bounds.
inline constexpr float PlusGrandReel = 3.4028235e38f;

// A step rounded to 32 bits, written as such where a result depends on that rounding.
inline float Arrondi32(double x) {
    return static_cast<float>(x);
}
using TV4I = std::array<std::int32_t, 4>;

using aryTV2R = std::vector<TV2R>;
using aryTV3R = std::vector<TV3R>;

struct TVecteur2D {
    TV2R Pori; // origine
    TV2R Px;   // second point: fixes the direction of the local X axis
    bool operator==(const TVecteur2D&) const = default;
};

// Column by column, as the graphics library stores it: element (r, c) at c*4 + r.
using TmatGL16 = std::array<double, 16>;

static_assert(sizeof(TV2R) == 16 && sizeof(TV3R) == 24 && sizeof(TV3S) == 12);
static_assert(sizeof(TV2x2R) == 32 && sizeof(TV3x3R) == 72 && sizeof(TVecteur2D) == 32);
static_assert(sizeof(TV4By) == 4 && sizeof(TV4I) == 16 && sizeof(TmatGL16) == 128);

TV2R MakeV2R(double x, double y);
TV3R MakeV3R(double x, double y, double z);
TV3S MakeV3S(float x, float y, float z);

TV2R AddV2R(const TV2R& a, const TV2R& b);
TV3R AddV3R(const TV3R& a, const TV3R& b);
// Inline: the construction of the grid adds a point to its cube for each of millions of points.
inline TV3S AddV3S(const TV3S& a, const TV3S& b) {
    return {static_cast<float>(double(a.X) + double(b.X)),
            static_cast<float>(double(a.Y) + double(b.Y)),
            static_cast<float>(double(a.Z) + double(b.Z))};
}
TV4I AddV4I(const TV4I& a, const TV4I& b);
TV2R SubV2R(const TV2R& a, const TV2R& b);
TV3R SubV3R(const TV3R& a, const TV3R& b);
TV3S SubV3S(const TV3S& a, const TV3S& b);
TV2R ScaleV2R(const TV2R& v, double s);
TV3R ScaleV3R(const TV3R& v, double s);
TV2R CombV2R(double alpha, const TV2R& a, double beta, const TV2R& b);
TV3R CombV3R(double alpha, const TV3R& a, double beta, const TV3R& b);
double Norm2V2R(const TV2R& v);
double Norm2V3R(const TV3R& v);
double NormV2R(const TV2R& v);
double NormV3R(const TV3R& v);
bool NormalizeV2R(TV2R& v, double& longueur);
TV3R CrossV3R(const TV3R& a, const TV3R& b);
TV2R V3RToV2R(const TV3R& v);
TV3S V3RToV3S(const TV3R& v);

TV2R MulM2V2(const TV2x2R& m, const TV2R& v);
TV3R MulM3V3(const TV3x3R& m, const TV3R& v);
TV2R MulTM2V2(const TV2x2R& m, const TV2R& v);
TV3R MulTM3V3(const TV3x3R& m, const TV3R& v);
TV3x3R MulM3M3(const TV3x3R& a, const TV3x3R& b);

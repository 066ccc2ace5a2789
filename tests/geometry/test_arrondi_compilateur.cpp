// g++ 12's SLP vectorizer, when it pairs two side-by-side double -> float -> double roundings,
// drops them; the build turns it off. This test fails if the build ever compiles that pattern
// without the roundings again.

#include "geometry/UtilsVect.h"

#include <gtest/gtest.h>

namespace {

__attribute__((noipa)) TV2R SommeArrondie(const TV2R& a, const TV2R& b) {
    TV2R r;
    r.X = Arrondi32(a.X + b.X);
    r.Y = Arrondi32(a.Y + b.Y);
    return r;
}

} // namespace

TEST(Compilateur, DeuxArrondisCoteACoteRestentArrondis) {
    const TV2R a{103.1, 51.2}, b{0.03479995727539, 0.01};
    const TV2R r = SommeArrondie(a, b);
    // Through memory, where no vectorizer can pair anything.
    volatile float x = float(a.X + b.X), y = float(a.Y + b.Y);
    EXPECT_EQ(r.X, double(x));
    EXPECT_EQ(r.Y, double(y));
    EXPECT_EQ(r.X, 103.13479614257812);
}

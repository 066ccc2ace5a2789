#include "expr/FormatReel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormatReel, FormatGeneral) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        const char* texte;
    } cas[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {3.141592653589793, "3.14159265358979"},
        {1e20, "1E20"},
        {-1.5e-7, "-1.5E-7"},
        {0.00001, "0.00001"},
        {0.000009, "9E-6"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"}, // 15 digits round it up to 16 integer digits
        {1234567890123456789.0, "1.23456789012346E18"},
        {2147483648.0, "2147483648"},
        {100, "100"},
        {12.5, "12.5"},
        {1e-300, "1E-300"},
        {std::nan(""), "NAN"},
        {inf, "INF"},
        {-inf, "-INF"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        EXPECT_EQ(FormaterReelGeneral(c.x), c.texte);
    }
}

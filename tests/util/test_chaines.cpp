#include "util/StringUtils.h"

#include <gtest/gtest.h>

// A name in Latin-1, a cut character, overlong forms and surrogates become U+FFFD, byte by byte;
// valid UTF-8 is kept as it is.
TEST(Chaines, Utf8Valide) {
    const struct {
        std::string_view Avant, Apres;
    } cas[] = {
        {"voûte.xyz", "voûte.xyz"},
        {"vo\xFBte.xyz", "vo\xEF\xBF\xBDte.xyz"},
        {"fin\xC3", "fin\xEF\xBF\xBD"},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF0\x9F\x99\x82 \xE2\x82\xAC", "\xF0\x9F\x99\x82 \xE2\x82\xAC"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(Utf8Valide(c.Avant), c.Apres) << c.Avant;
}

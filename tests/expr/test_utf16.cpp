#include "util/Utf16.h"

#include <gtest/gtest.h>

TEST(Utf16, AllerRetour) {
    for (const char* t : {"", "abc", "daN/m²", "clé €", "\xF0\x9F\x98\x80 hors du plan de base"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(Utf16VersUtf8(Utf8VersUtf16(t)), t);
    }
    EXPECT_EQ(Utf8VersUtf16("é€"), u"é€");
    EXPECT_EQ(Utf8VersUtf16("\xF0\x9F\x98\x80").size(), 2u); // a surrogate pair
}

TEST(Utf16, SequencesInvalidesRemplacees) {
    EXPECT_EQ(Utf8VersUtf16("a\xFF"
                            "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8VersUtf16("\xC3"), u"\uFFFD");                     // truncated
    EXPECT_EQ(Utf8VersUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(Utf8VersUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(Utf16VersUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16VersUtf8(u"\xDC00"
                            u"a"),
              "\xEF\xBF\xBD"
              "a");
}

#include "util/Utf16.h"

namespace {

constexpr char32_t Remplacement = 0xFFFD;

// One code point from `t` at `i` (advanced past it); Remplacement for a malformed sequence, of
// which only the first byte is consumed.
char32_t LireUtf8(std::string_view t, std::size_t& i) {
    const auto octet = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
    const unsigned char c = octet(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int suite = 0;
    char32_t cp = 0, minimum = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        suite = 1, cp = c & 0x1F, minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        suite = 2, cp = c & 0x0F, minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        suite = 3, cp = c & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return Remplacement;
    }
    if (i + std::size_t(suite) >= t.size()) {
        ++i;
        return Remplacement;
    }
    for (int k = 1; k <= suite; ++k) {
        const unsigned char s = octet(i + std::size_t(k));
        if ((s & 0xC0) != 0x80) {
            ++i;
            return Remplacement;
        }
        cp = (cp << 6) | (s & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return Remplacement;
    }
    i += std::size_t(suite) + 1;
    return cp;
}

void EcrireUtf8(std::string& s, char32_t cp) {
    if (cp < 0x80) {
        s += char(cp);
    } else if (cp < 0x800) {
        s += char(0xC0 | (cp >> 6));
        s += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += char(0xE0 | (cp >> 12));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    } else {
        s += char(0xF0 | (cp >> 18));
        s += char(0x80 | ((cp >> 12) & 0x3F));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::u16string Utf8VersUtf16(std::string_view texte) {
    std::u16string r;
    r.reserve(texte.size());
    for (std::size_t i = 0; i < texte.size();) {
        const char32_t cp = LireUtf8(texte, i);
        if (cp < 0x10000) {
            r += char16_t(cp);
        } else {
            r += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            r += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return r;
}

std::string Utf16VersUtf8(std::u16string_view texte) {
    std::string r;
    r.reserve(texte.size());
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char16_t u = texte[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < texte.size() && texte[i + 1] >= 0xDC00 &&
            texte[i + 1] <= 0xDFFF) {
            EcrireUtf8(r, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (texte[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            EcrireUtf8(r, Remplacement);
        } else {
            EcrireUtf8(r, u);
        }
    }
    return r;
}

#include "util/StringUtils.h"

namespace {

constexpr std::string_view EspaceInsecable = "\xC2\xA0";

bool Blanc(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string RemplacerInsecables(std::string_view s, std::string_view par) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.substr(i, 2) == EspaceInsecable) {
            r += par;
            ++i;
        } else {
            r += s[i];
        }
    }
    return r;
}

} // namespace

std::string Rogner(std::string_view s) {
    while (!s.empty() && Blanc(s.front()))
        s.remove_prefix(1);
    return RognerFin(s);
}

std::string RognerFin(std::string_view s) {
    while (!s.empty() && Blanc(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string SupprimerEspaces(std::string_view s) {
    std::string r = RemplacerInsecables(s, "");
    std::erase(r, ' ');
    return r;
}

std::string EspacesInsecablesEnEspaces(std::string_view s) {
    return RemplacerInsecables(s, " ");
}

std::string MajusculesAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

std::string MinusculesAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

std::string Utf8Valide(std::string_view s) {
    const auto octet = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    // The length of the valid sequence at `i`, 0 when there is none.
    const auto longueur = [&](std::size_t i) -> std::size_t {
        const unsigned c = octet(i);
        if (c < 0x80) return 1;
        const std::size_t n = c >= 0xC2 && c <= 0xDF   ? 2
                              : c >= 0xE0 && c <= 0xEF ? 3
                              : c >= 0xF0 && c <= 0xF4 ? 4
                                                       : 0;
        if (n == 0 || i + n > s.size()) return 0;
        // The second byte's range excludes overlong forms, surrogates and code points past
        // U+10FFFF.
        const unsigned d = octet(i + 1);
        const unsigned bas = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned haut = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        if (d < bas || d > haut) return 0;
        for (std::size_t k = 2; k < n; ++k)
            if ((octet(i + k) & 0xC0) != 0x80) return 0;
        return n;
    };
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = longueur(i);
        if (n == 0) {
            r += "\xEF\xBF\xBD";
            ++i;
        } else {
            r.append(s.substr(i, n));
            i += n;
        }
    }
    return r;
}

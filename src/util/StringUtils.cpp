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

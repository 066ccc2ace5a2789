#include "util/Format.h"

#include "util/BibliothequeC.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Drops a leading "+"; false when another sign follows it ("+-5", "++5" are no numbers).
bool SansPlus(std::string_view& t) {
    if (t.empty() || t.front() != '+') return true;
    t.remove_prefix(1);
    return t.empty() || (t.front() != '+' && t.front() != '-');
}

} // namespace

std::string Formater(const char* patron, ...) {
    const TLocaleC localeC;
    va_list args;
    va_start(args, patron);
    va_list copie;
    va_copy(copie, args);
    char tampon[256];
    const int n = std::vsnprintf(tampon, sizeof tampon, patron, args);
    va_end(args);
    std::string resultat;
    if (n >= 0 && std::size_t(n) < sizeof tampon) {
        resultat.assign(tampon, std::size_t(n));
    } else if (n >= 0) {
        std::vector<char> grand(std::size_t(n) + 1);
        std::vsnprintf(grand.data(), grand.size(), patron, copie);
        resultat.assign(grand.data(), std::size_t(n));
    }
    va_end(copie);
    return resultat;
}

std::string ReelExact(double x) {
    char tampon[32];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, x);
    return std::string(tampon, r.ptr);
}

bool LireReel(std::string_view texte, double& valeur) {
    if (!SansPlus(texte) || texte.empty()) return false;
    const char c = texte.front() == '-' && texte.size() > 1 ? texte[1] : texte.front();
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.')) return false; // nan, inf
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    if (fin != texte.data() + texte.size()) return false;
    if (erreur == std::errc::result_out_of_range) {
        // Overflow gives an infinity (the caller refuses it), underflow zero or a subnormal.
        const std::string copie(texte);
        const TLocaleC localeC;
        valeur = std::strtod(copie.c_str(), nullptr);
        return true;
    }
    return erreur == std::errc();
}

bool LireEntier(std::string_view texte, std::int64_t& valeur) {
    if (!SansPlus(texte) || texte.empty()) return false;
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    return erreur == std::errc() && fin == texte.data() + texte.size();
}

bool LireReelSaisi(std::string_view texte, double& valeur) {
    std::string point(texte);
    std::replace(point.begin(), point.end(), ',', '.');
    return LireReel(point, valeur);
}

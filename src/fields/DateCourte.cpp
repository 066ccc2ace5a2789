#include "fields/DateCourte.h"

#include "util/Format.h"

#include <cmath>
#include <cstdint>

namespace {

// Days between 1970-01-01 and a date of the proleptic Gregorian calendar, and back.
constexpr std::int64_t JoursDepuisCivil(std::int64_t a, unsigned m, unsigned j) {
    a -= m <= 2;
    const std::int64_t ere = (a >= 0 ? a : a - 399) / 400;
    const auto ade = unsigned(a - ere * 400);
    const unsigned jda = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + j - 1;
    const unsigned jde = ade * 365 + ade / 4 - ade / 100 + jda;
    return ere * 146097 + std::int64_t(jde) - 719468;
}

void CivilDepuisJours(std::int64_t z, std::int64_t& a, unsigned& m, unsigned& j) {
    z += 719468;
    const std::int64_t ere = (z >= 0 ? z : z - 146096) / 146097;
    const auto jde = unsigned(z - ere * 146097);
    const unsigned ade = (jde - jde / 1460 + jde / 36524 - jde / 146096) / 365;
    const unsigned jda = jde - (365 * ade + ade / 4 - ade / 100);
    const unsigned mp = (5 * jda + 2) / 153;
    j = jda - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    a = std::int64_t(ade) + ere * 400 + (m <= 2);
}

constexpr std::int64_t Origine = JoursDepuisCivil(1899, 12, 30);
constexpr double JourMin = double(JoursDepuisCivil(1, 1, 1) - Origine);
constexpr double JourMax = double(JoursDepuisCivil(10000, 1, 1) - Origine);

bool LireNombre(std::string_view t, std::size_t min, std::size_t max, unsigned& v) {
    if (t.size() < min || t.size() > max) return false;
    v = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + unsigned(c - '0');
    }
    return true;
}

} // namespace

std::string FormaterDateCourte(double dateHeure) {
    if (!(dateHeure >= JourMin && dateHeure < JourMax)) return "";
    std::int64_t a;
    unsigned m, j;
    CivilDepuisJours(Origine + std::int64_t(std::floor(dateHeure)), a, m, j);
    return Formater("%02u/%02u/%02u", j, m, unsigned(a % 100));
}

std::optional<double> LireDateCourte(std::string_view texte) {
    const std::size_t b1 = texte.find('/');
    const std::size_t b2 = b1 == texte.npos ? b1 : texte.find('/', b1 + 1);
    if (b2 == texte.npos) return std::nullopt;
    unsigned j, m, a;
    const std::string_view ta = texte.substr(b2 + 1);
    if (!LireNombre(texte.substr(0, b1), 1, 2, j) ||
        !LireNombre(texte.substr(b1 + 1, b2 - b1 - 1), 1, 2, m) ||
        !(ta.size() == 2 || ta.size() == 4) || !LireNombre(ta, 2, 4, a) ||
        (ta.size() == 4 && a == 0))
        return std::nullopt;
    if (ta.size() == 2) a += a < 50 ? 2000 : 1900;
    if (m < 1 || m > 12 || j < 1) return std::nullopt;
    const std::int64_t jour = JoursDepuisCivil(a, m, j);
    std::int64_t a2;
    unsigned m2, j2;
    CivilDepuisJours(jour, a2, m2, j2);
    if (m2 != m || j2 != j) return std::nullopt; // 31/04, 29/02 of a common year...
    return double(jour - Origine);
}

#include "scan/Decalage.h"

#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Distinct counts kept before the width doubles: a survey of 65 km along an axis still gets
// its shift to the metre.
constexpr std::size_t ComptesMax = std::size_t(1) << 16;
// The share of the coordinates left below the shift.
constexpr std::int64_t PartSousLeDecalage = 100;

// Floor division by 2^bits (an arithmetic shift rounds towards minus infinity).
std::int64_t Cle(std::int64_t metre, int bits) {
    return metre >> bits;
}

} // namespace

void TDecalageAxe::Ajouter(double v) {
    // A value no shift can bring back (NaN, beyond DecalageMax): the grid refuses it anyway.
    if (!(std::fabs(v) < double(DecalageMax))) return;
    const std::int64_t cle = Cle(static_cast<std::int64_t>(std::floor(v)), largeurBits_);
    ++total_;
    if (compteDernier_ != nullptr && cle == cleDerniere_) {
        ++*compteDernier_;
        return;
    }
    cleDerniere_ = cle;
    compteDernier_ = &++comptes_[cle];
    if (comptes_.size() > ComptesMax) Elargir();
}

void TDecalageAxe::Elargir() {
    while (comptes_.size() > ComptesMax) {
        std::unordered_map<std::int64_t, std::int64_t> larges;
        for (const auto& [cle, n] : comptes_)
            larges[Cle(cle, 1)] += n;
        comptes_ = std::move(larges);
        ++largeurBits_;
    }
    compteDernier_ = nullptr;
}

std::vector<std::pair<std::int64_t, std::int64_t>> TDecalageAxe::CasesTriees() const {
    std::vector<std::pair<std::int64_t, std::int64_t>> cases(comptes_.begin(), comptes_.end());
    std::sort(cases.begin(), cases.end());
    return cases;
}

std::int64_t TDecalageAxe::Decalage() const {
    if (total_ == 0) return 0;
    const auto cases = CasesTriees();
    const std::int64_t rang = total_ / PartSousLeDecalage; // from 0
    std::int64_t avant = 0;
    for (const auto& [cle, n] : cases) {
        if (rang < avant + n) return cle * (std::int64_t(1) << largeurBits_);
        avant += n;
    }
    return 0;
}

std::vector<TPlageAxe> TDecalageAxe::Plages(std::int64_t ecart) const {
    const std::int64_t largeur = std::int64_t(1) << largeurBits_;
    std::vector<TPlageAxe> plages;
    for (const auto& [cle, n] : CasesTriees()) {
        const std::int64_t debut = cle * largeur;
        if (plages.empty() || debut - plages.back().Fin >= ecart)
            plages.push_back({debut, debut + largeur, n});
        else
            plages.back() = {plages.back().Debut, debut + largeur, plages.back().Nb + n};
    }
    return plages;
}

bool EstDecale(const TDecalage& d) {
    return d[0] != 0 || d[1] != 0 || d[2] != 0;
}

bool DecalageNotable(const TDecalage& d) {
    return std::any_of(d.begin(), d.end(),
                       [](std::int64_t v) { return std::fabs(double(v)) >= SeuilDecalage; });
}

std::string TexteDecalage(const TDecalage& d) {
    std::string t;
    for (int a = 0; a < 3; ++a) {
        if (d[std::size_t(a)] == 0) continue;
        if (!t.empty()) t += ", ";
        t += std::string(1, char('X' + a)) + " = " + std::to_string(d[std::size_t(a)]) + " m";
    }
    return t;
}

std::string TextePasReels32(const TDecalage& d) {
    double loin = 0;
    for (const std::int64_t v : d)
        loin = std::max(loin, std::fabs(double(v)));
    const float f = static_cast<float>(loin);
    std::string pas = Formater("%.3g", double(std::nextafter(f, INFINITY) - f));
    std::replace(pas.begin(), pas.end(), '.', ',');
    return "coordonnées en réels 32 bits : pas de " + pas + " m à cette distance de l'origine";
}

TV3R CoordonneesDuLeve(const TV3S& p, const TDecalage& d) {
    TV3R r;
    for (int a = 0; a < 3; ++a)
        r[a] = d[std::size_t(a)] == 0 ? double(p[a]) : double(p[a]) + double(d[std::size_t(a)]);
    return r;
}

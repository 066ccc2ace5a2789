#include "scan/LectureTexte.h"

#include "scan/ConstructionGrille.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>

std::size_t ChampsSepares(std::string_view ligne, std::string_view* champs, std::size_t max) {
    auto blanc = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    std::size_t n = 0, d = 0;
    while (n < max) {
        while (d < ligne.size() && blanc(ligne[d]))
            ++d;
        if (d == ligne.size()) break;
        std::size_t f = d;
        while (f < ligne.size() && !blanc(ligne[f]))
            ++f;
        champs[n++] = ligne.substr(d, f - d);
        d = f;
    }
    return n;
}

bool LireReels(const std::string_view* champs, std::size_t nbChamps, double* v, std::size_t n) {
    if (nbChamps < n) return false;
    for (std::size_t k = 0; k < n; ++k)
        if (!LireReel(champs[k], v[k])) return false;
    return true;
}

bool LireComposante(std::string_view champ, std::uint8_t& composante) {
    std::int64_t entier = 0;
    double v = 0;
    if (LireEntier(champ, entier))
        v = double(std::clamp<std::int64_t>(entier, 0, 255));
    else if (!LireReel(champ, v))
        return false;
    composante = std::uint8_t(std::clamp(std::round(v), 0.0, 255.0));
    return true;
}

TLotPointsLus::TLotPointsLus(const TRecevoirPointsLus& recevoir) : recevoir_(recevoir) {
    lot_.reserve(RecordsParLot);
}

void TLotPointsLus::Vider() {
    if (!lot_.empty()) recevoir_(lot_.data(), lot_.size());
    lot_.clear();
}

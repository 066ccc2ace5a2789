#include "scan/GrilleDeplacee.h"

#include "scan/ConstructionGrille.h"
#include "util/Erreurs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool Garde(const TCube* c) {
    return !(c->etatSP & EtatSupprime) && c->nbptscube > 0;
}

TPointScan Deplace(const TCube* c, const TV3R& d) {
    const TV3S& p = c->CooMoyPts;
    return {static_cast<float>(double(p.X) + d.X), static_cast<float>(double(p.Y) + d.Y),
            static_cast<float>(double(p.Z) + d.Z), c->ColCube};
}

} // namespace

void ConstruireGrilleDeplacee(const TEtatScan& source, const TV3R& deplacement, TEtatScan& cible,
                              const TSortieProgression& sortie) {
    const int feuilles = source.NivMax;
    std::int64_t nbPoints = 0;
    TV3S mini{INFINITY, INFINITY, INFINITY}, maxi{-INFINITY, -INFINITY, -INFINITY};
    source.PourChaqueCubeDuNiveau(feuilles, [&](const TCube* c) {
        if (!Garde(c)) return;
        nbPoints += c->nbptscube;
        const TPointScan p = Deplace(c, deplacement);
        const float v[3] = {p.X, p.Y, p.Z};
        for (int a = 0; a < 3; ++a) {
            mini[a] = std::min(mini[a], v[a]);
            maxi[a] = std::max(maxi[a], v[a]);
        }
    });
    if (nbPoints == 0) throw EErreur("aucun point affiché : le relevé ne peut pas être recoupé");
    cible.Reinitialiser();
    cible.NivMax = source.NivMax;
    cible.NbPoints = static_cast<std::int32_t>(nbPoints);
    cible.CooMin = mini;
    cible.CooMax = maxi;
    cible.Decalage = source.Decalage;
    ConstruireGrille(
        cible, DimensionnerGrille(mini, maxi),
        [&](const TRecevoirLot& recevoir) {
            std::vector<TPointScan> lot;
            lot.reserve(RecordsParLot);
            source.PourChaqueCubeDuNiveau(feuilles, [&](const TCube* c) {
                if (!Garde(c)) return;
                const TPointScan p = Deplace(c, deplacement);
                for (std::int32_t k = 0; k < c->nbptscube; ++k) {
                    lot.push_back(p);
                    if (lot.size() == RecordsParLot) {
                        recevoir(lot.data(), lot.size());
                        lot.clear();
                    }
                }
            });
            if (!lot.empty()) recevoir(lot.data(), lot.size());
        },
        sortie);
    cible.ChoisirNivAffiche(std::min(source.NivAffiche, cible.NivMax), {});
}

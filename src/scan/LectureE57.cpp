#include "scan/LectureE57.h"

#include "scan/ConstructionGrille.h"
#include "scan/ConversionE57.h"
#include "scan/DescriptionE57.h"
#include "scan/LectureBinaire.h"
#include "scan/PagesE57.h"
#include "scan/VecteurCompresseE57.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

std::string TexteIgnores(std::int64_t n) {
    if (n == 0) return {};
    return std::to_string(n) + (n > 1 ? " points ignorés (marqués invalides dans le fichier ou "
                                        "de coordonnées non finies)"
                                      : " point ignoré (marqué invalide dans le fichier ou de "
                                        "coordonnées non finies)");
}

// Each scan's records are bounded by its section's length: sections that do not overlap bound
// their sum by the file's. Sections shared between scans would multiply the points a small file
// gives; they are refused.
void RefuserSectionsPartagees(const std::vector<std::unique_ptr<TVecteurCompresseE57>>& vecteurs) {
    std::vector<std::size_t> ordre(vecteurs.size());
    std::iota(ordre.begin(), ordre.end(), std::size_t(0));
    std::stable_sort(ordre.begin(), ordre.end(), [&](std::size_t a, std::size_t b) {
        return vecteurs[a]->DebutSection() < vecteurs[b]->DebutSection();
    });
    for (std::size_t k = 1; k < ordre.size(); ++k) {
        const std::size_t avant = ordre[k - 1], apres = ordre[k];
        if (vecteurs[apres]->DebutSection() < vecteurs[avant]->FinSection())
            throw EDefautE57("les relevés n° " + std::to_string(std::min(avant, apres) + 1) +
                             " et n° " + std::to_string(std::max(avant, apres) + 1) +
                             " partagent des octets de leurs vecteurs de points");
    }
}

TBilanLecture Lire(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                   const TSortieProgression& sortie) {
    TPagesE57 pages(chemin);
    const std::vector<TScanE57> scans = LireDescriptionE57(pages.LireXml());
    // Every scan's header is checked before the first point is given.
    std::vector<TConversionE57> conversions;
    std::vector<std::unique_ptr<TVecteurCompresseE57>> vecteurs;
    std::uint64_t total = 0;
    for (const TScanE57& s : scans) {
        conversions.emplace_back(s);
        vecteurs.push_back(
            std::make_unique<TVecteurCompresseE57>(pages, s, conversions.back().ChampsUtiles()));
        total += s.NbRecords;
    }
    RefuserSectionsPartagees(vecteurs);
    TProgression progression = TProgression::Fraction(sortie, "lecture : ", std::int64_t(total));
    std::vector<TPointLu> lot(RecordsParLot);
    TBilanLecture bilan;
    std::int64_t lus = 0;
    for (std::size_t k = 0; k < scans.size(); ++k)
        while (const std::size_t n = vecteurs[k]->Suivants(RecordsParLot)) {
            const std::size_t gardes =
                conversions[k].Convertir(*vecteurs[k], n, lot.data(), bilan.Ignores);
            if (gardes > 0) recevoir(lot.data(), gardes);
            progression.Franchir(lus, lus + std::int64_t(n));
            lus += std::int64_t(n);
        }
    bilan.Texte = TexteIgnores(bilan.Ignores);
    for (const TConversionE57& c : conversions)
        bilan.Reels32Bits = bilan.Reels32Bits || c.CoordonneesReels32();
    return bilan;
}

} // namespace

TBilanLecture LireE57(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    try {
        return Lire(chemin, recevoir, sortie);
    } catch (const EDefautE57& e) {
        RefuserFichier(chemin, e.what());
    }
}

#include "scan/RecadrageScan.h"

#include "scan/ConstructionGrille.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <vector>

namespace {

bool APoint(const TCube& c) {
    return !(c.etatSP & EtatSupprime);
}

} // namespace

TRecadrage RecadrerScan(TEtatScan& scan, const TTransformationPoint& tourner,
                        const std::string& prefixeProvisoire, const TSortieProgression& sortie) {
    const int niveau = scan.NivMax;
    std::int64_t n = 0;
    scan.PourChaqueCubeDuNiveau(niveau, [&n](const TCube* c) { n += APoint(*c); });
    if (n == 0) return {};

    // First pass: the turned points kept on disk, their box measured.
    TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
    TV3S maxi{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    TFichierProvisoire tournes(prefixeProvisoire);
    {
        TProgression progression = TProgression::Fraction(sortie, "rotation ", n, 20);
        std::vector<TPointScan> lot;
        lot.reserve(RecordsParLot);
        std::int64_t j = 0;
        scan.PourChaqueCubeDuNiveau(niveau, [&](const TCube* c) {
            if (!APoint(*c)) return;
            const TV3S q = tourner(c->CooMoyPts);
            for (int a = 0; a < 3; ++a) {
                mini[a] = std::min(mini[a], q[a]);
                maxi[a] = std::max(maxi[a], q[a]);
            }
            lot.push_back({q.X, q.Y, q.Z, c->ColCube});
            if (lot.size() == RecordsParLot) {
                tournes.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
                lot.clear();
            }
            progression.Avancer(++j);
        });
        tournes.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
        tournes.FermerEcriture();
    }

    // Second pass: a new grid of the moved points, as a load builds it.
    TEtatScan neuf;
    neuf.NivMax = niveau;
    neuf.NbPoints = static_cast<std::int32_t>(n);
    neuf.CooMin = {0, 0, 0};
    neuf.CooMax = SubV3S(maxi, mini);
    const std::int64_t horsGrille = ConstruireGrille(
        neuf, DimensionnerGrille(neuf.CooMin, neuf.CooMax),
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture lecture = tournes.Relire();
            std::vector<TPointScan> deplaces;
            LireParLots(lecture, n, [&](const TPointScan* relu, std::size_t k) {
                deplaces.assign(relu, relu + k);
                for (TPointScan& p : deplaces) {
                    const TV3S q = SubV3S({p.X, p.Y, p.Z}, mini);
                    p.X = q.X, p.Y = q.Y, p.Z = q.Z;
                }
                recevoir(deplaces.data(), k);
            });
        },
        sortie);
    neuf.NbPoints -= static_cast<std::int32_t>(horsGrille);
    neuf.ChoisirNivAffiche(std::clamp(scan.NivAffiche, 0, niveau));
    neuf.ScanModifie = scan.ScanModifie;
    neuf.ModifieSansRetour = scan.ModifieSansRetour;
    scan.Echanger(neuf);
    return {scan.NbPoints, mini};
}

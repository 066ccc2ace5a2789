#include "scan/ImportPoints.h"

#include "scan/ConstructionGrille.h"
#include "scan/FormatXYZ.h"
#include "scan/GroupesEloignes.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The import's temporary file: beside the scan, or in the system's temporary folder when the
// scan's folder refuses it. A name of its own, created exclusively: a file of the user's (a
// "scan.xyz.tmp") or of another import of the same scan is never opened, truncated or removed.
TFichierProvisoire CreerFichierImport(const std::string& cheminReleve) {
    const std::string designation = "la copie de travail de « " + cheminReleve + " »";
    try {
        return TFichierProvisoire(cheminReleve + ".tmp-", {}, designation);
    } catch (const EErreur&) {
        std::error_code ec;
        return TFichierProvisoire(TexteChemin(fs::temp_directory_path(ec) / "arkalune-import-"), {},
                                  designation);
    }
}

// A point as it waits in the working copy: as read, before the shift.
struct TRecordImport {
    double Coo[3];
    TV4By Couleur;
    std::array<std::uint8_t, 3> CouleurPoidsFaible;
    std::uint8_t Zero = 0; // the record's padding, written as zeros
};
static_assert(sizeof(TRecordImport) == 32);

// The points as they are written: the box grown and the shift's counts kept at 64 bits.
class TEcritureRecords {
public:
    explicit TEcritureRecords(TFichierProvisoire& fichier) : fichier_(fichier) {
        lot_.reserve(RecordsParLot);
    }

    TV3R Mini{INFINITY, INFINITY, INFINITY}, Maxi{-INFINITY, -INFINITY, -INFINITY};
    std::array<TDecalageAxe, 3> Decalages;
    TCouleursSeizeBits Couleurs;
    std::int32_t NbPoints = 0;
    // Points of a binary file whose coordinates are no numbers (NaN, infinite): no place holds
    // them.
    std::int64_t NonFinis = 0;

    void Ajouter(const TPointLu* points, std::size_t n) {
        for (std::size_t q = 0; q < n; ++q) {
            if (NbPoints == INT32_MAX)
                throw EErreur("trop de points dans le fichier (plus de 2 147 483 647)");
            const TV3R& coo = points[q].Coo;
            if (!std::isfinite(coo.X) || !std::isfinite(coo.Y) || !std::isfinite(coo.Z)) {
                ++NonFinis;
                continue;
            }
            TRecordImport r{{coo.X, coo.Y, coo.Z}, points[q].Couleur, points[q].CouleurPoidsFaible};
            Couleurs.Ajouter(points[q]);
            for (int a = 0; a < 3; ++a) {
                Mini[a] = std::min(Mini[a], coo[a]);
                Maxi[a] = std::max(Maxi[a], coo[a]);
                Decalages[std::size_t(a)].Ajouter(coo[a]);
            }
            ++NbPoints;
            lot_.push_back(r);
            if (lot_.size() == RecordsParLot) Vider();
        }
    }
    void Vider() {
        fichier_.Ecriture().Ecrire(lot_.data(), lot_.size() * sizeof(TRecordImport));
        lot_.clear();
    }
    TDecalage Decalage() const {
        return {Decalages[0].Decalage(), Decalages[1].Decalage(), Decalages[2].Decalage()};
    }

private:
    TFichierProvisoire& fichier_;
    std::vector<TRecordImport> lot_;
};

TV3S Decale(const TV3R& p, const TDecalage& d) {
    return {VersFloat(p.X - double(d[0])), VersFloat(p.Y - double(d[1])),
            VersFloat(p.Z - double(d[2]))};
}

// Gives `traiter(record)` every record of the working copy, read in batches.
template <class F> void ParcourirRecords(TFichierLecture& fichier, std::int64_t nb, F&& traiter) {
    std::vector<TRecordImport> lus(std::size_t(std::min<std::int64_t>(nb, RecordsParLot)));
    for (std::int64_t faits = 0; faits < nb;) {
        const std::size_t n = std::size_t(std::min<std::int64_t>(nb - faits, RecordsParLot));
        fichier.LireExact(lus.data(), n * sizeof(TRecordImport));
        for (std::size_t k = 0; k < n; ++k)
            traiter(lus[k], k, n);
        faits += std::int64_t(n);
    }
}

TV3R Coordonnees(const TRecordImport& r) {
    return {r.Coo[0], r.Coo[1], r.Coo[2]};
}

// The records of the working copy, shifted and rounded to 32 bits, in batches.
void RelireDecales(TFichierLecture& fichier, std::int64_t nb, const TDecalage& decalage,
                   const TCouleursSeizeBits& couleurs, const TRecevoirLot& recevoir) {
    std::vector<TPointScan> lot(std::size_t(std::min<std::int64_t>(nb, RecordsParLot)));
    ParcourirRecords(fichier, nb, [&](const TRecordImport& r, std::size_t k, std::size_t n) {
        const TV3S p = Decale(Coordonnees(r), decalage);
        lot[k] = {p.X, p.Y, p.Z, couleurs.Couleur(r.Couleur, r.CouleurPoidsFaible)};
        if (k + 1 == n) recevoir(lot.data(), n);
    });
}

// Refuses a survey made of groups far apart, once its points are all read.
void RefuserGroupesEloignes(TFichierProvisoire& import, const TEcritureRecords& records,
                            const TSortieProgression& sortie) {
    TGroupesEloignes groupes(records.Decalages, records.NbPoints);
    if (!groupes.APreciser()) return;
    TProgression attente = TProgression::Patience(sortie, "groupes de points");
    TFichierLecture relecture = import.Relire();
    ParcourirRecords(relecture, records.NbPoints,
                     [&](const TRecordImport& r, std::size_t k, std::size_t n) {
                         groupes.Compter(Coordonnees(r));
                         if (k + 1 == n) attente.Entretenir();
                     });
    groupes.RefuserSiPlusieurs();
}

} // namespace

TBilanLecture ImporterPoints(TEtatScan& scan, const std::string& chemin, TLecteurPoints lecteur,
                             const TSortieProgression& sortie,
                             const std::optional<TZonePlan>& zone) {
    TFichierProvisoire import = CreerFichierImport(chemin);
    TEcritureRecords records(import);
    std::vector<TPointLu> dansLaZone;
    TBilanLecture bilan = lecteur(
        chemin,
        [&](const TPointLu* lot, std::size_t n) {
            if (!zone) return records.Ajouter(lot, n);
            dansLaZone.clear();
            std::copy_if(lot, lot + n, std::back_inserter(dansLaZone),
                         [&zone](const TPointLu& p) { return zone->Contient(p.Coo); });
            records.Ajouter(dansLaZone.data(), dansLaZone.size());
        },
        sortie);
    records.Vider();
    import.FermerEcriture();
    if (records.NbPoints == 0)
        throw EErreur(zone ? Formater("aucun point du fichier « %s » dans la zone de X %.3f à %.3f "
                                      "et de Y %.3f à %.3f",
                                      chemin.c_str(), zone->X1, zone->X2, zone->Y1, zone->Y2)
                           : "aucun point dans le fichier « " + chemin + " »");
    const TDecalage decalage = records.Decalage();
    // Rounding is monotonic: the box of the rounded points is the rounded box.
    const TV3S mini = Decale(records.Mini, decalage);
    const TV3S maxi = Decale(records.Maxi, decalage);
    const TDimensionsGrille grille = DimensionnerGrille(mini, maxi);
    RefuserGroupesEloignes(import, records, sortie);
    scan.NbPoints = records.NbPoints;
    scan.CooMin = mini;
    scan.CooMax = maxi;
    scan.Decalage = decalage;
    ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture relecture = import.Relire();
            RelireDecales(relecture, records.NbPoints, decalage, records.Couleurs, recevoir);
        },
        sortie);
    if (records.NonFinis > 0) {
        bilan.Ignores += records.NonFinis;
        const std::string texte =
            std::to_string(records.NonFinis) +
            (records.NonFinis > 1 ? " points aux coordonnées non numériques ignorés"
                                  : " point aux coordonnées non numériques ignoré");
        bilan.Texte = bilan.Texte.empty() ? texte : bilan.Texte + " ; " + texte;
    }
    return bilan;
}

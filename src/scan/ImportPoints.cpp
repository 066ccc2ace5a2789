#include "scan/ImportPoints.h"

#include "scan/ConstructionGrille.h"
#include "scan/FormatXYZ.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
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

void Elargir(TV3S& mini, TV3S& maxi, const TPointScan& p) {
    const float v[3] = {p.X, p.Y, p.Z};
    for (int a = 0; a < 3; ++a) {
        if (v[a] < mini[a]) mini[a] = v[a];
        if (v[a] > maxi[a]) maxi[a] = v[a];
    }
}

// The records as they are written: the points shifted, rounded to 32 bits, the box grown.
class TEcritureRecords {
public:
    TEcritureRecords(TFichierProvisoire& fichier, const TV3S& mini, const TV3S& maxi)
        : Mini(mini), Maxi(maxi), fichier_(fichier) {
        lot_.reserve(RecordsParLot);
    }

    TDecalage Decalage{};
    TV3S Mini, Maxi;
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
            TPointScan pt;
            pt.X = VersFloat(coo.X - double(Decalage[0]));
            pt.Y = VersFloat(coo.Y - double(Decalage[1]));
            pt.Z = VersFloat(coo.Z - double(Decalage[2]));
            pt.Couleur = points[q].Couleur;
            ++NbPoints;
            Elargir(Mini, Maxi, pt);
            lot_.push_back(pt);
            if (lot_.size() == RecordsParLot) Vider();
        }
    }
    void Vider() {
        fichier_.Ecriture().Ecrire(lot_.data(), lot_.size() * sizeof(TPointScan));
        lot_.clear();
    }

private:
    TFichierProvisoire& fichier_;
    std::vector<TPointScan> lot_;
};

} // namespace

TDecalage DecalageDuReleve(const TPointLu* echantillon, std::size_t n) {
    TDecalage decalage{};
    std::vector<double> valeurs;
    valeurs.reserve(n);
    for (std::size_t a = 0; a < 3; ++a) {
        valeurs.clear();
        for (std::size_t q = 0; q < n; ++q)
            if (std::isfinite(echantillon[q].Coo[int(a)]))
                valeurs.push_back(echantillon[q].Coo[int(a)]);
        if (valeurs.empty()) continue;
        const auto milieu = valeurs.begin() + std::ptrdiff_t(valeurs.size() / 2);
        std::nth_element(valeurs.begin(), milieu, valeurs.end());
        if (std::fabs(*milieu) >= SeuilDecalage) decalage[a] = DecalageAxe(*milieu);
    }
    return decalage;
}

TBilanLecture ImporterPoints(TEtatScan& scan, const std::string& chemin, TLecteurPoints lecteur,
                             const TSortieProgression& sortie) {
    TFichierProvisoire import = CreerFichierImport(chemin);
    TEcritureRecords records(import, scan.CooMin, scan.CooMax);
    // The first points wait until the shift is decided from them.
    std::vector<TPointLu> echantillon;
    bool decide = false;
    auto decider = [&] {
        records.Decalage = DecalageDuReleve(echantillon.data(), echantillon.size());
        decide = true;
        records.Ajouter(echantillon.data(), echantillon.size());
        echantillon = {};
    };
    TBilanLecture bilan = lecteur(
        chemin,
        [&](const TPointLu* lot, std::size_t n) {
            if (decide) {
                records.Ajouter(lot, n);
                return;
            }
            echantillon.insert(echantillon.end(), lot, lot + n);
            if (echantillon.size() >= TailleEchantillonDecalage) decider();
        },
        sortie);
    if (!decide) decider();
    records.Vider();
    import.FermerEcriture();
    if (records.NbPoints == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    const TDimensionsGrille grille = DimensionnerGrille(records.Mini, records.Maxi);
    scan.NbPoints = records.NbPoints;
    scan.CooMin = records.Mini;
    scan.CooMax = records.Maxi;
    scan.Decalage = records.Decalage;
    ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture relecture = import.Relire();
            LireParLots(relecture, records.NbPoints, recevoir);
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

// The XYZ import: the text is turned into point records in a temporary file while the bounding
// box grows, so that the grid can be sized before any point is placed.

#include "scan/ImportXYZ.h"

#include "scan/ConstructionGrille.h"
#include "scan/DecoupageLignes.h"
#include "scan/FormatXYZ.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Progression.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The import's temporary file: beside the scan, or in the system's temporary folder when the
// scan's folder refuses it. A name of its own, created exclusively: a file of the user's (a
// "scan.xyz.tmp") or of another import of the same scan is never opened, truncated or removed.
TFichierProvisoire CreerFichierImport(const std::string& cheminXYZ) {
    try {
        return TFichierProvisoire(cheminXYZ + ".tmp-");
    } catch (const EErreur&) {
        std::error_code ec;
        return TFichierProvisoire((fs::temp_directory_path(ec) / "arkalune-import-").string());
    }
}

void Elargir(TV3S& mini, TV3S& maxi, const TPointScan& p) {
    const float v[3] = {p.X, p.Y, p.Z};
    for (int a = 0; a < 3; ++a) {
        if (v[a] < mini[a]) mini[a] = v[a];
        if (v[a] > maxi[a]) maxi[a] = v[a];
    }
}

} // namespace

std::int64_t ImporterXYZ(TEtatScan& scan, const std::string& chemin,
                         const TSortieProgression& sortie) {
    std::int64_t ignores = 0;
    TFichierLecture texte(chemin);
    TProgression progression =
        TProgression::ParPas(sortie, "lecture : ", std::int64_t(texte.Taille() / 3900));
    TFichierProvisoire import = CreerFichierImport(chemin);
    // Small enough to stay in cache between the read and the parsing.
    std::vector<char> tampon(std::size_t(std::clamp<std::uint64_t>(texte.Taille(), 1, 256 << 10)));
    TDecoupageLignes decoupage;
    std::vector<TPointScan> lot;
    lot.reserve(RecordsParLot);
    std::int64_t lignes = 0;
    std::int32_t nbPoints = 0;
    TV3S mini = scan.CooMin, maxi = scan.CooMax;
    auto traiterLigne = [&](std::string_view ligne, bool tropLongue) {
        progression.Avancer(++lignes);
        TPointScan pt;
        if (tropLongue || !LireLigneXYZ(ligne, pt)) {
            ++ignores;
            return;
        }
        if (nbPoints == INT32_MAX)
            throw EErreur("trop de points dans le fichier (plus de 2 147 483 647)");
        ++nbPoints;
        Elargir(mini, maxi, pt);
        lot.push_back(pt);
        if (lot.size() == RecordsParLot) {
            import.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
            lot.clear();
        }
    };
    for (;;) {
        const std::size_t n = texte.Lire(tampon.data(), tampon.size());
        if (n == 0) break;
        decoupage.Ajouter(std::string_view(tampon.data(), n), traiterLigne);
    }
    decoupage.Terminer(traiterLigne);
    import.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
    import.FermerEcriture();
    if (nbPoints == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    const TDimensionsGrille grille = DimensionnerGrille(mini, maxi);
    scan.NbPoints = nbPoints;
    scan.CooMin = mini;
    scan.CooMax = maxi;
    TFichierLecture relecture(import.Chemin());
    ConstruireGrille(
        scan, grille,
        [&](TPointScan* dest, std::size_t n) {
            return relecture.Lire(dest, n * sizeof(TPointScan)) / sizeof(TPointScan);
        },
        sortie);
    return ignores;
}

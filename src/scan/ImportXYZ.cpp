// The XYZ import: the text is turned into point records in a temporary file while the bounding
// box grows, so that the grid can be sized before any point is placed.

#include "scan/ImportXYZ.h"

#include "scan/ConstructionGrille.h"
#include "scan/FormatXYZ.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Progression.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The import's temporary file: beside the scan, or in the system's temporary folder when the
// scan's folder is not writable. Removed whatever happens.
class TFichierImport {
public:
    explicit TFichierImport(const std::string& cheminXYZ) {
        chemin_ = cheminXYZ + ".tmp";
        try {
            ecriture_.emplace(chemin_);
        } catch (const EErreur&) {
            std::error_code ec;
            fs::path autre = fs::temp_directory_path(ec) / fs::path(cheminXYZ).filename();
            chemin_ = autre.string() + "." + std::to_string(::getpid()) + ".tmp";
            ecriture_.emplace(chemin_);
        }
    }
    ~TFichierImport() {
        ecriture_.reset();
        std::error_code ec;
        fs::remove(chemin_, ec);
    }
    TFichierEcriture& Ecriture() { return *ecriture_; }
    const std::string& Chemin() const { return chemin_; }
    void FermerEcriture() {
        ecriture_->Fermer();
        ecriture_.reset();
    }

private:
    std::string chemin_;
    std::optional<TFichierEcriture> ecriture_;
};

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
    TFichierImport import(chemin);
    // Small enough to stay in cache between the read and the parsing.
    std::vector<char> tampon(std::size_t(std::clamp<std::uint64_t>(texte.Taille(), 1, 256 << 10)));
    std::string reste;
    std::vector<TPointScan> lot;
    lot.reserve(RecordsParLot);
    std::int64_t lignes = 0;
    std::int32_t nbPoints = 0;
    TV3S mini = scan.CooMin, maxi = scan.CooMax;
    auto traiterLigne = [&](std::string_view ligne) {
        progression.Avancer(++lignes);
        TPointScan pt;
        if (!LireLigneXYZ(ligne, pt)) {
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
        std::string_view bloc(tampon.data(), n);
        std::size_t debut = 0;
        for (;;) {
            const std::size_t fin = bloc.find('\n', debut);
            if (fin == std::string_view::npos) break;
            if (!reste.empty()) {
                reste.append(bloc.substr(debut, fin - debut));
                traiterLigne(reste);
                reste.clear();
            } else {
                traiterLigne(bloc.substr(debut, fin - debut));
            }
            debut = fin + 1;
        }
        reste.append(bloc.substr(debut));
    }
    if (!reste.empty()) traiterLigne(reste);
    import.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
    import.FermerEcriture();
    if (nbPoints == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    const TDimensionsGrille grille = DimensionnerGrille(mini, maxi);
    scan.NbPoints = nbPoints;
    scan.CooMin = mini;
    scan.CooMax = maxi;
    ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture relecture(import.Chemin());
            LireParLots(relecture, nbPoints, recevoir);
        },
        sortie);
    return ignores;
}

// The XYZ import: the text is turned into point records in a temporary file while the bounding
// box grows, so that the grid can be sized before any point is placed.

#include "scan/ImportXYZ.h"

#include "scan/ConstructionGrille.h"
#include "scan/Decalage.h"
#include "scan/DecoupageLignes.h"
#include "scan/FormatXYZ.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Progression.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// The shift of a survey in a national grid, decided axis by axis at the first coordinate that
// reaches the bound.
//
// An axis may first need it after points were read: a local frame that crosses the bound, or a
// file that mixes frames. The shift then holds for the whole file all the same, so that every
// point stays in one frame: the records already written keep the 32-bit value they were read
// with (within 1 mm of the text, being below the bound) and are shifted as they are read back,
// and so is the box grown so far. One shift is taken per axis: a later point far from it keeps
// the 32-bit step of its distance to it.
class TDecalageImport {
public:
    TDecalage Decalage{};

    // The point's coordinates, shifted, as 32-bit reals; `lus`: the records written before it.
    void Convertir(const TV3R& coo, std::int64_t lus, TV3S& mini, TV3S& maxi, TPointScan& pt) {
        for (std::size_t a = 0; a < 3; ++a) {
            if (Decalage[a] == 0 && std::fabs(coo[int(a)]) >= SeuilDecalage) {
                Decalage[a] = DecalageAxe(coo[int(a)]);
                avant_[a] = lus;
                if (lus > 0) {
                    mini[int(a)] = Decaler(mini[int(a)], a);
                    maxi[int(a)] = Decaler(maxi[int(a)], a);
                }
            }
        }
        pt.X = VersFloat(coo.X - double(Decalage[0]));
        pt.Y = VersFloat(coo.Y - double(Decalage[1]));
        pt.Z = VersFloat(coo.Z - double(Decalage[2]));
    }

    // A record read back, `indice` its place in the file: shifted now if it came before its
    // axis's shift.
    void Rattraper(TPointScan& pt, std::int64_t indice) const {
        if (indice < avant_[0]) pt.X = Decaler(pt.X, 0);
        if (indice < avant_[1]) pt.Y = Decaler(pt.Y, 1);
        if (indice < avant_[2]) pt.Z = Decaler(pt.Z, 2);
    }
    bool ARattraper() const { return avant_[0] > 0 || avant_[1] > 0 || avant_[2] > 0; }

private:
    std::array<std::int64_t, 3> avant_{};
    float Decaler(float v, std::size_t a) const {
        return VersFloat(double(v) - double(Decalage[a]));
    }
};

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
    TDecalageImport decalage;
    auto traiterLigne = [&](std::string_view ligne, bool tropLongue) {
        progression.Avancer(++lignes);
        TV3R coo;
        TPointScan pt;
        if (tropLongue || !LireLigneXYZ(ligne, coo, pt.Couleur)) {
            ++ignores;
            return;
        }
        if (nbPoints == INT32_MAX)
            throw EErreur("trop de points dans le fichier (plus de 2 147 483 647)");
        decalage.Convertir(coo, nbPoints, mini, maxi, pt);
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
    scan.Decalage = decalage.Decalage;
    ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture relecture(import.Chemin());
            if (!decalage.ARattraper()) {
                LireParLots(relecture, nbPoints, recevoir);
                return;
            }
            // Points read before their axis needed a shift take it as they are read back.
            std::int64_t relus = 0;
            std::vector<TPointScan> rattrapes;
            LireParLots(relecture, nbPoints, [&](const TPointScan* relu, std::size_t n) {
                rattrapes.assign(relu, relu + n);
                for (std::size_t q = 0; q < n; ++q)
                    decalage.Rattraper(rattrapes[q], relus + std::int64_t(q));
                relus += std::int64_t(n);
                recevoir(rattrapes.data(), n);
            });
        },
        sortie);
    return ignores;
}

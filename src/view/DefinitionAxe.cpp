// "Définir axe X": two points picked in the view fix a new horizontal X axis, and the scan's point
// source file is rewritten in that frame, its lower corner at (0, 0, 0).

#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Progression.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr const char* AxeIndefini =
    "les deux points ont les mêmes X et Y : ils ne donnent pas de direction, choisir un autre "
    "2è point (échap pour annuler)";

// One record of the point source file: coordinates, then 8 bytes carried over as they are.
struct TPointSource {
    float X, Y, Z;
    unsigned char Reste[8];
};
static_assert(sizeof(TPointSource) == 20);

constexpr std::size_t PointsParLot = 65536;

// The rotation about Z that brings the horizontal direction from O to P onto +X, in 32-bit
// floats; none when O and P have the same X and Y.
struct TRotationAxe {
    float c, s;

    TV3S Appliquer(const TPointSource& p) const {
        const float M[3][3] = {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
        const float v[3] = {p.X, p.Y, p.Z};
        TV3S q;
        for (int l = 0; l < 3; ++l) {
            float somme = 0;
            for (int k = 0; k < 3; ++k)
                somme = Arrondi32(double(somme) + double(M[l][k]) * v[k]);
            q[l] = somme;
        }
        return q;
    }
};

std::optional<TRotationAxe> RotationAxe(const TV3S& O, const TV3S& P) {
    const float dx = Arrondi32(double(P.X) - O.X);
    const float dy = Arrondi32(double(P.Y) - O.Y);
    const float L = Arrondi32(std::sqrt(
        double(Arrondi32(double(Arrondi32(double(dx) * dx)) + Arrondi32(double(dy) * dy)))));
    if (!(L > 0 && std::isfinite(L))) return std::nullopt;
    return TRotationAxe{Arrondi32(double(dx) / L), Arrondi32(double(dy) / L)};
}

// Copies the n records of `source` to `cible`, each through `transformer`, with a progress text
// every twentieth of the file.
template <class FTransformer>
void CopierPoints(TFichierLecture& source, TFichierTemporaire& cible, std::uint64_t n,
                  const std::string& etape, const TSortieProgression& sortie,
                  FTransformer&& transformer) {
    TProgression progression = TProgression::ParPas(sortie, etape, std::int64_t(n / 20), 5);
    std::vector<TPointSource> lot(std::min<std::uint64_t>(n, PointsParLot));
    std::uint64_t j = 0;
    while (j < n) {
        const std::size_t taille = std::size_t(std::min<std::uint64_t>(n - j, PointsParLot));
        source.LireExact(lot.data(), taille * sizeof(TPointSource));
        for (std::size_t q = 0; q < taille; ++q) {
            progression.Avancer(std::int64_t(++j));
            transformer(lot[q]);
        }
        cible.Ecrire(lot.data(), taille * sizeof(TPointSource));
    }
    cible.Valider();
}

} // namespace

void TEspaceTravail::GelerMenus() {
    svgetatmenu = Plateforme.EtatMenus();
    Plateforme.FixerEtatMenus(std::string(svgetatmenu.size(), 'F'));
}

void TEspaceTravail::RestaurerMenus() {
    if (svgetatmenu.empty()) return;
    Plateforme.FixerEtatMenus(svgetatmenu);
    AffiInfo(1, "");
    svgetatmenu.clear();
}

void TEspaceTravail::MiDefinirAxeXClick() {
    AffiInfo(1, "Saisir le point origine (échap pour annuler)");
    ModeDefinirAxeX = 1;
    GelerMenus();
}

void TEspaceTravail::PrendrePointAxe(const TV3S& q) {
    if (ModeDefinirAxeX == 1) {
        NvCooOrig = q;
        ModeDefinirAxeX = 2;
        AffiInfo(1, "sélectionner le 2è point (échap pour annuler)");
        return;
    }
    if (ModeDefinirAxeX != 2) return;
    if (!RotationAxe(NvCooOrig, q)) {
        Plateforme.AfficherMessage(AxeIndefini);
        return;
    }
    NvCooX = q;
    Vue.PointsPerimes = true;
    ModeDefinirAxeX = 0;
    // The menus come back before the recalculation rather than after it: while they are frozen,
    // an Esc restores them and asks "Annuler?" at once, from the key handler, where Oui cannot
    // stop the recalculation. Given back, an Esc cancels it at its next progress text.
    RestaurerMenus();
    AffiInfo(1, "recalcul ...");
    RecalculerRepere(NvCooOrig, NvCooX);
    Plateforme.AfficherStatut(1, "");
}

void TEspaceTravail::RecalculerRepere(const TV3S& origine, const TV3S& pointX) {
    const std::optional<TRotationAxe> rotation = RotationAxe(origine, pointX);
    if (!rotation) throw EErreur(AxeIndefini);
    CurseurAttente();
    ScanPret = false;

    const std::string cheminSource = PFsansext + ".ANSCSRC";
    const std::string cheminTemporaire = PFsansext + ".TMP";
    const TSortieProgression afficher = [this](const std::string& texte) { AffiInfo(1, texte); };
    std::uint64_t n = 0;
    std::string echec;
    try {
        TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
        TV3S maxi{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
        // Each pass writes a file that replaces its target only once complete: after a failure
        // the source file, and the rotated records of a completed first pass, are left whole.
        {
            TFichierLecture source(cheminSource);
            n = source.Taille() / sizeof(TPointSource);
            TFichierTemporaire tourne(cheminTemporaire);
            CopierPoints(source, tourne, n, "rotation ", afficher, [&](TPointSource& p) {
                const TV3S q = rotation->Appliquer(p);
                for (int a = 0; a < 3; ++a) {
                    mini[a] = std::min(mini[a], q[a]);
                    maxi[a] = std::max(maxi[a], q[a]);
                }
                p.X = q.X, p.Y = q.Y, p.Z = q.Z;
            });
        }
        {
            TFichierLecture tourne(cheminTemporaire);
            TFichierTemporaire translate(cheminSource);
            CopierPoints(tourne, translate, n, "translation ", afficher, [&](TPointSource& p) {
                const TV3S q = SubV3S({p.X, p.Y, p.Z}, mini);
                p.X = q.X, p.Y = q.Y, p.Z = q.Z;
            });
        }
        std::remove(cheminTemporaire.c_str());
        // An empty file has no extent: the box is left as it was.
        if (n > 0) {
            Scan.CooMin = {0, 0, 0};
            Scan.CooMax = SubV3S(maxi, mini);
        }
        OrienterVue(1);
    } catch (const std::exception& e) {
        echec = e.what();
    }
    FinCurseurAttente();
    Plateforme.AfficherMessage(echec.empty() ? std::to_string(n) + " points traités" : echec);
}

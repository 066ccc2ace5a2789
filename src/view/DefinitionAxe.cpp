#include "view/DefinitionAxe.h"

#include "util/Fichiers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// One record of the point source file: coordinates, then 8 bytes carried over as they are.
struct TPointSource {
    float X, Y, Z;
    unsigned char Reste[8];
};
static_assert(sizeof(TPointSource) == 20);

constexpr std::size_t PointsParLot = 65536;

// Copies the n records of `source` to `cible` (a file being written), each through
// `transformer`, with a progress text every twentieth of the file.
template <class TCible, class FTransformer>
void CopierPoints(TFichierLecture& source, TCible& cible, std::uint64_t n, const std::string& etape,
                  const TSortieProgression& sortie, FTransformer&& transformer) {
    TProgression progression = TProgression::Fraction(sortie, etape, std::int64_t(n), 20);
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
}

} // namespace

TV3S TRotationAxe::Appliquer(const TV3S& p) const {
    const float M[3][3] = {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
    TV3S q;
    for (int l = 0; l < 3; ++l) {
        float somme = 0;
        for (int k = 0; k < 3; ++k)
            somme = Arrondi32(double(somme) + double(M[l][k]) * p[k]);
        q[l] = somme;
    }
    return q;
}

TV2R TRotationAxe::Plan(const TV2R& p, const TV3S& coin) const {
    return {double(c) * p.X + double(s) * p.Y - double(coin.X),
            -double(s) * p.X + double(c) * p.Y - double(coin.Y)};
}

std::optional<TRotationAxe> RotationAxe(const TV3S& O, const TV3S& P) {
    const float dx = Arrondi32(double(P.X) - O.X);
    const float dy = Arrondi32(double(P.Y) - O.Y);
    const float L = Arrondi32(std::sqrt(
        double(Arrondi32(double(Arrondi32(double(dx) * dx)) + Arrondi32(double(dy) * dy)))));
    if (!(L > 0 && std::isfinite(L))) return std::nullopt;
    return TRotationAxe{Arrondi32(double(dx) / L), Arrondi32(double(dy) / L)};
}

TEtapeAxe DesignerPointAxe(std::int32_t& mode, TV3S& origine, TV3S& pointX, const TV3S& q) {
    if (mode == 1) {
        origine = q;
        mode = 2;
        return TEtapeAxe::OrigineRetenue;
    }
    if (mode != 2) return TEtapeAxe::Aucune;
    if (!RotationAxe(origine, q)) return TEtapeAxe::AxeIndefini;
    pointX = q;
    mode = 0;
    return TEtapeAxe::AxeDefini;
}

TRepereRecalcule RecrireSourceDansRepere(const std::string& pfSansExt, const TRotationAxe& rotation,
                                         const TSortieProgression& afficher) {
    const std::string cheminSource = pfSansExt + ".ANSCSRC";
    TRepereRecalcule r;
    TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
    TV3S maxi{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    // The turned points wait in a working file that is removed whatever happens, a stop
    // signal included; the source is replaced only once they are all translated.
    TFichierProvisoire tourne(cheminSource + ".tmp", {},
                              "la copie de travail de « " + cheminSource + " »");
    {
        TFichierLecture source(cheminSource);
        r.NbPoints = source.Taille() / sizeof(TPointSource);
        CopierPoints(source, tourne.Ecriture(), r.NbPoints, "rotation ", afficher,
                     [&](TPointSource& p) {
                         const TV3S q = rotation.Appliquer({p.X, p.Y, p.Z});
                         for (int a = 0; a < 3; ++a) {
                             mini[a] = std::min(mini[a], q[a]);
                             maxi[a] = std::max(maxi[a], q[a]);
                         }
                         p.X = q.X, p.Y = q.Y, p.Z = q.Z;
                     });
        tourne.FermerEcriture();
    }
    {
        TFichierLecture lecture = tourne.Relire();
        TFichierTemporaire translate(cheminSource);
        CopierPoints(lecture, translate, r.NbPoints, "translation ", afficher,
                     [&](TPointSource& p) {
                         const TV3S q = SubV3S({p.X, p.Y, p.Z}, mini);
                         p.X = q.X, p.Y = q.Y, p.Z = q.Z;
                     });
        translate.Valider();
    }
    if (r.NbPoints > 0) r.Etendue = SubV3S(maxi, mini);
    return r;
}

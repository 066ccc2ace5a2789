#include "scan/ConversionE57.h"

#include "scan/Decalage.h"
#include "scan/PagesE57.h"

#include <algorithm>
#include <cmath>

namespace {

// The field named `nom` among the scan's, or -1.
int Chercher(const TScanE57& scan, const char* nom) {
    for (std::size_t k = 0; k < scan.Champs.size(); ++k)
        if (scan.Champs[k].Nom == nom) return int(k);
    return -1;
}

std::uint8_t VersOctet(double v) {
    if (!(v > 0)) return 0; // NaN too
    return v >= 255 ? 255 : std::uint8_t(std::lround(v));
}

} // namespace

TConversionE57::TConversionE57(const TScanE57& scan) : scan_(scan) {
    const char* const cartesiens[] = {"cartesianX", "cartesianY", "cartesianZ"};
    const char* const spheriques[] = {"sphericalRange", "sphericalAzimuth", "sphericalElevation"};
    int coo[3], sph[3];
    for (int a = 0; a < 3; ++a) {
        coo[a] = Chercher(scan, cartesiens[a]);
        sph[a] = Chercher(scan, spheriques[a]);
    }
    const bool cartesien = coo[0] >= 0 && coo[1] >= 0 && coo[2] >= 0;
    spherique_ = !cartesien && sph[0] >= 0 && sph[1] >= 0 && sph[2] >= 0;
    if (!cartesien && !spherique_)
        throw EDefautE57("un relevé n'a ni coordonnées cartésiennes (cartesianX, Y, Z) ni "
                         "sphériques (sphericalRange, Azimuth, Elevation) complètes");
    const int places[NbRoles] = {
        spherique_ ? sph[0] : coo[0],
        spherique_ ? sph[1] : coo[1],
        spherique_ ? sph[2] : coo[2],
        Chercher(scan, "colorRed"),
        Chercher(scan, "colorGreen"),
        Chercher(scan, "colorBlue"),
        Chercher(scan, spherique_ ? "sphericalInvalidState" : "cartesianInvalidState"),
        Chercher(scan, "isColorInvalid")};
    const bool couleur = places[Rouge] >= 0 && places[Vert] >= 0 && places[Bleu] >= 0;
    for (int r = 0; r < NbRoles; ++r) {
        role_[r] = -1;
        if (places[r] < 0 || (!couleur && (r == Rouge || r == Vert || r == Bleu))) continue;
        const TChampE57& c = scan.Champs[std::size_t(places[r])];
        if (c.Codage == TCodageE57::Texte)
            throw EDefautE57("le champ « " + c.Nom + " » est un texte, pas un nombre");
        role_[r] = int(utiles_.size());
        utiles_.push_back(std::size_t(places[r]));
    }
    for (int k = 0; k < 3 && couleur; ++k) {
        // Limits of the scan, else those written in the prototype, else 0..255.
        const TChampE57& c = scan.Champs[std::size_t(places[Rouge + k])];
        const TLimitesE57& l = scan.LimitesCouleur[std::size_t(k)];
        double mini = 0, maxi = 255;
        if (l.Connues)
            mini = l.Mini, maxi = l.Maxi;
        else if (c.BornesEcrites && std::isfinite(c.BorneMax - c.BorneMin) &&
                 c.BorneMax > c.BorneMin)
            mini = c.BorneMin, maxi = c.BorneMax;
        miniCouleur_[k] = mini;
        etendueCouleur_[k] = maxi - mini;
    }
    const auto [w, x, y, z] = scan.Rotation;
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                            {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                            {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
    std::copy(&r[0][0], &r[0][0] + 9, &rotation_[0][0]);
}

bool TConversionE57::CoordonneesReels32() const {
    if (spherique_) return false;
    for (int a = 0; a < 3; ++a)
        if (std::fabs(scan_.Translation[a]) >= SeuilDecalage) return false;
    for (int a = X; a <= Z; ++a)
        if (scan_.Champs[utiles_[std::size_t(role_[a])]].Codage == TCodageE57::Reel32) return true;
    return false;
}

std::size_t TConversionE57::Convertir(const TVecteurCompresseE57& valeurs, std::size_t n,
                                      TPointLu* points, std::int64_t& ignores) const {
    const double* a = valeurs.Colonne(std::size_t(role_[X]));
    const double* b = valeurs.Colonne(std::size_t(role_[Y]));
    const double* c = valeurs.Colonne(std::size_t(role_[Z]));
    const double* etat =
        role_[EtatInvalide] >= 0 ? valeurs.Colonne(std::size_t(role_[EtatInvalide])) : nullptr;
    const double* sansCouleur = role_[CouleurInvalide] >= 0
                                    ? valeurs.Colonne(std::size_t(role_[CouleurInvalide]))
                                    : nullptr;
    const double* couleurs[3] = {};
    if (role_[Rouge] >= 0)
        for (int k = 0; k < 3; ++k)
            couleurs[k] = valeurs.Colonne(std::size_t(role_[Rouge + k]));
    const double(&m)[3][3] = rotation_;
    const TV3R& t = scan_.Translation;
    std::size_t gardes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (etat && etat[i] != 0) {
            ++ignores;
            continue;
        }
        double p[3] = {a[i], b[i], c[i]};
        if (spherique_) {
            const double portee = a[i], azimut = b[i], elevation = c[i];
            p[0] = portee * std::cos(elevation) * std::cos(azimut);
            p[1] = portee * std::cos(elevation) * std::sin(azimut);
            p[2] = portee * std::sin(elevation);
        }
        TPointLu& q = points[gardes];
        q.Coo = {m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2] + t.X,
                 m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2] + t.Y,
                 m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2] + t.Z};
        if (!std::isfinite(q.Coo.X) || !std::isfinite(q.Coo.Y) || !std::isfinite(q.Coo.Z)) {
            ++ignores;
            continue;
        }
        q.Couleur = {};
        if (couleurs[0] && !(sansCouleur && sansCouleur[i] != 0))
            for (int k = 0; k < 3; ++k)
                q.Couleur[std::size_t(k)] =
                    VersOctet((couleurs[k][i] - miniCouleur_[k]) * 255 / etendueCouleur_[k]);
        ++gardes;
    }
    return gardes;
}

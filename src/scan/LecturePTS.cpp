#include "scan/LecturePTS.h"

#include "scan/LectureBinaire.h"
#include "scan/LectureTexte.h"
#include "scan/LectureXYZ.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <array>
#include <cmath>
#include <filesystem>

namespace {

constexpr std::size_t ChampsMax = 8;

// The point of a "x y z [intensity] [r g b]" line: `nb` fields in `champs`, 4 or 7 when the
// intensity is there. False when it is no point.
bool LirePointScanner(const std::string_view* champs, std::size_t nb, TPointLu& p) {
    double xyz[3];
    if (!LireReels(champs, nb, xyz, 3)) return false;
    p.Coo = {xyz[0], xyz[1], xyz[2]};
    const std::size_t couleur = nb >= 7 ? 4 : nb == 6 ? 3 : 0;
    if (couleur == 0) return true;
    for (std::size_t k = 0; k < 3; ++k)
        if (!LireComposante(champs[couleur + k], p.Couleur[k])) return false;
    return true;
}

std::uint64_t TailleFichier(const std::string& chemin) {
    std::error_code ec;
    return std::uint64_t(std::filesystem::file_size(CheminFs(chemin), ec));
}

} // namespace

TBilanLecture LirePTS(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    std::int64_t ignores = 0;
    TLotPointsLus lot(recevoir);
    // Every line of a block takes at least a byte.
    const std::uint64_t possibles = TailleFichier(chemin);
    // The block opened by the last count, its count and the lines of it still to come: a number
    // alone inside a block is a line that is no point, not a new count.
    std::uint64_t blocs = 0, annonces = 0, restants = 0;
    auto tronque = [&](const std::string& raison) {
        RefuserFichier(chemin, "fichier PTS tronqué : le bloc " + std::to_string(blocs) +
                                   " annonce " + std::to_string(annonces) + " points, " + raison);
    };
    LireLignes(chemin, sortie, [&](std::string_view ligne, bool tropLongue) {
        std::array<std::string_view, ChampsMax> champs;
        const std::size_t nb = ChampsSepares(ligne, champs.data(), ChampsMax);
        std::int64_t compte = 0;
        if (restants == 0 && nb == 1 && LireEntier(champs[0], compte) && compte >= 0) {
            ++blocs;
            annonces = restants = std::uint64_t(compte);
            if (annonces > possibles) tronque("plus que le fichier n'en peut tenir");
            return;
        }
        if (restants > 0) --restants;
        TPointLu p;
        if (tropLongue || !LirePointScanner(champs.data(), nb, p))
            ++ignores;
        else
            lot.Ajouter(p);
    });
    if (restants > 0) tronque("le fichier n'en a que " + std::to_string(annonces - restants));
    lot.Vider();
    return BilanLignesIgnorees(ignores);
}

namespace {

// A PTX file's lines as they come: the ten lines of a block's header, then its points.
class TBlocsPTX {
public:
    TBlocsPTX(const std::string& chemin, TLotPointsLus& lot, std::uint64_t taille)
        : chemin_(chemin), lot_(lot), taille_(taille) {}

    std::int64_t Ignores = 0;

    void Ligne(std::string_view ligne, bool tropLongue) {
        ++numero_;
        std::array<std::string_view, ChampsMax> champs;
        const std::size_t nb = tropLongue ? 0 : ChampsSepares(ligne, champs.data(), ChampsMax);
        if (restants_ > 0) {
            --restants_;
            Point(champs.data(), nb);
            return;
        }
        if (nb == 0 && enTete_ == 0) return; // blank lines between blocks
        EnTete(champs.data(), nb);
    }

    void Terminer() const {
        if (enTete_ != 0 || restants_ != 0)
            RefuserFichier(chemin_,
                           "fichier PTX tronqué (bloc " + std::to_string(blocs_) + " incomplet)");
    }

private:
    void EnTete(const std::string_view* champs, std::size_t nb) {
        const std::size_t attendus = enTete_ < 2 ? 1 : enTete_ < 6 ? 3 : 4;
        double v[4];
        if (nb != attendus || !LireReels(champs, nb, v, nb))
            RefuserFichier(chemin_,
                           "en-tête de bloc PTX invalide à la ligne " + std::to_string(numero_));
        if (enTete_ < 2) {
            if (!(v[0] >= 0 && v[0] <= 2147483647.0))
                RefuserFichier(chemin_, "dimension de bloc PTX invalide à la ligne " +
                                            std::to_string(numero_));
            dimensions_[enTete_] = std::uint64_t(v[0]);
        } else if (enTete_ >= 6) {
            for (std::size_t c = 0; c < 4; ++c)
                matrice_[enTete_ - 6][c] = v[c];
        }
        if (++enTete_ < 10) return;
        enTete_ = 0;
        ++blocs_;
        RefuserSiPasUnePose();
        // Every point takes a line of at least six bytes ("0 0 0" and its end).
        if (dimensions_[0] * dimensions_[1] > taille_ / 6)
            RefuserFichier(chemin_, "fichier PTX tronqué (bloc " + std::to_string(blocs_) + " de " +
                                        std::to_string(dimensions_[0]) + " x " +
                                        std::to_string(dimensions_[1]) +
                                        " points, plus que le fichier n'en peut tenir)");
        restants_ = dimensions_[0] * dimensions_[1];
    }

    // A scanner's pose turns and moves the points: the 3 x 3 part of the matrix, its rows the
    // images of the axes, must be a rotation (orthonormal rows, no mirror), to the digits a file
    // writes.
    void RefuserSiPasUnePose() const {
        constexpr double Tolerance = 1e-4;
        const auto produit = [&](std::size_t i, std::size_t j) {
            return matrice_[i][0] * matrice_[j][0] + matrice_[i][1] * matrice_[j][1] +
                   matrice_[i][2] * matrice_[j][2];
        };
        const auto& m = matrice_;
        const double determinant = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                                   m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                                   m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
        bool rotation = determinant > 0;
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j)
                rotation = rotation && std::fabs(produit(i, j) - (i == j)) <= Tolerance;
        if (!rotation)
            RefuserFichier(chemin_, "matrice du bloc PTX " + std::to_string(blocs_) + " (lignes " +
                                        std::to_string(numero_ - 3) + " à " +
                                        std::to_string(numero_) +
                                        ") : ce n'est pas la pose d'un scanner (une rotation "
                                        "et une translation)");
    }

    void Point(const std::string_view* champs, std::size_t nb) {
        TPointLu p;
        if (!LirePointScanner(champs, nb, p)) {
            ++Ignores;
            return;
        }
        if (p.Coo.X == 0 && p.Coo.Y == 0 && p.Coo.Z == 0) return;
        // Row vectors: the translation is the last row.
        TV3R t;
        for (int c = 0; c < 3; ++c)
            t[c] = p.Coo.X * matrice_[0][std::size_t(c)] + p.Coo.Y * matrice_[1][std::size_t(c)] +
                   p.Coo.Z * matrice_[2][std::size_t(c)] + matrice_[3][std::size_t(c)];
        p.Coo = t;
        lot_.Ajouter(p);
    }

    const std::string& chemin_;
    TLotPointsLus& lot_;
    std::uint64_t taille_;
    std::uint64_t numero_ = 0;
    std::size_t enTete_ = 0;
    std::uint64_t blocs_ = 0;
    std::array<std::uint64_t, 2> dimensions_{};
    std::array<std::array<double, 4>, 4> matrice_{};
    std::uint64_t restants_ = 0;
};

} // namespace

TBilanLecture LirePTX(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    TLotPointsLus lot(recevoir);
    TBlocsPTX blocs(chemin, lot, TailleFichier(chemin));
    LireLignes(chemin, sortie,
               [&](std::string_view ligne, bool tropLongue) { blocs.Ligne(ligne, tropLongue); });
    blocs.Terminer();
    lot.Vider();
    return BilanLignesIgnorees(blocs.Ignores);
}

#include "scan/LectureLAS.h"

#include "scan/ConstructionGrille.h"
#include "scan/LectureBinaire.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Sizes of the public header by version, and places of its fields.
constexpr std::size_t TailleEnTete12 = 227;
constexpr std::size_t TailleEnTete14 = 375;

// The bytes a record of each point format needs, and where its colour lies (0: none).
struct TFormatPoints {
    std::size_t Taille;
    std::size_t Couleur;
};
constexpr std::array<TFormatPoints, 11> FormatsPoints = {{{20, 0},
                                                          {28, 0},
                                                          {26, 20},
                                                          {34, 28},
                                                          {57, 0},
                                                          {63, 28},
                                                          {30, 0},
                                                          {36, 30},
                                                          {38, 30},
                                                          {59, 0},
                                                          {67, 30}}};

struct TEnTeteLAS {
    std::uint64_t DebutPoints = 0;
    std::uint64_t NbPoints = 0;
    std::size_t Longueur = 0;
    TFormatPoints Format{};
    std::array<double, 3> Echelle{}, Origine{};
};

TEnTeteLAS LireEnTete(TFichierLecture& fichier, const std::string& chemin) {
    std::array<unsigned char, TailleEnTete14> o{};
    const std::size_t lus = fichier.Lire(o.data(), o.size());
    if (lus < 4 || std::memcmp(o.data(), "LASF", 4) != 0)
        RefuserFichier(chemin, "ce n'est pas un fichier LAS (signature « LASF » absente)");
    if (lus < TailleEnTete12) RefuserFichier(chemin, "en-tête LAS tronqué");
    const int majeure = o[24], mineure = o[25];
    if (majeure != 1 || mineure > 4)
        RefuserFichier(chemin, "version LAS " + std::to_string(majeure) + "." +
                                   std::to_string(mineure) + " non lue (1.0 à 1.4 attendues)");
    const std::uint16_t tailleEnTete = LirePetitBoutiste<std::uint16_t>(&o[94]);
    const bool entete14 = mineure >= 4;
    const std::size_t requis = entete14 ? TailleEnTete14 : TailleEnTete12;
    if (tailleEnTete < requis || lus < requis)
        RefuserFichier(chemin, "en-tête LAS tronqué (" + std::to_string(tailleEnTete) + " octets)");
    const unsigned formatLu = o[104];
    // The two high bits mark a compressed file.
    if (formatLu & 0xC0)
        RefuserFichier(chemin,
                       "LAS compressé (LAZ), que le programme ne lit pas : décompressez-le en LAS "
                       "non compressé avec le logiciel qui l'a produit ou un outil de conversion "
                       "LAZ vers LAS, puis ouvrez le fichier .las obtenu");
    if (formatLu >= FormatsPoints.size())
        RefuserFichier(chemin, "format de points LAS " + std::to_string(formatLu) +
                                   " inconnu (0 à 10 attendus)");
    TEnTeteLAS e;
    e.Format = FormatsPoints[formatLu];
    e.Longueur = LirePetitBoutiste<std::uint16_t>(&o[105]);
    if (e.Longueur < e.Format.Taille)
        RefuserFichier(chemin, "longueur des points (" + std::to_string(e.Longueur) +
                                   " octets) trop courte pour le format " +
                                   std::to_string(formatLu) + " (" +
                                   std::to_string(e.Format.Taille) + " octets)");
    e.DebutPoints = LirePetitBoutiste<std::uint32_t>(&o[96]);
    e.NbPoints = LirePetitBoutiste<std::uint32_t>(&o[107]);
    // Version 1.4 counts the points in 64 bits; the 32-bit field may then be 0.
    if (entete14) {
        const auto nb64 = LirePetitBoutiste<std::uint64_t>(&o[247]);
        if (nb64 != 0) e.NbPoints = nb64;
    }
    for (std::size_t a = 0; a < 3; ++a) {
        e.Echelle[a] = LirePetitBoutiste<double>(&o[131 + 8 * a]);
        e.Origine[a] = LirePetitBoutiste<double>(&o[155 + 8 * a]);
        if (!std::isfinite(e.Echelle[a]) || e.Echelle[a] == 0 || !std::isfinite(e.Origine[a]))
            RefuserFichier(chemin, "échelle ou origine des coordonnées LAS invalide");
    }
    const std::uint64_t taille = fichier.Taille();
    if (e.DebutPoints < tailleEnTete || e.DebutPoints > taille ||
        e.NbPoints > (taille - e.DebutPoints) / e.Longueur)
        RefuserFichier(chemin, "fichier LAS tronqué (" + std::to_string(e.NbPoints) +
                                   " points annoncés à partir de l'octet " +
                                   std::to_string(e.DebutPoints) + ", fichier de " +
                                   std::to_string(taille) + " octets)");
    return e;
}

// Gives `traiter` the records of the file in blocks, each of `n` records at `octets`.
template <class F>
void ParcourirRecords(TFichierLecture& fichier, const TEnTeteLAS& e, F&& traiter) {
    fichier.Aller(e.DebutPoints);
    // No larger than the records the file holds, which were checked against its size.
    std::vector<unsigned char> tampon(
        std::size_t(std::min<std::uint64_t>(e.NbPoints, RecordsParLot)) * e.Longueur);
    for (std::uint64_t reste = e.NbPoints; reste > 0;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(reste, RecordsParLot));
        fichier.LireExact(tampon.data(), n * e.Longueur);
        traiter(tampon.data(), n);
        reste -= n;
    }
}

} // namespace

TBilanLecture LireLAS(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    TFichierLecture fichier(chemin);
    const TEnTeteLAS e = LireEnTete(fichier, chemin);
    TProgression progression =
        TProgression::Fraction(sortie, "lecture : ", std::int64_t(e.NbPoints));
    std::vector<TPointLu> lot(RecordsParLot);
    std::int64_t lus = 0;
    ParcourirRecords(fichier, e, [&](const unsigned char* octets, std::size_t n) {
        for (std::size_t q = 0; q < n; ++q) {
            const unsigned char* r = octets + q * e.Longueur;
            TPointLu& p = lot[q];
            for (std::size_t a = 0; a < 3; ++a)
                p.Coo[int(a)] = double(LirePetitBoutiste<std::int32_t>(r + 4 * a)) * e.Echelle[a] +
                                e.Origine[a];
            if (e.Format.Couleur != 0)
                for (std::size_t k = 0; k < 3; ++k) {
                    const auto v = LirePetitBoutiste<std::uint16_t>(r + e.Format.Couleur + 2 * k);
                    p.Couleur[k] = std::uint8_t(v >> 8);
                    p.CouleurPoidsFaible[k] = std::uint8_t(v & 0xFF);
                }
        }
        recevoir(lot.data(), n);
        lus += std::int64_t(n);
        progression.Avancer(lus);
    });
    return {};
}

#include "scan/CubesArkl.h"

#include "scan/ConstructionGrille.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Items written or read at a time.
constexpr std::size_t ItemsParLot = 65536;

// The items of one array of the file, gathered in batches.
template <class T> class TLotEcrit {
public:
    explicit TLotEcrit(TFichierTemporaire& fichier) : fichier_(fichier) {
        lot_.reserve(ItemsParLot);
    }
    void Ajouter(const T& v) {
        lot_.push_back(v);
        if (lot_.size() == ItemsParLot) Vider();
    }
    void Vider() {
        fichier_.Ecrire(lot_.data(), lot_.size() * sizeof(T));
        lot_.clear();
    }

private:
    TFichierTemporaire& fichier_;
    std::vector<T> lot_;
};

// The file read array by array, its progress counted in bytes.
class TLecture {
public:
    TLecture(TFichierLecture& fichier, TProgression progression)
        : fichier_(fichier), progression_(std::move(progression)) {}

    // f(index, item) for the next n items of type T of the file.
    template <class T, class F> void Lire(std::size_t n, F&& f) {
        std::vector<T> lot(std::min(n, ItemsParLot));
        for (std::size_t fait = 0; fait < n;) {
            const std::size_t k = std::min(n - fait, ItemsParLot);
            fichier_.LireExact(lot.data(), k * sizeof(T));
            for (std::size_t q = 0; q < k; ++q)
                f(fait + q, lot[q]);
            fait += k;
            octets_ += std::int64_t(k * sizeof(T));
            progression_.Avancer(octets_);
        }
    }

private:
    TFichierLecture& fichier_;
    TProgression progression_;
    std::int64_t octets_ = 0;
};

[[noreturn]] void Refuser(const std::string& chemin, const std::string& raison) {
    throw EErreur("cubes du fichier invalides (" + raison + ") : « " + chemin + " »");
}

using TNombres = std::array<std::int64_t, NbNiveaux>;

// A mean that a construction could give: a number inside the grid.
bool DansLaGrille(const TPointScan& p, const TDimensionsGrille& grille) {
    const float v[3] = {p.X, p.Y, p.Z};
    for (std::size_t a = 0; a < 3; ++a) {
        const double cellule = std::floor(double(v[a])) - grille.Orig[a];
        if (!(cellule >= 0 && cellule < grille.Dim[a])) return false;
    }
    return true;
}

// Bytes of the cubes after their counts.
std::uint64_t TailleCubes(const TNombres& nb, int niveau) {
    std::uint64_t taille = std::uint64_t(nb[0]) * sizeof(TCellule);
    for (int n = 0; n <= niveau; ++n) {
        const std::uint64_t cubes = std::uint64_t(nb[std::size_t(n)]);
        taille += cubes * (4 + 4);
        if (n < niveau) taille += cubes * (sizeof(TPointScan) + 1);
        if (n > 0) taille += cubes;
    }
    return taille;
}

} // namespace

void TCubesArkl::Ecrire(const TEtatScan& scan, int niveau, TFichierTemporaire& fichier) {
    // The destroyed cubes are left out: a cube's place in the file is its rank among the others.
    TNombres nb{};
    std::array<std::vector<std::uint32_t>, NbNiveaux> rangs;
    for (std::size_t n = 0; n <= std::size_t(niveau); ++n) {
        const TGrandVecteur<TCube>& cubes = scan.niveaux_[n].Cubes;
        rangs[n].resize(cubes.size());
        for (std::size_t p = 0; p < cubes.size(); ++p)
            if (!cubes[p].detruit_) rangs[n][p] = std::uint32_t(nb[n]++);
    }
    fichier.Ecrire(nb.data(), sizeof nb);
    // The cells are numbered in the grid that the reader makes from the box.
    const TDimensionsGrille grille = DimensionnerGrille(scan.CooMin, scan.CooMax);
    TLotEcrit<TCellule> cellules(fichier);
    for (std::size_t p = 0; p < scan.CellulesGrille.size(); ++p) {
        if (scan.niveaux_[0].Cubes[p].detruit_) continue;
        TCellule c = scan.CellulesGrille[p];
        for (std::size_t a = 0; a < 3; ++a)
            c[a] += scan.OrigGrille[a] - grille.Orig[a];
        cellules.Ajouter(c);
    }
    cellules.Vider();
    for (int n = 0; n <= niveau; ++n) {
        const std::vector<std::uint32_t>& rang = rangs[std::size_t(n)];
        TLotEcrit<std::uint32_t> chaine(fichier);
        scan.PourChaqueCubeDuNiveau(n,
                                    [&](const TCube* c) { chaine.Ajouter(rang[scan.Place(c)]); });
        chaine.Vider();
        const TGrandVecteur<TCube>& cubes = scan.niveaux_[std::size_t(n)].Cubes;
        const auto pourChaque = [&](auto&& f) {
            for (const TCube& c : cubes)
                if (!c.detruit_) f(c);
        };
        TLotEcrit<std::int32_t> nombres(fichier);
        pourChaque([&](const TCube& c) { nombres.Ajouter(c.nbptscube); });
        nombres.Vider();
        if (n < niveau) {
            TLotEcrit<TPointScan> valeurs(fichier);
            pourChaque([&](const TCube& c) {
                valeurs.Ajouter({c.CooMoyPts.X, c.CooMoyPts.Y, c.CooMoyPts.Z, c.ColCube});
            });
            valeurs.Vider();
            TLotEcrit<std::uint8_t> enfants(fichier);
            pourChaque([&](const TCube& c) { enfants.Ajouter(std::uint8_t(scan.NbEnfants(&c))); });
            enfants.Vider();
        }
        if (n > 0) {
            TLotEcrit<std::uint8_t> slots(fichier);
            pourChaque([&](const TCube& c) { slots.Ajouter(c.indexParent); });
            slots.Vider();
        }
    }
}

void TCubesArkl::Lire(TEtatScan& scan, TFichierLecture& fichier, const std::string& chemin,
                      int niveau, std::int64_t nbRecords, std::uint64_t debutRecords,
                      const TDimensionsGrille& grille, const TSortieProgression& sortie) {
    const std::uint64_t debutCubes = debutRecords + std::uint64_t(nbRecords) * sizeof(TPointScan);
    TNombres nb{};
    if (fichier.Taille() - debutCubes < sizeof nb) Refuser(chemin, "fichier tronqué");
    fichier.Aller(debutCubes);
    fichier.LireExact(nb.data(), sizeof nb);
    for (int n = 0; n < NbNiveaux; ++n) {
        const std::int64_t cubes = nb[std::size_t(n)];
        if (n <= niveau ? cubes < 1 || cubes > INT32_MAX : cubes != 0)
            Refuser(chemin, "nombre de cubes du niveau " + std::to_string(n) + " : " +
                                std::to_string(cubes));
    }
    if (nb[std::size_t(niveau)] != nbRecords)
        Refuser(chemin, "cubes du niveau " + std::to_string(niveau) +
                            " et points en nombres "
                            "différents");
    if (fichier.Taille() - debutCubes - sizeof nb < TailleCubes(nb, niveau))
        Refuser(chemin, "fichier tronqué");
    // Shown from 100 records on, as the construction's.
    TLecture lecture(fichier, TProgression::Pourcentage(
                                  nbRecords >= 100 ? sortie : TSortieProgression(), "lecture ",
                                  std::int64_t(TailleCubes(nb, niveau)) +
                                      nbRecords * std::int64_t(sizeof(TPointScan))));

    std::vector<TCellule> cellules(static_cast<std::size_t>(nb[0]));
    lecture.Lire<TCellule>(cellules.size(), [&](std::size_t p, const TCellule& c) {
        for (std::size_t a = 0; a < 3; ++a)
            if (c[a] < 0 || c[a] >= grille.Dim[a]) Refuser(chemin, "cellule hors de la grille");
        if (p > 0 && !(cellules[p - 1] < c)) Refuser(chemin, "cellules dans le désordre");
        cellules[p] = c;
    });
    std::array<TNiveauCubes, NbNiveaux> niveaux;
    for (int n = 0; n <= niveau; ++n) {
        const std::size_t cubes = std::size_t(nb[std::size_t(n)]);
        const std::string nomNiveau = " du niveau " + std::to_string(n);
        TNiveauCubes& niv = niveaux[std::size_t(n)];
        niv.Cubes.resize(cubes);
        niv.Chaine.resize(cubes);
        std::vector<bool> vus(cubes);
        lecture.Lire<std::uint32_t>(cubes, [&](std::size_t k, std::uint32_t place) {
            if (place >= cubes || vus[place]) Refuser(chemin, "chaîne" + nomNiveau);
            vus[place] = true;
            niv.Chaine[k] = place;
        });
        lecture.Lire<std::int32_t>(cubes, [&](std::size_t p, std::int32_t nombre) {
            if (nombre < 1) Refuser(chemin, "cube sans point" + nomNiveau);
            niv.Cubes[p].nbptscube = nombre;
            niv.Cubes[p].NivCube = std::uint8_t(n);
        });
        if (n < niveau) {
            lecture.Lire<TPointScan>(cubes, [&](std::size_t p, const TPointScan& v) {
                if (!DansLaGrille(v, grille)) Refuser(chemin, "moyenne hors de la grille");
                niv.Cubes[p].CooMoyPts = {v.X, v.Y, v.Z};
                niv.Cubes[p].ColCube = v.Couleur;
            });
            niv.PremierEnfant.resize(cubes);
            niv.NbEnfants.resize(cubes);
            std::int64_t enfants = 0;
            lecture.Lire<std::uint8_t>(cubes, [&](std::size_t p, std::uint8_t nombre) {
                if (nombre < 1 || nombre > 125) Refuser(chemin, "nombre d'enfants" + nomNiveau);
                niv.PremierEnfant[p] = std::uint32_t(std::min<std::int64_t>(enfants, UINT32_MAX));
                niv.NbEnfants[p] = nombre;
                enfants += nombre;
            });
            if (enfants != nb[std::size_t(n) + 1]) Refuser(chemin, "nombre d'enfants" + nomNiveau);
        }
        if (n > 0) {
            const TNiveauCubes& parents = niveaux[std::size_t(n) - 1];
            std::uint32_t parent = 0;
            lecture.Lire<std::uint8_t>(cubes, [&](std::size_t p, std::uint8_t slot) {
                while (p >= std::size_t(parents.PremierEnfant[parent]) + parents.NbEnfants[parent])
                    ++parent;
                TCube& c = niv.Cubes[p];
                const bool premier = p == parents.PremierEnfant[parent];
                if (slot < 1 || slot > 125 || (!premier && slot <= niv.Cubes[p - 1].indexParent))
                    Refuser(chemin, "place d'un cube dans son parent" + nomNiveau);
                c.indexParent = slot;
                c.parent_ = parent;
            });
        }
    }
    // The records: the deepest level's means and colours, in its chain's order.
    fichier.Aller(debutRecords);
    TNiveauCubes& feuilles = niveaux[std::size_t(niveau)];
    lecture.Lire<TPointScan>(std::size_t(nbRecords), [&](std::size_t k, const TPointScan& r) {
        if (!DansLaGrille(r, grille)) Refuser(chemin, "moyenne hors de la grille");
        TCube& c = feuilles.Cubes[feuilles.Chaine[k]];
        c.CooMoyPts = {r.X, r.Y, r.Z};
        c.ColCube = r.Couleur;
    });
    scan.OrigGrille = grille.Orig;
    scan.DimGrille = grille.Dim;
    scan.InstallerCubes(std::move(niveaux), std::move(cellules));
}

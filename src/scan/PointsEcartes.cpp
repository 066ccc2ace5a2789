#include "scan/PointsEcartes.h"

#include "scan/Decalage.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t NbPremiersCites = 3;

struct TGroupe {
    std::int64_t NbCellules = 0, NbPoints = 0;
    TCellule Min{}, Max{};
};

// The groups of touching occupied cells; `groupeDe` gives each cell's group.
std::vector<TGroupe> GroupesDeCellules(const TEtatScan& scan, std::vector<std::int32_t>& groupeDe) {
    const std::vector<TCellule>& cellules = scan.CellulesGrille;
    const auto indice = [&](const TCellule& c) -> std::int64_t {
        const auto it = std::lower_bound(cellules.begin(), cellules.end(), c);
        if (it == cellules.end() || *it != c) return -1;
        const std::size_t i = std::size_t(it - cellules.begin());
        return scan.Grille[i] ? std::int64_t(i) : -1;
    };
    std::vector<TGroupe> groupes;
    groupeDe.assign(cellules.size(), -1);
    std::vector<std::size_t> aVoir;
    for (std::size_t depart = 0; depart < cellules.size(); ++depart) {
        if (!scan.Grille[depart] || groupeDe[depart] >= 0) continue;
        const std::int32_t g = std::int32_t(groupes.size());
        TGroupe groupe{0, 0, cellules[depart], cellules[depart]};
        groupeDe[depart] = g;
        aVoir.push_back(depart);
        while (!aVoir.empty()) {
            const std::size_t i = aVoir.back();
            aVoir.pop_back();
            const TCellule& c = cellules[i];
            ++groupe.NbCellules;
            groupe.NbPoints += scan.Grille[i]->nbptscube;
            for (std::size_t a = 0; a < 3; ++a) {
                groupe.Min[a] = std::min(groupe.Min[a], c[a]);
                groupe.Max[a] = std::max(groupe.Max[a], c[a]);
            }
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dz = -1; dz <= 1; ++dz) {
                        const std::int64_t v = indice({c[0] + dx, c[1] + dy, c[2] + dz});
                        if (v < 0 || groupeDe[std::size_t(v)] >= 0) continue;
                        groupeDe[std::size_t(v)] = g;
                        aVoir.push_back(std::size_t(v));
                    }
        }
        groupes.push_back(groupe);
    }
    return groupes;
}

} // namespace

TCorpsDuLeve CorpsDuLeve(const TEtatScan& scan) {
    TCorpsDuLeve corps{scan.CooMin, scan.CooMax, 0, {}};
    std::vector<std::int32_t> groupeDe;
    const std::vector<TGroupe> groupes = GroupesDeCellules(scan, groupeDe);
    if (groupes.size() < 2) return corps;
    const TGroupe& principal =
        *std::max_element(groupes.begin(), groupes.end(), [](const TGroupe& a, const TGroupe& b) {
            return a.NbCellules != b.NbCellules ? a.NbCellules < b.NbCellules
                                                : a.NbPoints < b.NbPoints;
        });
    const auto dansLeCorps = [&](const TCellule& c) {
        for (std::size_t a = 0; a < 3; ++a)
            if (std::int64_t(c[a]) < std::int64_t(principal.Min[a]) - MargeCorps ||
                std::int64_t(c[a]) > std::int64_t(principal.Max[a]) + MargeCorps)
                return false;
        return true;
    };
    std::int64_t nbEcartes = 0, nbPoints = 0;
    for (std::size_t i = 0; i < scan.CellulesGrille.size(); ++i) {
        if (!scan.Grille[i]) continue;
        nbPoints += scan.Grille[i]->nbptscube;
        if (!dansLeCorps(scan.CellulesGrille[i])) nbEcartes += scan.Grille[i]->nbptscube;
    }
    if (nbEcartes == 0 || nbEcartes * PartMaxEcartes > nbPoints) return corps;

    // The box of the body from the means of the deepest cubes: a point's own position when it is
    // alone in its cube, and within a cube's side of the points otherwise.
    corps.Min = {PlusGrandReel, PlusGrandReel, PlusGrandReel};
    corps.Max = {-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    const double demiCote = double(TailleNiv[std::size_t(scan.NivMax)]) / 2;
    std::vector<TV3S> derniers; // in chain order, newest first: the first few are the last met
    scan.PourChaqueCubeDuNiveau(scan.NivMax, [&](const TCube* c) {
        const TV3S coin = scan.CooOriCube(c);
        TCellule cellule{};
        for (std::size_t a = 0; a < 3; ++a)
            cellule[a] =
                std::int32_t(std::floor(double(coin[int(a)]) + demiCote)) - scan.OrigGrille[a];
        if (dansLeCorps(cellule)) {
            for (int a = 0; a < 3; ++a) {
                corps.Min[a] = std::min(corps.Min[a], c->CooMoyPts[a]);
                corps.Max[a] = std::max(corps.Max[a], c->CooMoyPts[a]);
            }
            return;
        }
        corps.NbEcartes += c->nbptscube;
        derniers.push_back(c->CooMoyPts);
        if (derniers.size() > NbPremiersCites) derniers.erase(derniers.begin());
    });
    for (auto it = derniers.rbegin(); it != derniers.rend(); ++it)
        corps.Premiers.push_back(CoordonneesDuLeve(*it, scan.Decalage));
    return corps;
}

std::string TexteEcartes(const TCorpsDuLeve& corps) {
    if (corps.NbEcartes == 0) return "";
    std::string t = std::to_string(corps.NbEcartes) +
                    (corps.NbEcartes > 1 ? " points écartés du corps du relevé"
                                         : " point écarté du corps du relevé") +
                    ", hors de la boîte de l'étude : ";
    for (std::size_t k = 0; k < corps.Premiers.size(); ++k) {
        const TV3R& p = corps.Premiers[k];
        t += Formater("%s(%.3f, %.3f, %.3f)", k == 0 ? "" : ", ", p.X, p.Y, p.Z);
    }
    if (corps.NbEcartes > std::int64_t(corps.Premiers.size())) t += ", ...";
    return t;
}

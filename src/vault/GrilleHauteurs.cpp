#include "vault/GrilleHauteurs.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// About two cubes a cell: a search then looks at a few dozen cubes.
constexpr double CubesParCellule = 2;
// The box of the grid comes from a sample of the positions, without the extreme thousandth of
// each side, widened by half its extent: a survey keeps all its cubes inside, a stray point
// kilometres away stays outside instead of stretching every cell.
constexpr std::size_t TailleEchantillon = 65536;
constexpr std::size_t PartEcartee = 1000;
constexpr double Elargissement = 0.5;

struct TBornes {
    double Min, Max;
};

// [min, max] of the sample without its extreme thousandth on each side, widened, and kept
// within the extent of all the positions.
TBornes BornesDeLaGrille(std::vector<float>& echantillon, float minimum, float maximum) {
    const std::size_t k = echantillon.size() / PartEcartee;
    std::nth_element(echantillon.begin(), echantillon.begin() + std::ptrdiff_t(k),
                     echantillon.end());
    const double bas = echantillon[k];
    const std::size_t kHaut = echantillon.size() - 1 - k;
    std::nth_element(echantillon.begin(), echantillon.begin() + std::ptrdiff_t(kHaut),
                     echantillon.end());
    const double haut = echantillon[kHaut];
    const double marge = Elargissement * (haut - bas);
    return {std::max(double(minimum), bas - marge), std::min(double(maximum), haut + marge)};
}

std::int64_t NbCellulesSur(double etendue, double pas) {
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(etendue / pas)));
}

} // namespace

TGrilleHauteurs::TGrilleHauteurs(TGrandVecteur<TPositionCube> positions) {
    if (positions.empty()) return;
    constexpr float Infini = std::numeric_limits<float>::infinity();
    float minX = Infini, minY = Infini, maxX = -Infini, maxY = -Infini;
    for (const TPositionCube& c : positions) {
        minX = std::min(minX, c.X);
        maxX = std::max(maxX, c.X);
        minY = std::min(minY, c.Y);
        maxY = std::max(maxY, c.Y);
    }
    std::vector<float> echX, echY;
    const std::size_t pasEchantillon =
        std::max<std::size_t>(1, positions.size() / TailleEchantillon);
    for (std::size_t i = 0; i < positions.size(); i += pasEchantillon) {
        echX.push_back(positions[i].X);
        echY.push_back(positions[i].Y);
    }
    const TBornes bx = BornesDeLaGrille(echX, minX, maxX);
    const TBornes by = BornesDeLaGrille(echY, minY, maxY);
    x0_ = bx.Min;
    x1_ = bx.Max;
    y0_ = by.Min;
    y1_ = by.Max;

    // Square cells, about CubesParCellule cubes each if they were spread evenly.
    const double largeur = x1_ - x0_;
    const double hauteur = y1_ - y0_;
    const double nbCellulesVoulu = std::max(1.0, double(positions.size()) / CubesParCellule);
    pas_ = std::max(std::sqrt(largeur * hauteur / nbCellulesVoulu),
                    std::max(largeur, hauteur) / nbCellulesVoulu);
    if (!(pas_ > 0)) pas_ = 1; // every position on one point
    nx_ = NbCellulesSur(largeur, pas_);
    ny_ = NbCellulesSur(hauteur, pas_);

    // Counting sort by cell, the cubes outside the grid as one more cell after the others. The
    // positions follow the survey, so the cubes put in place one after the other mostly go to
    // nearby cells.
    const std::size_t nbCellules = std::size_t(nx_ * ny_);
    const auto cellule = [this, nbCellules](const TPositionCube& c) {
        const bool dansLaGrille =
            double(c.X) >= x0_ && double(c.X) <= x1_ && double(c.Y) >= y0_ && double(c.Y) <= y1_;
        return dansLaGrille ? std::size_t(Ligne(c.Y) * nx_ + Colonne(c.X)) : nbCellules;
    };
    debutCellule_.assign(nbCellules + 2, 0);
    for (const TPositionCube& c : positions)
        ++debutCellule_[cellule(c) + 1];
    for (std::size_t k = 1; k < debutCellule_.size(); ++k)
        debutCellule_[k] += debutCellule_[k - 1];
    nbDansGrille_ = debutCellule_[nbCellules];
    TGrandVecteur<std::uint32_t> libre(debutCellule_.begin(), debutCellule_.end() - 1);
    entrees_.resize(positions.size());
    for (const TPositionCube& c : positions)
        entrees_[libre[cellule(c)]++] = c;
}

std::int64_t TGrilleHauteurs::Colonne(double x) const {
    return std::clamp(static_cast<std::int64_t>(std::floor((x - x0_) / pas_)), std::int64_t(0),
                      nx_ - 1);
}

std::int64_t TGrilleHauteurs::Ligne(double y) const {
    return std::clamp(static_cast<std::int64_t>(std::floor((y - y0_) / pas_)), std::int64_t(0),
                      ny_ - 1);
}

void TGrilleHauteurs::Examiner(const TV2R& p, std::size_t debut, std::size_t fin,
                               TPlusProche& meilleur) const {
    for (std::size_t k = debut; k < fin; ++k) {
        const TPositionCube& e = entrees_[k];
        meilleur.Examiner(DistancePlan(p, e.X, e.Y), e.Z);
    }
}

void TGrilleHauteurs::ParAnneaux(
    const TV2R& p, const std::function<bool(double)>& continuer,
    const std::function<void(std::size_t, std::size_t)>& examiner) const {
    if (!(std::isfinite(p.X) && std::isfinite(p.Y))) {
        // No bound holds for such a point: every cube is looked at.
        examiner(0, entrees_.size());
        return;
    }
    examiner(nbDansGrille_, entrees_.size());
    if (nbDansGrille_ == 0) return;

    // Rings of cells around the cell of q, the point of the grid's box nearest to p. A cube in
    // ring r or beyond is at least (r - 1) cells from q along one axis, and since q is the
    // projection of p on the box, |p - cube|² >= |p - q|² + ((r - 1) pas)², less the rounding
    // of a few operations.
    const double qx = std::clamp(p.X, x0_, x1_);
    const double qy = std::clamp(p.Y, y0_, y1_);
    const double d0 = (p.X - qx) * (p.X - qx) + (p.Y - qy) * (p.Y - qy);
    const std::int64_t si = Colonne(qx);
    const std::int64_t sj = Ligne(qy);
    const std::int64_t rMax = std::max({si, nx_ - 1 - si, sj, ny_ - 1 - sj});
    const auto cellules = [&](std::int64_t j, std::int64_t i0, std::int64_t i1) {
        const std::size_t ligne = std::size_t(j * nx_);
        examiner(debutCellule_[ligne + std::size_t(i0)],
                 debutCellule_[ligne + std::size_t(i1) + 1]);
    };
    for (std::int64_t r = 0; r <= rMax; ++r) {
        if (r >= 1) {
            const double a = double(r - 1) * pas_;
            if (!continuer((d0 + a * a) * (1 - MargeBorne))) break;
        }
        const std::int64_t i0 = std::max<std::int64_t>(0, si - r);
        const std::int64_t i1 = std::min(nx_ - 1, si + r);
        if (sj - r >= 0) cellules(sj - r, i0, i1);
        if (r > 0 && sj + r < ny_) cellules(sj + r, i0, i1);
        const std::int64_t j0 = std::max<std::int64_t>(0, sj - r + 1);
        const std::int64_t j1 = std::min(ny_ - 1, sj + r - 1);
        for (std::int64_t j = j0; j <= j1; ++j) {
            if (si - r >= 0) cellules(j, si - r, si - r);
            if (r > 0 && si + r < nx_) cellules(j, si + r, si + r);
        }
    }
}

void TGrilleHauteurs::Chercher(const TV2R& p, TPlusProche& meilleur) const {
    // A ring whose bound equals the best distance may still hold a higher cube as near.
    ParAnneaux(
        p, [&meilleur](double borne) { return !(borne > meilleur.Distance); },
        [&](std::size_t debut, std::size_t fin) { Examiner(p, debut, fin, meilleur); });
}

void TGrilleHauteurs::Parcourir(const TV2R& p, double distanceMax,
                                const std::function<void(const TPositionCube&)>& visiter) const {
    ParAnneaux(
        p, [distanceMax](double borne) { return !(borne > distanceMax); },
        [&](std::size_t debut, std::size_t fin) {
            for (std::size_t k = debut; k < fin; ++k)
                visiter(entrees_[k]);
        });
}

#include "scan/GroupesEloignes.h"

#include "scan/PointsEcartes.h"
#include "util/Erreurs.h"
#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr std::size_t NbGroupesCites = 4;

} // namespace

TGroupesEloignes::TGroupesEloignes(const std::array<TDecalageAxe, 3>& axes, std::int64_t nbPoints)
    : nbPoints_(nbPoints) {
    for (std::size_t a = 0; a < 3; ++a) {
        plages_[a] = axes[a].Plages(EcartEntreGroupes);
        const auto nbGroupes =
            std::count_if(plages_[a].begin(), plages_[a].end(),
                          [&](const TPlageAxe& p) { return p.Nb * PartMaxEcartes > nbPoints_; });
        aPreciser_ = aPreciser_ || nbGroupes > 1;
    }
}

void TGroupesEloignes::Compter(const TV3R& p) {
    std::array<std::size_t, 3> cle{};
    for (std::size_t a = 0; a < 3; ++a) {
        // A coordinate no shift can bring back was not counted on its axis: the grid refuses it.
        if (!(std::fabs(p[int(a)]) < double(DecalageMax))) return;
        const std::int64_t metre = static_cast<std::int64_t>(std::floor(p[int(a)]));
        const auto apres = std::upper_bound(
            plages_[a].begin(), plages_[a].end(), metre,
            [](std::int64_t m, const TPlageAxe& plage) { return m < plage.Debut; });
        cle[a] = std::size_t(apres - plages_[a].begin());
    }
    TGroupe& g = groupes_[cle];
    if (g.Nb++ == 0) {
        g.Min = g.Max = p;
        return;
    }
    for (int a = 0; a < 3; ++a) {
        g.Min[a] = std::min(g.Min[a], p[a]);
        g.Max[a] = std::max(g.Max[a], p[a]);
    }
}

void TGroupesEloignes::RefuserSiPlusieurs() const {
    std::vector<TGroupe> groupes;
    for (const auto& [cle, g] : groupes_)
        if (g.Nb * PartMaxEcartes > nbPoints_) groupes.push_back(g);
    if (groupes.size() < 2) return;
    // The largest first, then by place: the same text whatever the order of the points.
    std::sort(groupes.begin(), groupes.end(), [](const TGroupe& a, const TGroupe& b) {
        if (a.Nb != b.Nb) return a.Nb > b.Nb;
        return std::tie(a.Min.X, a.Min.Y, a.Min.Z) < std::tie(b.Min.X, b.Min.Y, b.Min.Z);
    });
    std::string t =
        Formater("relevé en %lld groupes de points à plus de %lld m les uns des autres "
                 "(des exports dans des repères différents ?) : ",
                 static_cast<long long>(groupes.size()), static_cast<long long>(EcartEntreGroupes));
    for (std::size_t k = 0; k < std::min(groupes.size(), NbGroupesCites); ++k) {
        const TGroupe& g = groupes[k];
        t += Formater("%s%lld points de (%.3f, %.3f, %.3f) à (%.3f, %.3f, %.3f)",
                      k == 0 ? "" : " ; ", static_cast<long long>(g.Nb), g.Min.X, g.Min.Y, g.Min.Z,
                      g.Max.X, g.Max.Y, g.Max.Z);
    }
    if (groupes.size() > NbGroupesCites) t += " ; ...";
    throw EErreur(t);
}

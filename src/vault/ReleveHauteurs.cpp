#include "vault/ReleveHauteurs.h"

#include "scan/UArkaluneGlb.h"

#include <algorithm>
#include <cmath>

namespace {

// How far the indexed zone reaches beyond the points it was prepared for. On the finest levels
// the nearest cube of a point on the vault is centimetres away, so a search near the edge of the
// zone still ends inside it; on a level coarse enough for it to end outside, every cube is
// indexed, which costs little there.
constexpr double MargeMinimale = 0.25; // metres
constexpr double MargeRelative = 0.05;
constexpr int ZonesAvantTous = 3;

bool Finie(const TV2R& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

} // namespace

TReleveHauteurs::TReleveHauteurs(const TListeCubes& cubes) : cubes_(cubes) {}

template <class FRetenir>
TGrandVecteur<TPositionCube> TReleveHauteurs::Positions(FRetenir&& retenir) const {
    // One pass over the cubes, whose memory is scattered.
    TGrandVecteur<TPositionCube> positions;
    positions.reserve(cubes_.size()); // pages are only taken as they are filled
    for (std::size_t i = 0; i < cubes_.size(); ++i) {
        const TV3S& c = cubes_[i]->CooMoyPts;
        if (retenir(c)) positions.push_back({c.X, c.Y, c.Z, std::uint32_t(i)});
    }
    return positions;
}

void TReleveHauteurs::PreparerZone(const std::vector<TV2R>& points) {
    if (tous_) return;
    TBoite b{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const TV2R& p : points)
        if (Finie(p))
            b = {std::min(b.X0, p.X), std::min(b.Y0, p.Y), std::max(b.X1, p.X),
                 std::max(b.Y1, p.Y)};
    if (!(b.X0 <= b.X1)) return;
    if (zone_ && zoneDemandee_.Contient(b.X0, b.Y0) && zoneDemandee_.Contient(b.X1, b.Y1)) return;
    zone_.reset();
    // A quarter moved about in the window: after a few zones, which together cost about as much,
    // every cube once, which answers every move after it at once.
    if (++nbZones_ > ZonesAvantTous) {
        Tous();
        return;
    }
    const double marge =
        std::max(MargeMinimale, MargeRelative * std::max(b.X1 - b.X0, b.Y1 - b.Y0));
    const TBoite z{b.X0 - marge, b.Y0 - marge, b.X1 + marge, b.Y1 + marge};
    zone_.emplace(
        TZone{TGrilleHauteurs(Positions([&z](const TV3S& c) { return z.Contient(c.X, c.Y); })), z});
    zoneDemandee_ = b;
}

std::optional<float> TReleveHauteurs::HauteurDansLaZone(const TV2R& p) const {
    if (!zone_) return std::nullopt;
    const TBoite& z = zone_->Boite;
    if (!z.Contient(p.X, p.Y)) return std::nullopt;
    TPlusProche meilleur;
    zone_->Grille.Chercher(p, meilleur);
    // A cube left out lies beyond the zone's edge, at least `bord` from p: the zone's answer
    // holds when it is strictly nearer than that, so that no cube left out can equal it.
    const double bord = std::min({p.X - z.X0, z.X1 - p.X, p.Y - z.Y0, z.Y1 - p.Y});
    if (meilleur.Distance < PlusGrandReel &&
        meilleur.Distance < Arrondi32(bord * bord * (1 - MargeBorne)))
        return meilleur.Z;
    return std::nullopt;
}

const TGrilleHauteurs& TReleveHauteurs::Tous() {
    // A cube whose plan position is not finite is left out: its distance is never below the
    // largest real.
    if (!tous_) tous_.emplace(Positions([](const TV3S& c) { return Finie({c.X, c.Y}); }));
    return *tous_;
}

float TReleveHauteurs::HauteurAuPoint(const TV2R& p) {
    if (cubes_.empty()) return 0;
    if (const std::optional<float> z = HauteurDansLaZone(p)) return *z;
    // Until a distance below the largest real is met, the first cube, which no other can
    // precede.
    TPlusProche meilleur{PlusGrandReel, 0, cubes_.front()->CooMoyPts.Z};
    Tous().Chercher(p, meilleur);
    return meilleur.Z;
}

TReleveHauteurs& TReleveCubesAffiches::AJour(const TListeCubes& cubes, std::uint64_t version) {
    if (!releve_ || version_ != version) {
        releve_.reset();
        releve_.emplace(cubes);
        version_ = version;
    }
    return *releve_;
}

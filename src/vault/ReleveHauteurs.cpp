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
    for (const TCube* cube : cubes_) {
        const TV3S& c = cube->CooMoyPts;
        if (!(cube->etatSP & EtatSupprime) && retenir(c)) positions.push_back({c.X, c.Y, c.Z});
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

const TGrilleHauteurs* TReleveHauteurs::ZoneSuffit(const TV2R& p, double distance) const {
    if (!zone_) return nullptr;
    const TBoite& z = zone_->Boite;
    if (!z.Contient(p.X, p.Y)) return nullptr;
    // A cube left out lies beyond the zone's edge, at least `bord` from p: strictly nearer than
    // that, no cube left out can be as near, nor tie.
    const double bord = std::min({p.X - z.X0, z.X1 - p.X, p.Y - z.Y0, z.Y1 - p.Y});
    return distance < bord * bord * (1 - MargeBorne) ? &zone_->Grille : nullptr;
}

const TGrilleHauteurs& TReleveHauteurs::Tous() {
    // A cube whose plan position is not finite is left out: no point is nearer to it than
    // another.
    if (!tous_) tous_.emplace(Positions([](const TV3S& c) { return Finie({c.X, c.Y}); }));
    return *tous_;
}

THauteurLue TReleveHauteurs::HauteurAuPoint(const TV2R& p) {
    TPlusProche meilleur;
    if (zone_) {
        zone_->Grille.Chercher(p, meilleur);
        if (!ZoneSuffit(p, meilleur.Distance)) meilleur = {};
    }
    if (!std::isfinite(meilleur.Distance)) Tous().Chercher(p, meilleur);
    return {meilleur.Z, std::sqrt(meilleur.Distance)};
}

TEtendueHauteurs TReleveHauteurs::EtendueAuPoint(const TV2R& p, double ecart) {
    const THauteurLue plusProche = HauteurAuPoint(p);
    TEtendueHauteurs e;
    if (!std::isfinite(plusProche.Distance)) return e;
    const double rayon = plusProche.Distance + ecart;
    const double rayon2 = rayon * rayon;
    const TGrilleHauteurs* grille = ZoneSuffit(p, rayon2);
    (grille ? *grille : Tous()).Parcourir(p, rayon2, [&](const TPositionCube& c) {
        if (DistancePlan(p, c.X, c.Y) > rayon2) return;
        e.ZMin = e.NbCubes ? std::min(e.ZMin, c.Z) : c.Z;
        e.ZMax = e.NbCubes ? std::max(e.ZMax, c.Z) : c.Z;
        ++e.NbCubes;
    });
    return e;
}

TReleveHauteurs& TReleveCubesAffiches::AJour(const TListeCubes& cubes, std::uint64_t version) {
    if (!releve_ || version_ != version) {
        releve_.reset();
        releve_.emplace(cubes);
        version_ = version;
    }
    return *releve_;
}

#include "VouteSynthetique.h"

#include "geometry/UtilsGeom.h"
#include "util/Erreurs.h"
#include "util/Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// --- Randomness: splitmix64 and plain arithmetic only, so that a seed gives the same stream on
// every machine and with every standard library.

std::uint64_t Melanger(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double VersUnite(std::uint64_t h) {
    return double(h >> 11) * 0x1.0p-53;
}

class TAlea {
public:
    explicit TAlea(std::uint64_t graine) : etat_(Melanger(graine)) {}
    double Uniforme() { return VersUnite(Melanger(etat_ += 0x9E3779B97F4A7C15ull)); }
    // Close to a normal law of deviation 1 (a sum of four uniforms), without calling libm.
    double Normale() {
        return (Uniforme() + Uniforme() + Uniforme() + Uniforme() - 2) * 1.7320508075688772;
    }

private:
    std::uint64_t etat_;
};

// A value in [0, 1) fixed by the seed and the identity of a stone.
double Hachage(std::uint64_t graine, std::uint64_t a, std::int64_t b, std::int64_t c) {
    std::uint64_t h = Melanger(graine ^ 0x5851F42D4C957F2Dull);
    h = Melanger(h ^ a);
    h = Melanger(h ^ std::uint64_t(b));
    return VersUnite(Melanger(h ^ std::uint64_t(c)));
}

// --- The vault, in the bay's frame: u along X from 0 to PorteeX, v along Y from 0 to PorteeY,
// z = 0 at the springing level.

enum TElement : std::uint64_t { Voutain, Aretier, Doubleau, Formeret, Mur };

// Pointed arch: two circles centred on the springing line; crown `fleche` >= portee / 2.
struct TArcBrise {
    double demiPortee, excentre, rayon;
    TArcBrise(double portee, double fleche)
        : demiPortee(portee / 2), excentre((fleche * fleche - demiPortee * demiPortee) / portee),
          rayon(excentre + demiPortee) {}
    // Height at abscissa t from the middle, on a line drawn `retrait` inside the arch's line.
    double Hauteur(double t, double retrait = 0) const {
        const double r = rayon - retrait, d = std::fabs(t) + excentre;
        return d < r ? std::sqrt(r * r - d * d) : 0;
    }
    // Length along the arch from its crown (for the joints of the voussoirs).
    double Abscisse(double t) const {
        return rayon * (std::asin(std::min(1.0, (std::fabs(t) + excentre) / rayon)) -
                        std::asin(excentre / rayon));
    }
};

// Cross-section of a rib across its band: a flat soffit, then a rounded moulding that rises
// into the web. x is the distance from the rib's axis over the band's half width.
double Moulure(double x, double retombee) {
    const double e = std::max(0.0, (x - 0.55) / 0.45);
    return 3 * retombee * e * e;
}

struct TDetail {
    TElement Element = Voutain;
    double Assise = 0;   // across the courses, metres
    double Longueur = 0; // along a course, metres
};

struct TNervure {
    double DemiLargeur, Retombee;
};
constexpr TNervure NervAretier{0.13, 0.16}, NervDoubleau{0.30, 0.30}, NervFormeret{0.14, 0.10};

class TVoute {
public:
    TVoute(double lx, double ly)
        : Lx(lx), Ly(ly), Diagonale(std::sqrt(lx * lx + ly * ly)), R(Diagonale / 2),
          ArcDoubleau(ly, ly / 2 + 0.6 * (R - ly / 2)),
          ArcFormeret(lx, lx / 2 + 0.4 * (R - lx / 2)) {}

    const double Lx, Ly, Diagonale, R;
    const TArcBrise ArcDoubleau, ArcFormeret;

    // Height of the lowest surface above (u, v): the intrados as the scanner sees it.
    double Hauteur(double u, double v, TDetail* detail = nullptr) const {
        double z = HauteurVoutain(u, v, detail);
        for (int k = 0; k < 2; ++k)
            HauteurAretier(k, u, v, z, detail);
        HauteurBande(u, Ly / 2 - v, ArcDoubleau, NervDoubleau, Doubleau, z, detail);
        HauteurBande(Lx - u, v - Ly / 2, ArcDoubleau, NervDoubleau, Doubleau, z, detail);
        HauteurBande(v, u - Lx / 2, ArcFormeret, NervFormeret, Formeret, z, detail);
        HauteurBande(Ly - v, Lx / 2 - u, ArcFormeret, NervFormeret, Formeret, z, detail);
        return z;
    }

private:
    // Where (u, v) lies in its web. The diagonals split the bay into four webs; in each, w goes
    // from 0 at the edge arch to 1 at the key, and a from 0 to 1 across the web between the
    // two diagonals.
    struct TPlaceVoutain {
        double w, a;
        double Profondeur; // distance from the edge arch, metres
        const TArcBrise* Arc;
        double Portee; // of that arch
    };
    TPlaceVoutain PlaceVoutain(double u, double v) const {
        const double U = std::clamp(u / Lx, 0.0, 1.0), V = std::clamp(v / Ly, 0.0, 1.0);
        if (V <= U && V <= 1 - U) return {2 * V, (U - V) / (1 - 2 * V), v, &ArcFormeret, Lx};
        if (V >= U && V >= 1 - U)
            return {2 - 2 * V, (U + V - 1) / (2 * V - 1), Ly - v, &ArcFormeret, Lx};
        if (U < 1 - V) return {2 * U, (V - U) / (1 - 2 * U), u, &ArcDoubleau, Ly};
        return {2 - 2 * U, (U + V - 1) / (2 * U - 1), Lx - u, &ArcDoubleau, Ly};
    }

    // The web rests on its edge arch (w = 0) and on the diagonal ribs (a = 0 or 1) and domes
    // up to the key.
    double HauteurVoutain(double u, double v, TDetail* detail) const {
        TPlaceVoutain p = PlaceVoutain(u, v);
        if (!(p.w < 1 - 1e-12)) p.w = 1, p.a = 0.5;
        const double q = std::sqrt(p.w * (2 - p.w));
        const double fleche = p.Arc->Hauteur(0);
        const double crete = fleche + (R - fleche) * q;
        const double appui = R * q; // height of the diagonal rib's extrados at that depth
        const double forme = p.Arc->Hauteur((p.a - 0.5) * p.Portee) / fleche;
        if (detail) *detail = {Voutain, p.Profondeur, (p.a - 0.5) * (1 - p.w) * p.Portee};
        return appui + (crete - appui) * forme;
    }

    void HauteurAretier(int k, double u, double v, double& z, TDetail* detail) const {
        // Diagonal k from the corner (k * Lx, 0) to the opposite one.
        const double ex = (k == 0 ? Lx : -Lx) / Diagonale, ey = Ly / Diagonale;
        const double du = u - k * Lx;
        const double ecart = std::fabs(du * ey - v * ex);
        if (ecart >= NervAretier.DemiLargeur) return;
        const double c = std::fabs(du * ex + v * ey - R); // from the key, in plan
        const double r = R - NervAretier.Retombee;
        const double zr = (c < r ? std::sqrt(r * r - c * c) : 0) +
                          Moulure(ecart / NervAretier.DemiLargeur, NervAretier.Retombee);
        if (zr >= z) return;
        z = zr;
        if (detail) *detail = {Aretier, ecart, R * std::asin(std::min(1.0, c / R))};
    }

    // Half of an edge arch (the other half belongs to the next bay): a band along the edge,
    // `distance` from it, at abscissa t from the arch's middle.
    static void HauteurBande(double distance, double t, const TArcBrise& arc, const TNervure& n,
                             TElement element, double& z, TDetail* detail) {
        if (distance >= n.DemiLargeur) return;
        const double zr =
            arc.Hauteur(t, n.Retombee) + Moulure(distance / n.DemiLargeur, n.Retombee);
        if (zr >= z) return;
        z = zr;
        if (detail) *detail = {element, distance, arc.Abscisse(t)};
    }
};

// --- Stones: courses, joints, colours and relief.

struct TAppareil {
    double HauteurAssise; // 0: one stone across (ribs)
    double LongueurPierre;
};
constexpr std::array<TAppareil, 5> Appareils = {
    {{0.22, 0.38}, {0, 0.34}, {0, 0.36}, {0, 0.30}, {0.30, 0.52}}};

using TRVB = std::array<double, 3>;
constexpr std::array<TRVB, 5> Calcaires = {
    {{198, 184, 160}, {186, 163, 126}, {172, 167, 156}, {212, 200, 178}, {178, 150, 118}}};
constexpr TRVB Mortier{216, 210, 196}, Enduit{206, 200, 188};
constexpr double DemiJoint = 0.005;

struct TAspect {
    TRVB Couleur;
    double Relief; // along the ray, metres: positive when the surface lies deeper
};

double DistanceAuJoint(double x, double pas) {
    const double f = x / pas - std::floor(x / pas);
    return std::min(f, 1 - f) * pas;
}

TAspect Aspect(std::uint64_t graine, const TDetail& d) {
    const TAppareil& ap = Appareils[d.Element];
    const std::int64_t assise =
        ap.HauteurAssise > 0 ? std::int64_t(std::floor(d.Assise / ap.HauteurAssise)) : 0;
    const double decalage = (assise & 1) ? ap.LongueurPierre / 2 : 0;
    const double le = d.Longueur + decalage;
    const bool joint =
        DistanceAuJoint(le, ap.LongueurPierre) < DemiJoint ||
        (ap.HauteurAssise > 0 && DistanceAuJoint(d.Assise, ap.HauteurAssise) < DemiJoint);
    if (joint) return {Mortier, 0.004};
    const std::int64_t pierre = std::int64_t(std::floor(le / ap.LongueurPierre));
    const double h1 = Hachage(graine, d.Element, assise, pierre);
    const double h2 = Hachage(graine, d.Element + 16, assise, pierre);
    TRVB base;
    if (d.Element == Mur) {
        base = Enduit;
    } else {
        // Ribs and arches in the warmer stones; webs in the whole range.
        const std::size_t choix = d.Element == Voutain ? std::size_t(h1 * 5) : (h1 < 0.5 ? 1 : 4);
        base = Calcaires[std::min<std::size_t>(choix, 4)];
    }
    const double teinte = (h2 - 0.5) * 24;
    return {{base[0] + teinte, base[1] + teinte, base[2] + teinte * 0.8}, (h1 - 0.5) * 0.003};
}

std::uint8_t Octet(double v) {
    return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

// --- The scanner: a head that turns about the vertical in steps of `pas` and sweeps a full
// vertical circle at each step, recording one point per ray at the first surface it meets.

constexpr double HauteurStation = -4.4;  // scanner head 1.6 m above a floor 6 m below springing
constexpr double MurSousNaissance = 1.0; // the lowest rays meet the walls 1 m below springing
constexpr double PasMarche = 0.004;      // metres, along the ray's plan distance

struct TRayon {
    double Cx, Cy; // plan direction
    double Rb;     // plan distance to the bay's edge
    bool Mur;      // that edge is a wall (under a wall arch); otherwise an open arch
};

class TStation {
public:
    TStation(const TVoute& voute, double su, double sv, std::uint64_t graine)
        : voute_(voute), su_(su), sv_(sv), graine_(graine) {}

    // Number of rays that meet something, for an angular step `pas`.
    std::int64_t CompterImpacts(double pas) const {
        std::int64_t n = 0;
        ParcourirColonnes(pas, [&](const TRayon& c, double, int nbLignes) {
            for (int k = 0; k < nbLignes; ++k)
                n += Touche(c, TanElevation(pas, k));
        });
        return n;
    }

    // Records `voulus` of the `impacts` rays that meet something, spread evenly.
    void Enregistrer(double pas, std::int64_t impacts, std::int64_t voulus, TAlea& alea,
                     const TV3R& origine,
                     const std::function<void(const TPointGenere&)>& recevoir) {
        std::int64_t rang = 0;
        std::vector<int> lignes;
        std::vector<TPointGenere> montee;
        // For a head position the sweep goes up one column to the zenith and down the opposite
        // one. Each column is computed from the zenith down, where the first impact can only move
        // away from the station, then the rising column is given back in reverse.
        ParcourirColonnes(pas, [&](const TRayon& c, double phi, int nbLignes) {
            const bool montante = phi >= Pi;
            lignes.clear();
            for (int k = 0; k < nbLignes; ++k)
                if (Touche(c, TanElevation(pas, k))) lignes.push_back(k);
            const std::int64_t n = std::int64_t(lignes.size());
            double rDepart = 0;
            montee.clear();
            for (std::int64_t q = 0; q < n; ++q) {
                const std::int64_t r = montante ? rang + n - 1 - q : rang + q;
                if ((r + 1) * voulus / impacts == r * voulus / impacts) continue;
                const TPointGenere p =
                    Point(c, pas, lignes[std::size_t(q)], rDepart, alea, origine);
                if (montante)
                    montee.push_back(p);
                else
                    recevoir(p);
            }
            for (auto it = montee.rbegin(); it != montee.rend(); ++it)
                recevoir(*it);
            rang += n;
        });
    }

private:
    const TVoute& voute_;
    const double su_, sv_;
    const std::uint64_t graine_;

    static double TanElevation(double pas, int k) { return std::tan(Pi / 2 - (k + 0.5) * pas); }

    // Calls f(ray, azimuth, number of rows) for every column, in recording order: the rising
    // column of each head position (azimuth phi + pi, in [pi, 2 pi)) then its falling one.
    template <class F> void ParcourirColonnes(double pas, F&& f) const {
        const int demiTour = std::max(1, int(std::lround(Pi / pas)));
        const double pasAzimut = Pi / demiTour;
        for (int j = 0; j < demiTour; ++j) {
            for (const double phi : {(j + 0.5) * pasAzimut + Pi, (j + 0.5) * pasAzimut}) {
                const TRayon c = Rayon(phi);
                const double elevMin = std::atan((-MurSousNaissance - HauteurStation) / c.Rb);
                const int nbLignes =
                    std::max(0, int(std::floor((Pi / 2 - elevMin) / pas - 0.5)) + 1);
                f(c, phi, nbLignes);
            }
        }
    }

    TRayon Rayon(double phi) const {
        TRayon c{std::cos(phi), std::sin(phi), 0, false};
        const double rx = c.Cx > 0 ? (voute_.Lx - su_) / c.Cx : (c.Cx < 0 ? -su_ / c.Cx : INFINITY);
        const double ry = c.Cy > 0 ? (voute_.Ly - sv_) / c.Cy : (c.Cy < 0 ? -sv_ / c.Cy : INFINITY);
        c.Rb = std::min(rx, ry);
        c.Mur = ry <= rx;
        return c;
    }

    // Height of the ray above the surface at plan distance r: the ray has met it when >= 0.
    double Ecart(const TRayon& c, double tanElev, double r) const {
        return HauteurStation + r * tanElev - voute_.Hauteur(su_ + r * c.Cx, sv_ + r * c.Cy);
    }

    // The ray meets the vault before the edge of the bay, or else the wall.
    bool Touche(const TRayon& c, double tanElev) const {
        return c.Mur || Ecart(c, tanElev, c.Rb) >= 0;
    }

    TPointGenere Point(const TRayon& c, double pas, int k, double& rDepart, TAlea& alea,
                       const TV3R& origine) const {
        const double elev = Pi / 2 - (k + 0.5) * pas;
        const double tanElev = std::tan(elev);
        // March from the previous impact of the column, then close in on the crossing.
        double rA = rDepart, gA = Ecart(c, tanElev, rA);
        double r = c.Rb;
        bool surMur = true;
        while (rA < c.Rb) {
            const double rB = std::min(rA + PasMarche, c.Rb);
            const double gB = Ecart(c, tanElev, rB);
            if (gB >= 0) {
                double a = rA, b = rB, ga = gA, gb = gB;
                for (int n = 0; n < 12; ++n) {
                    const double m = (a + b) / 2, gm = Ecart(c, tanElev, m);
                    if (gm >= 0)
                        b = m, gb = gm;
                    else
                        a = m, ga = gm;
                }
                r = a + (b - a) * (-ga / (gb - ga));
                surMur = false;
                break;
            }
            rA = rB, gA = gB;
        }
        rDepart = r;
        const double u = su_ + r * c.Cx, v = sv_ + r * c.Cy, z = HauteurStation + r * tanElev;
        TDetail d;
        if (surMur) {
            d = {Mur, z, c.Cy > 0 ? voute_.Lx - u : u};
        } else {
            voute_.Hauteur(u, v, &d);
        }
        const TAspect a = Aspect(graine_, d);
        const double cosElev = std::cos(elev), sinElev = std::sin(elev);
        const double distance = r / cosElev;
        const double decalage = a.Relief + 0.0012 * alea.Normale();
        const double eclairage = 1.06 - 0.18 * std::min(1.0, distance / 14);
        TPointGenere p;
        p.P = {origine.X + u + decalage * cosElev * c.Cx, origine.Y + v + decalage * cosElev * c.Cy,
               origine.Z + z + decalage * sinElev};
        for (int q = 0; q < 3; ++q)
            p.Couleur[q] =
                Octet(a.Couleur[std::size_t(q)] * eclairage + (alea.Uniforme() - 0.5) * 12);
        return p;
    }
};

// The angular step that gives at least `voulus` impacts, and that number.
std::pair<double, std::int64_t> ChoisirPas(const TStation& s, std::int64_t voulus) {
    double pas = 0.02;
    std::int64_t impacts = s.CompterImpacts(pas);
    pas = std::min(0.2, pas * std::sqrt(double(impacts) / double(voulus)) * 0.995);
    for (;;) {
        impacts = s.CompterImpacts(pas);
        if (impacts >= voulus) return {pas, impacts};
        pas *= 0.995;
    }
}

void VerifierParametres(const TParametresVoute& p) {
    if (p.NbPoints < 1 || p.NbPoints > NbPointsMax)
        throw EErreur("nombre de points invalide : de 1 à 2 147 483 647");
    for (const double portee : {p.PorteeX, p.PorteeY})
        if (!(portee >= PorteeMin && portee <= PorteeMax))
            throw EErreur(
                Formater("portée invalide (%g m) : de %g à %g m", portee, PorteeMin, PorteeMax));
    for (int a = 0; a < 3; ++a)
        if (!(std::fabs(p.Origine[a]) <= 1e7))
            throw EErreur("origine invalide : chaque coordonnée entre -10 000 000 et 10 000 000");
}

} // namespace

void GenererVoute(const TParametresVoute& parametres,
                  const std::function<void(const TPointGenere&)>& recevoir) {
    VerifierParametres(parametres);
    const TVoute voute(parametres.PorteeX, parametres.PorteeY);
    TAlea alea(parametres.Graine);
    // Two stations on the bay's long axis, each recording half of the points.
    const std::int64_t parStation[2] = {parametres.NbPoints / 2,
                                        parametres.NbPoints - parametres.NbPoints / 2};
    for (int s = 0; s < 2; ++s) {
        if (parStation[s] == 0) continue;
        TStation station(voute, parametres.PorteeX * (s == 0 ? 1.0 / 3 : 2.0 / 3),
                         parametres.PorteeY / 2, parametres.Graine);
        const auto [pas, impacts] = ChoisirPas(station, parStation[s]);
        station.Enregistrer(pas, impacts, parStation[s], alea, parametres.Origine, recevoir);
    }
}

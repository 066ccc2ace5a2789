#pragma once
// The structure of the studied quarter: each half-quarter cut into vault arcs resting on the
// diagonal rib, each arc cut into voussoirs, and the rib as one more arc. Plan positions follow
// from the frontier points, heights from the point cloud.

#include "geometry/UtilsVect.h"

#include <cstdint>
#include <vector>

struct TPtArc {
    TV2R XYarc;      // plan position, metres
    double Zarc = 0; // height, metres

    TV3R XYZarc() const { return {XYarc.X, XYarc.Y, Zarc}; }
    void FixerXYZarc(const TV3R& p) {
        XYarc = {p.X, p.Y};
        Zarc = p.Z;
    }
};
using TPtsArc = std::vector<TPtArc>;

struct TClaveau {
    TV3R XYZclav;      // centre: the middle of its two end points
    float lgrclav = 0; // length in space, metres
    float G = 0;       // weight, daN
};

struct TArc {
    std::int32_t nclav = 0;
    TPtsArc pts;                    // nclav + 1 points
    std::vector<TClaveau> claveaux; // voussoir j between points j and j + 1
    TV3R EffAppui;                  // support action on the rib, daN
};
using TArcsDeVoute = std::vector<TArc>;

struct TQuartier {
    TArcsDeVoute Arcs;
    float LargeurArcs = 0; // width of every strip, metres
    // Direction of the arcs (middle point towards the springing) in the rib frame.
    float kX = 0;
    float kY = 0;
};

struct TArcAretier {
    TArc AA;
    // Entry k (1..n): what the k-th arcs of both half-quarters bring to the rib's point k.
    std::vector<TV3R> ChargesDesVoutes;
};

// Running sums of the loads on the rib: resultant, and moment about the key.
struct TSommeEfforts {
    TV3R F;
    double M = 0;
    // A load F_i at plan distance d from the key, dz below the key.
    void AjouterEffort(const TV3R& Fi, double d, double dz);
};

// Quadrants of the placement, by quarter number 1..4.
struct TQuadrant {
    float sX, sY;
    const char* Nom;
};
inline constexpr TQuadrant Quadrants[4] = {
    {1, 1, "X+,Y+"}, {-1, 1, "X-,Y+"}, {-1, -1, "X-,Y-"}, {1, -1, "X+,Y-"}};

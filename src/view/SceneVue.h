#pragma once
// What the 3D view shows, described without a graphics library: the window's drawing code only
// executes it, in this order, with depth testing across the whole scene and the axes symbol.

#include "geometry/UtilsVect.h"
#include "view/Projection.h"

#include <array>
#include <cstdint>
#include <vector>

// Intensities 0 (none) or 255 (full) of red, green and blue.
struct TCouleurVue {
    std::uint8_t R = 0, V = 0, B = 0;
    bool operator==(const TCouleurVue&) const = default;
};
static_assert(sizeof(TCouleurVue) == 3);

inline constexpr TCouleurVue NoirVue{0, 0, 0};
inline constexpr TCouleurVue RougeVue{255, 0, 0};
inline constexpr TCouleurVue VertVue{0, 255, 0};
inline constexpr TCouleurVue BleuVue{0, 0, 255};
inline constexpr TCouleurVue CyanVue{0, 255, 255};
inline constexpr TCouleurVue BlancVue{255, 255, 255};

// The points of the displayed level, then the origin mark: a red point of TailleMarqueOrigine
// pixels at (0, 0, 0). Rebuilt only after the workspace has declared it stale; `Version` changes
// at each rebuild, so that a retained copy (a display list) knows when to follow.
struct TLotPoints {
    static constexpr float TailleMarqueOrigine = 5;
    bool AfficherPts = false; // false: neither points nor origin mark
    float TaillePoints = 1;   // pixels
    std::vector<TV3S> Sommets;
    std::vector<TCouleurVue> Couleurs; // one per vertex
    std::uint64_t Version = 0;
    // Its owner builds it again when asked: once the graphics library holds the whole batch, its
    // vectors are given back (Rendu), and a new context asks for the batch again.
    bool Liberable = false;
    bool Rendu = false;
};

enum class TGenreTrace {
    BoucleFermee, // closed line through the vertices
    LigneBrisee,  // open line through the vertices
    Points,
};

struct TTrace {
    TGenreTrace Genre = TGenreTrace::LigneBrisee;
    TCouleurVue Couleur;
    float Taille = 1; // line width or point size, pixels
    std::vector<TV3R> Sommets;
};

// One flat face of an arrow, sent alone with its normal; vertices counter-clockwise seen from
// outside, so that culling the back faces hides those seen from within.
struct TFaceFleche {
    TCouleurVue Couleur;
    TV3R Normale;
    std::int32_t NbSommets = 4; // 3 or 4
    std::array<TV3R, 4> Sommets{};
};

// The axes symbol, drawn over the scene in pixels from the lower-left corner, line width 1.
struct TSymboleAxes {
    std::int32_t s = 0; // size of the arrows, pixels
    TmatGL16 Projection{};
    TmatGL16 ModeleVue{};
    // Retained like the points: rebuilt, with the s of that moment, only when declared stale.
    std::vector<TFaceFleche> Faces;
    std::uint64_t Version = 0;
};

// While the view moves, at most this many points are drawn: a frame of the software renderer
// stays within about 50 ms whatever the displayed level; at rest the whole batch is drawn.
inline constexpr std::size_t PointsParImageEnMouvement = 50000;

// The step between the batch's points drawn while moving: every point (1) when `maxPoints` is 0
// or holds them all, otherwise the least step that keeps at most `maxPoints` of the `nbPoints`.
std::size_t PasEchantillon(std::size_t nbPoints, std::size_t maxPoints);

struct TSceneVue {
    TCouleurVue Fond = BlancVue;
    TViewport Viewport{};
    TmatGL16 Projection{};
    TmatGL16 ModeleVue{};
    TLotPoints Points;
    // While the view moves, only a fixed subset of at most MaxPointsEnMouvement points of the
    // batch is drawn.
    bool EnMouvement = false;
    std::size_t MaxPointsEnMouvement = PointsParImageEnMouvement;
    // A batch that does not fit a frame is drawn in slices of at most this many points, each
    // sized on the time the previous ones took.
    std::size_t MaxPointsParTranche = 4000000;
    std::vector<TTrace> Traces; // the study's overlay, rebuilt at every drawing
    TSymboleAxes Repere;
};

// The three arrows X (green), Y (red), Z (blue) of an axes symbol of size s.
std::vector<TFaceFleche> DessinerRepere(std::int32_t s);

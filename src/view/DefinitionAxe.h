#pragma once
// "Définir axe X": two points picked in the view fix a new horizontal X axis, and the scan's point
// source file is rewritten in that frame, its lower corner at (0, 0, 0).

#include "geometry/UtilsVect.h"
#include "util/Progression.h"

#include <cstdint>
#include <optional>
#include <string>

inline constexpr const char* MsgAxeIndefini =
    "les deux points ont les mêmes X et Y : ils ne donnent pas de direction, choisir un autre "
    "2è point (échap pour annuler)";

// The rotation about Z that brings a horizontal direction onto +X, in 32-bit floats.
struct TRotationAxe {
    float c, s;

    TV3S Appliquer(const TV3S& p) const;
    // A plan point's place in the new frame whose origin is `coin` of the turned points, in
    // 64-bit: the points of the study follow the cloud without its 32-bit roundings.
    TV2R Plan(const TV2R& p, const TV3S& coin) const;
};

// The rotation bringing the horizontal direction from O to P onto +X; none when O and P have the
// same X and Y.
std::optional<TRotationAxe> RotationAxe(const TV3S& O, const TV3S& P);

enum class TEtapeAxe {
    Aucune,         // no point awaited: nothing done
    OrigineRetenue, // the origin is kept, the X point awaited
    AxeIndefini,    // the X point gives no direction: refused, still awaited
    AxeDefini,      // both points kept, the mode back to 0
};

// The point q designated while `mode` awaits the origin (1) or the X point (2).
TEtapeAxe DesignerPointAxe(std::int32_t& mode, TV3S& origine, TV3S& pointX, const TV3S& q);

struct TRepereRecalcule {
    std::uint64_t NbPoints = 0;
    TV3S Etendue; // extent of the rewritten points, their box's upper corner; none without points
};

// Rewrites the point source file of the scan `pfSansExt` (the path without extension) through
// `rotation` then a translation of its lower corner to (0, 0, 0), with progress texts through
// `afficher` (which may stop it by throwing). Each pass writes a file that replaces its target
// only once complete: after a failure the source file is left whole.
TRepereRecalcule RecrireSourceDansRepere(const std::string& pfSansExt, const TRotationAxe& rotation,
                                         const TSortieProgression& afficher);

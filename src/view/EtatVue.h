#pragma once
// The camera: what the view shows and how, as the last drawing left it.

#include "geometry/UtilsGeom.h"

#include <array>
#include <cstdint>

struct TPointEcran {
    std::int32_t X = 0, Y = 0;
    bool operator==(const TPointEcran&) const = default;
};

struct TEtatVue {
    std::array<std::int32_t, 4> viewport{};
    TmatGL16 rotmatrix{};
    TmatGL16 rotmatrixrepere = IdentiteGL16(); // also after each reset of the workspace
    TmatGL16 mvmatrix{};
    TmatGL16 projmatrix{};
    std::int32_t VGLwidth = 0, VGLheight = 0;
    std::int32_t VGLcentreH = 0, VGLcentreV = 0;
    double AngRotZdeg = 0;
    double EchAff = 0;
    double RayonStruc = 0;
    double CoefZoom = 0;
    TV3S CentreRotAbs;
    std::int32_t LongAbsDeg = 0, LatAbsDeg = 0;
    TPointEcran mouseold;
    TPointEcran DebutGlissementSelection;
    // The pointer has moved, a button held, at least this many pixels (the system's drag
    // distance, summed over both axes) since the press: the release is the end of a drag, never
    // a click.
    std::int32_t DistanceGlissement = 10;
    bool Glisse = false;
    TV3x3R MCBproj3{};
    TV2x2R McbRotZ2 = {{{1, 0}, {0, 1}}};
    // The scan's box as last framed, and whether the next drawing fits it whole in the view.
    TV3S BoiteMin, BoiteMax;
    bool CadrageDemande = false;

    // The camera is being moved (wheel, middle button, zoom buttons): the drawings show a thinner
    // picture until the motion has paused.
    bool EnMouvement = false;

    // The scene's point batch and axes arrows must be rebuilt before the next drawing.
    bool PointsPerimes = true;
    bool ReperePerime = true;
};

// Buttons held down during a pointer move over the view.
struct TBoutonsSouris {
    bool Gauche = false;
    bool Milieu = false;
};

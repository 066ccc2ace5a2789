#pragma once
// What the heights of the structure are read from: the mean points of the displayed cubes, in
// the order of CubesAffiches, copied side by side so that a rebuild's many nearest-cube searches
// run over contiguous memory instead of following one pointer per cube.

#include "geometry/UtilsVect.h"

#include <vector>

class TCube;

class TReleveHauteurs {
public:
    // At least one cube (VerifierCubesAffiches).
    explicit TReleveHauteurs(const std::vector<TCube*>& cubes);
    // Height of the cube nearest p in plan: distances squared in double, rounded to 32 bits; the
    // first of equally near cubes wins; every cube counts, whatever its state.
    float HauteurAuPoint(const TV2R& p) const;

private:
    std::vector<float> x_, y_, z_;
};

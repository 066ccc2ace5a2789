#pragma once
// The matrices of a fixed-function graphics pipeline, computed without one, and the projection
// of a point into window pixels with the rule the view's picking and selection rely on.

#include "geometry/UtilsVect.h"

#include <array>
#include <cstdint>

// x, y, width, height, in pixels.
using TViewport = std::array<std::int32_t, 4>;

// a·b, both column by column.
TmatGL16 MultiplierGL16(const TmatGL16& a, const TmatGL16& b);

// The orthographic projection of the given ranges. An empty range gives the identity: the graphics
// library refuses such a projection and leaves the matrix as it was, loaded with the identity.
TmatGL16 MatriceOrtho(double gauche, double droite, double bas, double haut, double proche,
                      double loin);

// m followed by the translation (x, y, z).
TmatGL16 Translater(const TmatGL16& m, double x, double y, double z);

// Window coordinates of p: x from the viewport's left edge, y upwards from its bottom edge, z the
// depth in 0..1 inside the depth range. False, with `fenetre` untouched, when the homogeneous
// coordinate is 0.
bool ProjeterPoint(const TV3R& p, const TmatGL16& modeleVue, const TmatGL16& projection,
                   const TViewport& viewport, TV3R& fenetre);

// Brings a whole number of degrees into -359..359.
std::int32_t NormaliserAngle(std::int32_t angle);

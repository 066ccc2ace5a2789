#pragma once
// Whether the studied quarter lies on the survey: a quarter over no point would be studied on the
// heights of cubes outside it and give figures of nothing.

#include "geometry/RectangleModelisation.h"
#include "scan/ListeCubes.h"

#include <vector>

class TCube;

// A cube that is not deleted has its mean point in plan inside the quarter (its four frontier
// points in turn: key, side 1, springing, side 2) or within a millimetre of its edge.
bool QuartierContientUnPoint(const TRectangleModelisation& quartier, const TListeCubes& cubes);

#pragma once
// The read-out of a point picked in the view: its coordinates in the survey's own frame and, on
// demand, its distance to the point picked before it.

#include "geometry/UtilsVect.h"

#include <optional>
#include <string>

// "X = 652314.125 Y = 6862210.500 Z = 45.250", then " ; distance : 3.214 m" when `precedent` is
// given; millimetres, "." as the decimal separator whatever the locale.
std::string TexteLecturePoint(const TV3R& point, const std::optional<TV3R>& precedent);

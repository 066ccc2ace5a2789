#pragma once
// Small scans written as XYZ text for the tests.

#include <string>

// n points on a 3 x 2 m grid of 1 cm steps starting at (x0, y0, 40), colours from their index.
std::string XYZGrille(int n, double x0 = 100.0, double y0 = 200.0);

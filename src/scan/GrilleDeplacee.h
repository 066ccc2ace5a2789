#pragma once
// The survey as shown cut by another grid: how much a study owes to where the cube boundaries
// happen to fall.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

// Builds into `cible` (empty) the survey of `source` as the user sees it (its deleted points
// left out), every point moved by `deplacement`: the same survey in a grid displaced by
// -deplacement. Each point is its deepest cube's mean point, as many times as the cube holds
// points, so that every level's means weigh the points as the survey's own do. The displayed
// level is the source's.
void ConstruireGrilleDeplacee(const TEtatScan& source, const TV3R& deplacement, TEtatScan& cible,
                              const TSortieProgression& sortie);

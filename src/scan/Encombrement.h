#pragma once
// The bounding box and the level-0 grid of a scan that lost cubes (a compaction): a stray point
// that was deleted must no longer stretch the box, which places the studied quarter, frames the
// view and is saved with the scan.

#include "scan/UArkaluneGlb.h"

#include <functional>

// Narrows each side of the box that no remaining deepest cube reaches to the means of those
// cubes (what a save writes as points); a side that a remaining cube still reaches keeps its
// value, so that deleting points inside the scan changes nothing. Then sizes the grid to the box
// and puts each level-0 cube back in its cell. Without any cube left nothing changes.
// `entretenir` is called every few thousand cubes (the window's events served meanwhile).
void AjusterEncombrement(TEtatScan& scan, const std::function<void()>& entretenir = {});

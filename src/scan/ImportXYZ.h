#pragma once
// The XYZ import: "X Y Z R G B" text into the scan's grid.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <cstdint>
#include <string>

// Loads the text file into `scan`, which is empty with its box reset. Returns how many lines were
// not points. Throws when the file holds no point or too many, or when their extent does not fit
// the grid; the scan's count, box, shift (survey grids) and grid are set only once the points
// have all been read.
std::int64_t ImporterXYZ(TEtatScan& scan, const std::string& chemin,
                         const TSortieProgression& sortie);

#pragma once
// The loaded scan moved into a new frame: its points turned, their lower corner brought to
// (0, 0, 0), and the grid rebuilt from them as a load of those points would build it.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <cstdint>
#include <functional>
#include <string>

using TTransformationPoint = std::function<TV3S(const TV3S&)>;

// The scan's points are the mean points of its deepest level's cubes that are not deleted, with
// their colours, as a save writes them. Each is turned by `tourner`, the lower corner of the turned
// points is brought to (0, 0, 0), and the grid, the box and the displayed level's list are
// rebuilt from them; the cubes carry no state afterwards. The turned points wait in a file of the
// program's own named from `prefixeProvisoire`. The new grid is built beside the old one and takes
// its place only when complete: after an error, or a stop thrown by `sortie`, the scan is as it
// was. Without a point nothing is done.
struct TRecadrage {
    std::int64_t NbPoints = 0; // of the rebuilt scan
    TV3S Coin;                 // the lower corner of the turned points, brought to (0, 0, 0)
};
TRecadrage RecadrerScan(TEtatScan& scan, const TTransformationPoint& tourner,
                        const std::string& prefixeProvisoire, const TSortieProgression& sortie);

#pragma once
// The E57 reader: every scan of the file, placed by its pose, streamed as points.

#include "scan/PointsLus.h"

#include <string>

TBilanLecture LireE57(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

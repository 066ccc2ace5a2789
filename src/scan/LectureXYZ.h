#pragma once
// The XYZ text reader: "X Y Z R G B" lines.

#include "scan/PointsLus.h"

// Lines that are not points (see LireLigneXYZ) are counted as ignored.
TBilanLecture LireXYZ(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

// A reader's status text for `n` lines that were not points ("12 lignes ignorées (ce ne sont
// pas des points X Y Z)"); empty for none.
TBilanLecture BilanLignesIgnorees(std::int64_t n);

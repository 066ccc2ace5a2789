#pragma once
// The PTS and PTX readers: text exports of terrestrial scanners.

#include "scan/PointsLus.h"

// PTS: a line with the count of points, then "x y z", "x y z intensity", "x y z r g b" or
// "x y z intensity r g b" lines; a file may hold several such blocks.
TBilanLecture LirePTS(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

// PTX: blocks of one scan each: its columns and rows, the scanner's position and axes (ignored)
// and the 4x4 transformation of its points to the common frame, then columns x rows lines
// "x y z intensity [r g b]". The transformation is applied; "0 0 0" points, the scanner's
// missing returns, are skipped.
TBilanLecture LirePTX(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

#pragma once
// The import shared by every survey reader: the points a reader gives wait in a temporary file,
// at 64 bits as read, while the bounding box grows and the shift is decided from all of them;
// the grid is then built from them, shifted and rounded to 32 bits.

#include "scan/PointsLus.h"

#include <optional>

// Loads the points `lecteur` reads from `chemin` into `scan`, which is empty with its box reset.
// Throws when the file is refused, holds no point or too many, or when their extent does not fit
// the grid; the scan's count, box, shift and grid are set only once the points have all been
// read.
// With a zone, only the points whose plan position lies in it are loaded: the scan is then the one
// a file holding those points alone would give.
TBilanLecture ImporterPoints(TEtatScan& scan, const std::string& chemin, TLecteurPoints lecteur,
                             const TSortieProgression& sortie,
                             const std::optional<TZonePlan>& zone = {});

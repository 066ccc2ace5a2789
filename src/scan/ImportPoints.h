#pragma once
// The import shared by every survey reader: the points a reader gives are turned into records in
// a temporary file while the bounding box grows, then the grid is built from them.

#include "scan/PointsLus.h"

// Points the shift of a survey in a national grid is decided from: the first ones of the file.
inline constexpr std::size_t TailleEchantillonDecalage = 65536;

// The shift of the survey whose first points are `echantillon`: per axis, the median of their
// coordinates, rounded down to 1000 m, when that median reaches the bound; none otherwise. A few
// far points (a "0 0 0" return at the head of a survey) do not decide it.
TDecalage DecalageDuReleve(const TPointLu* echantillon, std::size_t n);

// Loads the points `lecteur` reads from `chemin` into `scan`, which is empty with its box reset.
// Throws when the file is refused, holds no point or too many, or when their extent does not fit
// the grid; the scan's count, box, shift and grid are set only once the points have all been
// read.
TBilanLecture ImporterPoints(TEtatScan& scan, const std::string& chemin, TLecteurPoints lecteur,
                             const TSortieProgression& sortie);

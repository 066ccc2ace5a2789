#pragma once
// The PLY reader: ascii, binary little or big endian.

#include "scan/PointsLus.h"

// The `vertex` element's x, y, z of any numeric type, and its red, green, blue: 8-bit values as
// they are, 16-bit ones by their high byte, reals from 0..1. Other properties and elements (faces)
// are skipped.
TBilanLecture LirePLY(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

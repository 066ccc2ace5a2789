#pragma once
// The LAS reader: versions 1.0 to 1.4, point formats 0 to 10, uncompressed.

#include "scan/PointsLus.h"

// The records' integer coordinates are scaled and offset in 64 bits; colours, stored on 16 bits,
// keep their high byte, or are taken as they are when no value of the file exceeds 255 (files that
// store 8-bit colours in the 16-bit fields). Variable-length records, extra bytes and waveforms are
// skipped. A compressed file is refused with how to get an uncompressed one.
TBilanLecture LireLAS(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie);

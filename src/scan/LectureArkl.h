#pragma once
// The binary scan file reader (.arkl).

#include "scan/FichierArkl.h"
#include "util/Progression.h"

#include <cstdint>
#include <string>

struct TLectureArkl {
    TEnTeteArkl EnTete;
    std::int64_t HorsGrille = 0; // records outside the box of the header, skipped
};

// Loads the file into `scan`, which is empty. The header is decoded and checked (version, level
// of the points, count against the file's size, extent of the box) before the scan is touched;
// the header is returned for what it carries beside the points.
TLectureArkl LireArkl(TEtatScan& scan, const std::string& chemin, const TSortieProgression& sortie);

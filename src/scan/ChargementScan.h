#pragma once
// Loading a scan file into a scan: the reader chosen by the extension in the table of formats, the
// grid and its means.

#include "scan/FichierArkl.h"
#include "scan/PointsLus.h"
#include "util/Erreurs.h"
#include "util/Progression.h"

#include <cstdint>
#include <optional>
#include <string>

// What a loaded file carried beside its points.
struct TScanLu {
    // A binary scan file's header (study block, displayed level, rotation, by its version), for
    // the workspace to apply; none for a survey file.
    std::optional<TEnTeteArkl> EnTete;
    // The level to show first.
    int NiveauAffiche = 2;
    // The shift of the coordinates and the lines or records that were skipped, for the status
    // bar; empty when there was neither.
    std::string Bilan;
    // The lines or records skipped: points of the file that the scan does not hold.
    std::int64_t NbIgnores = 0;
    // The file's coordinates are 32-bit reals (see TBilanLecture).
    bool Reels32Bits = false;
};

// Replaces what `scan` held by the file's points, only those of `zone` when there is one (a survey
// file; a binary scan is refused with a zone). A refused file throws its message and leaves the
// scan empty, as TEtatScan::Reinitialiser does.
TScanLu ChargerFichierScan(TEtatScan& scan, const std::string& chemin,
                           const TSortieProgression& sortie,
                           const std::optional<TZonePlan>& zone = {});

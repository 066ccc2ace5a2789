#pragma once
// Saving the cubes of one level as a binary scan file (version 3) or as XYZ text. Both write
// through a temporary file: a failure leaves the previous file as it was.

#include "scan/FichierArkl.h"
#include "util/Progression.h"

#include <string>

// Throws when the scan has no such level, or no cube to save.
void VerifierEnregistrable(const TEtatScan& scan, int niveau);

// `enTete` carries the study block, the displayed level and the rotation; the level, count and box
// of the records are filled here from the scan.
void EcrireScanArkl(const TEtatScan& scan, int niveau, TEnTeteArkl enTete,
                    const std::string& chemin, const TSortieProgression& sortie);
void EcrireScanXYZ(const TEtatScan& scan, int niveau, const std::string& chemin);

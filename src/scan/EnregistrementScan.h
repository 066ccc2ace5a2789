#pragma once
// Saving the cubes of one level as a binary scan file (version 6, with the cubes above them) or as
// XYZ text. Both write through a temporary file: a failure leaves the previous file as it was.

#include "scan/FichierArkl.h"
#include "util/Progression.h"

#include <string>

// The file a scan is saved to in a format whose own extension is `propre` (".arkl"):
// `sansExtension` and the extension the user typed when it is that one in any case ("scan.ARKL"
// stays so, and "scan.arkl", which may be another file, is left alone), `propre` otherwise.
std::string CheminEnregistrement(const std::string& sansExtension, const std::string& extension,
                                 const std::string& propre);

// Throws when the scan has no such level, or no cube to save.
void VerifierEnregistrable(const TEtatScan& scan, int niveau);

// `enTete` carries the study block, the displayed level and the rotation; the level, count and box
// of the records are filled here from the scan.
void EcrireScanArkl(const TEtatScan& scan, int niveau, TEnTeteArkl enTete,
                    const std::string& chemin, const TSortieProgression& sortie);
void EcrireScanXYZ(const TEtatScan& scan, int niveau, const std::string& chemin);

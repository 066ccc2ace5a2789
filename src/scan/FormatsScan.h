#pragma once
// The survey and scan files the program knows: one row per format, used by the load, the save,
// the batch command, the generator and the window's dialogs.

#include "scan/FichierArkl.h"
#include "scan/PointsLus.h"

#include <string>
#include <vector>

// Writes the cubes of one level to `chemin`; `enTete` carries the study block, the displayed
// level and the rotation for the formats that keep them.
using TEcrivainScan = void (*)(const TEtatScan& scan, int niveau, const TEnTeteArkl& enTete,
                               const std::string& chemin, const TSortieProgression& sortie);

struct TFormatScan {
    // For the dialogs: "relevé LAS".
    const char* Nom;
    // Lower case, with their dot; the first is the one a saved file takes.
    std::vector<std::string> Extensions;
    // None for the program's binary scan file, which is read with its header.
    TLecteurPoints Lecteur;
    // None when the program does not write the format.
    TEcrivainScan Ecrivain;
    // False for an extension that is known only to be refused with its reason (compressed
    // LAS): the open dialog does not offer it.
    bool Propose = true;
};

const std::vector<TFormatScan>& FormatsScan();
// The format of the file by its extension, in any case; null when none has it.
const TFormatScan* FormatSelonExtension(const std::string& chemin);
const TFormatScan& FormatArkl();
const TFormatScan& FormatXYZ();
// The extensions that are read, for the messages: ".arkl, .xyz, .las, ...".
std::string ExtensionsLues();

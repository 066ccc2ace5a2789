#pragma once
// Writing a synthetic vault to a file, as XYZ text, as a binary scan file or as E57.

#include "EcritureE57.h"
#include "VouteSynthetique.h"

#include <string>

// `chemin` ends in ".xyz": the NbPoints points as XYZ text lines. It ends in ".arkl": the same
// points loaded and saved by the program itself (one record per 1.6 mm cube, the saver's
// header). A survey format's extension (.csv, .txt, .pts, .ptx, .ply, .las): the points of the
// XYZ text in that format. It ends in ".e57": those points again, each station's as one scan in
// the station's frame, with its pose. Throws EErreur (French message) for another extension or a
// failed write; a previous file of that name is then left as it was.
struct TOptionsE57 {
    TCodageE57Ecrit Codage = TCodageE57Ecrit::Reel64;
    bool Couleur = true;
    // One record flagged invalid after every `Invalides` points (none when 0).
    std::int64_t Invalides = 0;
};
void EcrireVoute(const TParametresVoute& parametres, const std::string& chemin,
                 const TOptionsE57& e57 = {});

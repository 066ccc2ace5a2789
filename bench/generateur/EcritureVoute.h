#pragma once
// Writing a synthetic vault to a file, as XYZ text or as a binary scan file.

#include "VouteSynthetique.h"

#include <string>

// `chemin` ends in ".xyz": the NbPoints points as XYZ text lines. It ends in ".arkl": the same
// points loaded and saved by the program itself (one record per 1.6 mm cube, the saver's
// header). A survey format's extension (.csv, .txt, .pts, .ptx, .ply, .las): the points of the
// XYZ text in that format. Throws EErreur (French message) for another extension or a failed write;
// a previous file of that name is then left as it was.
void EcrireVoute(const TParametresVoute& parametres, const std::string& chemin);

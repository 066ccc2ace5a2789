#pragma once
// One line of XYZ text: "X Y Z R G B".

#include "scan/UArkaluneGlb.h"

#include <string>
#include <string_view>

// Reads a line into a point. False when the line is not a point: its first three fields are not
// all decimal numbers (an empty line, a header, text, comma decimals, nan or inf). Fields are
// separated by runs of spaces or tabs; a missing or non-numeric colour reads as 0, and only the
// low 8 bits of a colour are kept.
bool LireLigneXYZ(std::string_view ligne, TPointScan& point);

// Appends "%.8f %.8f %.8f  %3.3d %3.3d %3.3d" and CR LF.
void AjouterLigneXYZ(std::string& sortie, const TV3S& p, const TV4By& couleur);

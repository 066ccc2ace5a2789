#pragma once
// One line of XYZ text: "X Y Z R G B".

#include "scan/UArkaluneGlb.h"

#include <string>
#include <string_view>

// Reads a line into its coordinates, at their full 64 bits, and its colour. False when the line
// is not a point: its first three fields are not all decimal numbers (an empty line, a header,
// text, comma decimals, nan or inf). Fields are separated by runs of spaces or tabs; a missing or
// non-numeric colour reads as 0, and only the low 8 bits of a colour are kept; the fourth byte is
// 0.
bool LireLigneXYZ(std::string_view ligne, TV3R& coo, TV4By& couleur);

// A coordinate rounded to 32 bits; beyond the 32-bit range it becomes an infinity, which the
// sizing of the grid then refuses.
float VersFloat(double v);

// Appends "%.8f %.8f %.8f  %3.3d %3.3d %3.3d" and CR LF.
void AjouterLigneXYZ(std::string& sortie, const TV3R& p, const TV4By& couleur);

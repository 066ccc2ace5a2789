#pragma once
// The delimited text reader (.csv, .txt): a point a line, its fields separated by ";", ",", a tab
// or runs of spaces, found from the first lines.
//
// A line that names the columns ("X;Y;Z;R;G;B" in any case and order, "east;north;height",
// "x,y,z,red,green,blue", "z (m),x (m),y (m)", "//X,Y,Z"), among the lines before the first point,
// places them; without one the columns are X Y Z R G B. A first line that names columns but not
// X, Y and Z has the file refused: its columns would be taken in a wrong order. With ";" or a tab
// as separator, or spaces between numbers written with a decimal comma, the comma is read as a
// point (French exports). Lines that are not points are counted as ignored, as for XYZ text.
#include "scan/PointsLus.h"

#include <string>
#include <string_view>
#include <vector>

TBilanLecture LireTexteDelimite(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                                const TSortieProgression& sortie);

// How the lines of a file are cut and read.
struct TDispositionTexte {
    // 0: runs of spaces or tabs.
    char Separateur = 0;
    bool VirguleDecimale = false;
    // The field of X, Y, Z, R, G, B; -1 for a colour the file does not give.
    int Colonnes[6] = {0, 1, 2, 3, 4, 5};
    // The line among the first ones (not counting empty ones) that names the columns, -1 when
    // none does.
    int LigneEnTete = -1;
    // The names of a first line that names columns but not X, Y and Z; empty otherwise.
    std::vector<std::string> NomsSansCoordonnees;
};

// The layout found from the first lines of a file.
TDispositionTexte DetecterDisposition(const std::vector<std::string>& premieresLignes);

#pragma once
// The delimited text reader (.csv, .txt): a point a line, its fields separated by ";", ",", a tab
// or runs of spaces, found from the first lines.
//
// A first line that names its columns ("X;Y;Z;R;G;B" in any case and order, "east;north;height",
// "x,y,z,red,green,blue") places them; without one the columns are X Y Z R G B. With ";" or a
// tab as separator, a decimal comma is read as a point (French exports). Lines that are not
// points are counted as ignored, as for XYZ text.
#include "scan/PointsLus.h"

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
    // The first line names the columns and is no point.
    bool EnTete = false;
};

// The layout found from the first lines of a file.
TDispositionTexte DetecterDisposition(const std::vector<std::string>& premieresLignes);

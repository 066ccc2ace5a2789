#pragma once
// What the survey readers' tests share: the points a reader gives, and the refusal of a file
// checked through the workspace's load.

#include "scan/PointsLus.h"

#include <string>
#include <vector>

struct TLuEssai {
    std::vector<TPointLu> Points;
    TBilanLecture Bilan;
};

// Every point `lecteur` reads from `chemin`, in order, with the colour the import keeps.
TLuEssai LirePoints(TLecteurPoints lecteur, const std::string& chemin);

// Something the reader must refuse: the file's name (its extension chooses the reader), its bytes
// and the message expected after "fichier « <chemin> » : ".
struct TRefusEssai {
    const char* nom;
    std::string contenu;
    std::string raison;
};

// Each file is loaded by a workspace that held a survey: the message is the expected one, the
// workspace is left empty and the folder holds nothing but the file.
void VerifierRefus(const std::vector<TRefusEssai>& cas);

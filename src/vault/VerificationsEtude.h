#pragma once
// Conditions without which the structure cannot be built: the commands refuse with a message
// and leave the previous structure as it was.

#include "scan/ListeCubes.h"
#include "util/Erreurs.h"

#include <vector>

class TCube;

// A quarter that holds no survey to read its heights from: the study stays where it is, so that
// the user can move the quarter.
class EQuartierVide : public EErreur {
public:
    using EErreur::EErreur;
};

// Heights are read from the displayed cubes: with none (no scan), there is nothing to read.
inline void VerifierCubesAffiches(const TListeCubes& cubesAffiches) {
    if (cubesAffiches.empty())
        throw EErreur("aucun point affiché : chargez un scan avant de construire la structure");
}

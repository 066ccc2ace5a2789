#pragma once
// The six validated inputs of the vault study, configured as the window shows them.

#include "fields/CGenEdit.h"

#include <string>

struct TChampsEtude {
    TCustomGenEdit GEdLargeurAretier{"GEdLargeurAretier"};
    TCustomGenEdit GEdNbArcsVoute{"GEdNbArcsVoute"};
    TCustomGenEdit GEdMlinAretier{"GEdMlinAretier"};
    TCustomGenEdit GEdMsurfVoute{"GEdMsurfVoute"};
    TCustomGenEdit GEdMvolRemplissage{"GEdMvolRemplissage"};
    TCustomGenEdit GEdNivRemplissage{"GEdNivRemplissage"};
    TChampsEtude();
    // The study computes only with values their fields accept: empty when every field accepts
    // its text, otherwise the reason naming the first field that refuses it. `structure`: only
    // the two fields of the structure (the rib's width and the number of arcs).
    std::string ValeurRefusee(bool structure = false) const;
};

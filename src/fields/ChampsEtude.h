#pragma once
// The validated inputs of the vault study, configured as the window shows them.

#include "fields/CGenEdit.h"

#include <string>

struct TChampsEtude {
    TCustomGenEdit GEdLargeurAretier{"GEdLargeurAretier"};
    TCustomGenEdit GEdNbArcsVoute{"GEdNbArcsVoute"};
    TCustomGenEdit GEdMlinAretier{"GEdMlinAretier"};
    TCustomGenEdit GEdMsurfVoute{"GEdMsurfVoute"};
    TCustomGenEdit GEdMvolRemplissage{"GEdMvolRemplissage"};
    TCustomGenEdit GEdNivRemplissage{"GEdNivRemplissage"};
    // The rib's springing level relative to the key, used instead of the one read from the
    // cloud when CkBxNivAppui is checked.
    TCustomGenEdit GEdNivAppui{"GEdNivAppui"};
    bool CkBxNivAppui = false;
    TChampsEtude();
    // The study computes only with values their fields accept: empty when every field accepts
    // its text, otherwise the reason naming the first field that refuses it. `structure`: only
    // the fields of the structure (the rib's width, the number of arcs, the springing level).
    std::string ValeurRefusee(bool structure = false) const;
};

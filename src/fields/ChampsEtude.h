#pragma once
// The six validated inputs of the vault study, configured as the window shows them.

#include "fields/CGenEdit.h"

struct TChampsEtude {
    TCustomGenEdit GEdLargeurAretier{"GEdLargeurAretier"};
    TCustomGenEdit GEdNbArcsVoute{"GEdNbArcsVoute"};
    TCustomGenEdit GEdMlinAretier{"GEdMlinAretier"};
    TCustomGenEdit GEdMsurfVoute{"GEdMsurfVoute"};
    TCustomGenEdit GEdMvolRemplissage{"GEdMvolRemplissage"};
    TCustomGenEdit GEdNivRemplissage{"GEdNivRemplissage"};
    TChampsEtude();
};

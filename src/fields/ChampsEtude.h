#pragma once
// The six validated inputs of the vault study, configured as the window shows them.

#include "fields/CGenEdit.h"

struct TChampsEtude {
    TCustomGenEdit GEdLargeurAretier;
    TCustomGenEdit GEdNbArcsVoute;
    TCustomGenEdit GEdMlinAretier;
    TCustomGenEdit GEdMsurfVoute;
    TCustomGenEdit GEdMvolRemplissage;
    TCustomGenEdit GEdNivRemplissage;
    TChampsEtude();
};

#include "fields/ChampsEtude.h"

TChampsEtude::TChampsEtude() {
    GEdLargeurAretier.TypeText("20");
    GEdNbArcsVoute.TypeText("5");
    GEdMlinAretier.TypeText("100");
    GEdMsurfVoute.TypeText("150");
    GEdMvolRemplissage.TypeText("0");
    GEdNivRemplissage.TypeText("0");
}

#pragma once
// The real power of "^", PUISS, PUI3 and RAC3: whole exponents by repeated multiplication, so
// that a negative base keeps its sign rules; any other exponent of a negative base is refused.

#include "util/Erreurs.h"

class EErrOperationInvalide : public EErreur {
public:
    using EErreur::EErreur;
};

double PuissanceReelle(double x, double y);

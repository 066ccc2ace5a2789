#pragma once
// The framing of a scan: the camera turns about the middle of its box, the scale follows its
// diagonal, and no zoom is left over.

#include "view/EtatVue.h"

void CalculerCadrage(TEtatVue& vue, const TV3S& mini, const TV3S& maxi);

#pragma once
// Pieces of the results report that stand on their own.

#include "vault/EtudeVoute.h"
#include "vault/StructureVoute.h"

#include <string>

// The HTML table of the support actions of the arcs of one half-quarter: number, weight
// (negative, downwards) and thrust along the rib, rounded to whole daN.
std::string TableArcs(const TQuartier& Q);

// The line a printed report repeats at the head of every page: program and version, survey,
// date of the calculation.
std::string EnTeteRapport(const TContexteRapport& contexte);

// Name of the quadrant of quarter `q1a4` ("X+,Y+" for 1 ...); "?" outside 1..4.
const char* NomQuadrant(std::int32_t q1a4);

#pragma once
// How much the actions at the springing owe to what the method leaves to chance: the level of
// the cubes the heights are read from, and where the grid's boundaries happen to fall.

#include "geometry/UtilsVect.h"

#include <optional>
#include <string>
#include <vector>

// The study made again with one thing changed.
struct TVarianteEtude {
    std::string Nom;             // "niveau 3", "grille décalée en X"
    std::optional<TV3R> Efforts; // as EffortsSurAppui; none when this study was refused
    std::string Refus;           // why, then
};

// The extremes of one action over the study and its variants, and what gave them.
struct TEtendueEffort {
    double Min = 0, Max = 0;
    std::string NomMin, NomMax;
};

struct TSensibilite {
    std::vector<TVarianteEtude> Variantes;
    // Action `a` as the caption gives it (0: FX, 1: FY, 2: FZ, the weight counted negative) over
    // the study itself, whose actions are `etude`, and every variant that gave a result.
    TEtendueEffort Etendue(const TV3R& etude, int a) const;
};

// The actions as the caption names them.
inline constexpr const char* NomsActions[3] = {"FX", "FY", "FZ"};

// Action `a` of `efforts` as the caption gives it.
double ActionAffichee(const TV3R& efforts, int a);

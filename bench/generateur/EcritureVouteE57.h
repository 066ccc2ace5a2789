#pragma once
// The synthetic vault as an E57 file: one scan per station.

#include "EcritureVoute.h"

void EcrireVouteE57(const TParametresVoute& parametres, const std::string& chemin,
                    const TOptionsE57& options);

#pragma once
// The synthetic vault written as the survey files of other tools (delimited text, PTS, PTX, PLY,
// LAS), for the readers' round trip and benchmarks.

#include "VouteSynthetique.h"

#include <functional>
#include <string>

// A point as the XYZ text of the same survey gives it: the coordinate of its line, read back.
using TRecevoirPointReleve = std::function<void(const TV3R& p, const TV4By& couleur)>;
void PointsDuReleve(const TParametresVoute& parametres, const TRecevoirPointReleve& recevoir);

// The writer of the survey format of `chemin`'s extension; none for another extension.
using TEcrireReleve = void (*)(const TParametresVoute& parametres, const std::string& chemin);
TEcrireReleve EcrivainReleve(const std::string& chemin);

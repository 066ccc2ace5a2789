#pragma once
// Vaults of known shape for the study's tests: a cloud z = hauteur(x, y) sampled on a grid,
// written as XYZ text and loaded (level 2, the displayed one, keeps one cube per point).

#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

struct TNuage {
    double x0 = 0, x1 = 8, y0 = 0, y1 = 8;
    double pas = 0.25;
    std::function<double(double, double)> hauteur = [](double, double) { return 3.0; };
};

std::string XYZNuage(const TNuage& nuage);

// A workspace and its private folder; Charger loads a cloud into it.
struct TEtudeEssai : ::testing::Test {
    TDossierTemporaire Dossier;
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;
    void Charger(const TNuage& nuage = {});
};

// A dome over the bay: the key at the centre, `fleche` above the springing corners.
std::function<double(double, double)> Dome(const TNuage& baie, double zAppui, double fleche);

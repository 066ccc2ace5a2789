#pragma once
// Vaults of known shape for the study's tests: a cloud z = hauteur(x, y) sampled on a grid,
// written as XYZ text and loaded (level 2, the displayed one, keeps one cube per point).

#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct TNuage {
    double x0 = 0, x1 = 8, y0 = 0, y1 = 8;
    double pas = 0.25;
    std::function<double(double, double)> hauteur = [](double, double) { return 3.0; };
};

std::string XYZNuage(const TNuage& nuage);

// A survey given point by point, written to the millimetre.
struct TPointLeve {
    double x, y, z;
};
// A dome over an 8 x 6 m bay (springing at 4 m, rise 2.5 m) and a pier of 30 x 30 cm under each
// corner, up to the springing.
std::vector<TPointLeve> VouteSurPiles();
// The points as XYZ text, moved by whole metres: the same digits with the metres changed, as two
// exports of one survey in two frames would be.
std::string XYZPoints(const std::vector<TPointLeve>& points, const TPointLeve& deplacement = {});

// A workspace and its private folder; Charger loads a cloud into it.
struct TEtudeEssai : ::testing::Test {
    TDossierTemporaire Dossier;
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;
    void Charger(const TNuage& nuage = {});
};

// A dome over the bay: the key at the centre, `fleche` above the springing corners.
std::function<double(double, double)> Dome(const TNuage& baie, double zAppui, double fleche);

#pragma once
// Small scans written as XYZ text for the tests.

#include "scan/UArkaluneGlb.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"
#include "util/EnParties.h"
#include "util/Progression.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// n points on a 3 x 2 m grid of 1 cm steps starting at (x0, y0, 40), colours from their index.
std::string XYZGrille(int n, double x0 = 100.0, double y0 = 200.0);

// Builds `scan` (empty) from the points in that file order, its deepest level `nivMax`, as a
// reader does: box, grid, cubes and means, the work cut in `parties`.
void ConstruireDepuisPoints(TEtatScan& scan, const std::vector<TPointScan>& points, int nivMax = 4,
                            int parties = PartiesParDefaut());

// A workspace holding a loaded scan of 3000 points, in a private folder.
struct TScanCharge : ::testing::Test {
    TDossierTemporaire Dossier;
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;
    void SetUp() override {
        EcrireFichier(Dossier.Chemin("scan.xyz"), XYZGrille(3000));
        ASSERT_TRUE(T.ChargerScan(Dossier.Chemin("scan.xyz")));
    }
};

// The same scan loaded without a workspace, its first level shown; the progress texts are kept.
struct TScanSeul : ::testing::Test {
    TDossierTemporaire Dossier;
    TEtatScan Scan;
    std::vector<std::string> Textes;
    TSortieProgression Sortie = [this](const std::string& t) { Textes.push_back(t); };
    void SetUp() override;
};

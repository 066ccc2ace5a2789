#pragma once
// Small scans written as XYZ text for the tests.

#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <gtest/gtest.h>
#include <string>

// n points on a 3 x 2 m grid of 1 cm steps starting at (x0, y0, 40), colours from their index.
std::string XYZGrille(int n, double x0 = 100.0, double y0 = 200.0);

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

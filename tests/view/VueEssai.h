#pragma once
// A workspace with cubes placed by hand, and views whose pixels are easy to reason about.

#include "support/PlateformeScriptee.h"
#include "view/EtatVue.h"

#include <deque>
#include <gtest/gtest.h>

// Window pixel (y upwards) of a cloud point, through the matrices of the view's last drawing.
TV3R PixelVue(const TEtatVue& vue, const TV3S& p);

struct TVueEssai : ::testing::Test {
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;

    // The cubes placed by hand: the view only reads the displayed cubes, whoever holds them.
    std::deque<TCube> CubesPoses;
    // A level-0 cube whose mean point is (x, y, z), appended to the displayed cubes.
    TCube* AjouterCube(float x, float y, float z, std::uint8_t etat = 0);

    // A top view drawn at 1 m per pixel: the cloud point (x, y, z) shows at window pixel (x, y),
    // y counted upwards, that is at mouse position (x, hauteur - y).
    void VueDeDessusUnMetreParPixel(int largeur, int hauteur);

    TV3R Pixel(const TV3S& p) const { return PixelVue(T.Vue, p); }
};

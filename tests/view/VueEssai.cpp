#include "VueEssai.h"

#include "view/Projection.h"

#include <algorithm>

TCube* TVueEssai::AjouterCube(float x, float y, float z, std::uint8_t etat) {
    TCube* c = &CubesPoses.emplace_back();
    c->CooMoyPts = {x, y, z};
    c->nbptscube = 1;
    c->etatSP = etat;
    T.Scan.CubesAffiches.push_back(c);
    return c;
}

void TVueEssai::VueDeDessusUnMetreParPixel(int largeur, int hauteur) {
    T.ScanPret = true;
    T.Vue.RayonStruc = 0.5 * std::max(largeur, hauteur);
    T.Vue.CoefZoom = 1;
    T.Vue.CentreRotAbs = {float(largeur) / 2, float(hauteur) / 2, 0};
    T.Vue.AngRotZdeg = 0;
    T.OrienterVue(3);
    ASSERT_NE(T.VGLDraw(largeur, hauteur), nullptr);
}

TV3R PixelVue(const TEtatVue& vue, const TV3S& p) {
    TV3R w{-1e9, -1e9, -1e9};
    EXPECT_TRUE(ProjeterPoint({p.X, p.Y, p.Z}, vue.mvmatrix, vue.projmatrix, vue.viewport, w));
    return w;
}

#include "NuageEssai.h"

#include "util/Format.h"

#include <cmath>

std::string XYZNuage(const TNuage& n) {
    std::string texte;
    const int ni = int(std::lround((n.x1 - n.x0) / n.pas));
    const int nj = int(std::lround((n.y1 - n.y0) / n.pas));
    for (int i = 0; i <= ni; ++i)
        for (int j = 0; j <= nj; ++j) {
            const double x = n.x0 + i * n.pas, y = n.y0 + j * n.pas;
            texte += Formater("%.6f %.6f %.6f 120 110 100\n", x, y, n.hauteur(x, y));
        }
    return texte;
}

void TEtudeEssai::Charger(const TNuage& nuage) {
    const std::string chemin = Dossier.Chemin("voute.xyz");
    EcrireFichier(chemin, XYZNuage(nuage));
    ASSERT_TRUE(T.ChargerScan(chemin));
}

std::function<double(double, double)> Dome(const TNuage& b, double zAppui, double fleche) {
    const double xc = (b.x0 + b.x1) / 2, yc = (b.y0 + b.y1) / 2;
    const double ax = (b.x1 - b.x0) / 2, ay = (b.y1 - b.y0) / 2;
    return [=](double x, double y) {
        const double u = (x - xc) / ax, v = (y - yc) / ay;
        return zAppui + fleche * (1 - (u * u + v * v) / 2);
    };
}

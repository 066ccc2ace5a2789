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

std::vector<TPointLeve> VouteSurPiles() {
    TNuage baie{.x0 = 0, .x1 = 8, .y0 = 0, .y1 = 6, .pas = 0.1};
    const auto hauteur = Dome(baie, 4, 2.5);
    std::vector<TPointLeve> points;
    for (int i = 0; i <= 80; ++i)
        for (int j = 0; j <= 60; ++j)
            points.push_back({0.1 * i, 0.1 * j, hauteur(0.1 * i, 0.1 * j)});
    for (const double cx : {0.0, 7.7})
        for (const double cy : {0.0, 5.7})
            for (int i = 0; i <= 6; ++i)
                for (int j = 0; j <= 6; ++j)
                    for (int k = 0; k <= 30; ++k)
                        points.push_back({cx + 0.05 * i, cy + 0.05 * j, 0.13 * k});
    return points;
}

namespace {

std::string Millimetres(double v, double metres) {
    const long long mm = std::llround(v * 1000) + std::llround(metres) * 1000;
    const long long a = mm < 0 ? -mm : mm;
    return Formater("%s%lld.%03lld", mm < 0 ? "-" : "", a / 1000, a % 1000);
}

} // namespace

std::string XYZPoints(const std::vector<TPointLeve>& points, const TPointLeve& deplacement) {
    std::string t;
    for (const TPointLeve& p : points)
        t += Millimetres(p.x, deplacement.x) + " " + Millimetres(p.y, deplacement.y) + " " +
             Millimetres(p.z, deplacement.z) + "\n";
    return t;
}

#include "vault/FigureQuart.h"

#include "html/TexteHtml.h"
#include "util/Format.h"
#include "vault/EtudeVoute.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Largeur = 460, Hauteur = 340; // points
constexpr double Marge = 64;                   // room for the labels and the arrows
constexpr double LongueurFleche = 34;
constexpr double EcartTexte = 10;

const char* const CouleurContour = "#808080";
const char* const CouleurArcs = "#1f5fbf";
const char* const CouleurAretier = "#a01010";
const char* const CouleurActions = "#107010";

// Plan metres to drawing points: one scale for both axes, Y upwards in plan, downwards drawn.
class TCadrage {
public:
    explicit TCadrage(const std::vector<TV2R>& plan) {
        TV2R mini{plan.front()}, maxi{plan.front()};
        for (const TV2R& p : plan) {
            mini = {std::min(mini.X, p.X), std::min(mini.Y, p.Y)};
            maxi = {std::max(maxi.X, p.X), std::max(maxi.Y, p.Y)};
        }
        const double dx = std::max(maxi.X - mini.X, 1e-6), dy = std::max(maxi.Y - mini.Y, 1e-6);
        echelle_ = std::min((Largeur - 2 * Marge) / dx, (Hauteur - 2 * Marge) / dy);
        centre_ = {(mini.X + maxi.X) / 2, (mini.Y + maxi.Y) / 2};
    }
    TV2R operator()(const TV2R& p) const {
        return {Largeur / 2 + (p.X - centre_.X) * echelle_,
                Hauteur / 2 - (p.Y - centre_.Y) * echelle_};
    }

private:
    double echelle_ = 1;
    TV2R centre_;
};

void Polyligne(TFigureQuart& f, const std::vector<TV2R>& points, double epaisseur,
               const char* couleur) {
    for (std::size_t n = 1; n < points.size(); ++n)
        f.Traits.push_back({points[n - 1], points[n], epaisseur, couleur, false});
}

std::vector<TV2R> PlanArc(const TArc& arc, const TCadrage& cadrage) {
    std::vector<TV2R> points;
    for (const TPtArc& p : arc.pts)
        points.push_back(cadrage(p.XYarc));
    return points;
}

// A label beside `p`, away from `centre`.
TTexteFigure TexteAEcart(const TV2R& p, const TV2R& centre, std::string texte) {
    double ux = p.X - centre.X, uy = p.Y - centre.Y;
    const double n = std::hypot(ux, uy);
    if (n > 0) ux /= n, uy /= n;
    const int alignement = ux > 0.3 ? -1 : (ux < -0.3 ? 1 : 0);
    return {{p.X + ux * EcartTexte, p.Y + uy * EcartTexte}, std::move(texte), alignement};
}

// An arrow from `depart` along (ux, uy), named at its head.
void Fleche(TFigureQuart& f, const TV2R& depart, double ux, double uy, const char* couleur,
            const std::string& nom) {
    const TV2R bout{depart.X + ux * LongueurFleche, depart.Y + uy * LongueurFleche};
    f.Traits.push_back({depart, bout, 1.5, couleur, true});
    f.Textes.push_back(TexteAEcart(bout, depart, nom));
}

const char* Ancre(int alignement) {
    return alignement < 0 ? "start" : (alignement > 0 ? "end" : "middle");
}

std::string Base64(const std::string& octets) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string r;
    for (std::size_t i = 0; i < octets.size(); i += 3) {
        std::uint32_t bloc = std::uint32_t(std::uint8_t(octets[i])) << 16;
        if (i + 1 < octets.size()) bloc |= std::uint32_t(std::uint8_t(octets[i + 1])) << 8;
        if (i + 2 < octets.size()) bloc |= std::uint8_t(octets[i + 2]);
        for (std::size_t k = 0; k < 4; ++k)
            r += i + k <= octets.size() ? alphabet[(bloc >> (18 - 6 * k)) & 63] : '=';
    }
    return r;
}

} // namespace

std::array<TV2R, 3> PointeFleche(const TTraitFigure& t) {
    const double l = std::max(std::hypot(t.B.X - t.A.X, t.B.Y - t.A.Y), 1e-9);
    const double ux = (t.B.X - t.A.X) / l, uy = (t.B.Y - t.A.Y) / l;
    return {t.B, TV2R{t.B.X - 7 * ux - 3 * uy, t.B.Y - 7 * uy + 3 * ux},
            TV2R{t.B.X - 7 * ux + 3 * uy, t.B.Y - 7 * uy - 3 * ux}};
}

TFigureQuart FigureQuart(const TEtudeVoute& e) {
    TFigureQuart f;
    const TRectangleModelisation& rec = e.RecModl;
    if (rec.Q1a4 == 0) return f;
    f.Largeur = Largeur;
    f.Hauteur = Hauteur;
    std::vector<TV2R> plan{rec.XYcle, rec.XYL1, rec.XYapp, rec.XYL2};
    for (const TQuartier* q : {&e.Quartier1, &e.Quartier2})
        for (const TArc& a : q->Arcs)
            for (const TPtArc& p : a.pts)
                plan.push_back(p.XYarc);
    const TCadrage cadrage(plan);

    std::vector<TV2R> contour;
    for (int n = 1; n <= 5; ++n)
        contour.push_back(cadrage(rec.XYfront(n == 5 ? 1 : n)));
    Polyligne(f, contour, 0.8, CouleurContour);
    for (const TQuartier* q : {&e.Quartier1, &e.Quartier2})
        for (const TArc& a : q->Arcs)
            Polyligne(f, PlanArc(a, cadrage), 1, CouleurArcs);
    const std::vector<TV2R> aretier = PlanArc(e.ArcAretier.AA, cadrage);
    Polyligne(f, aretier.size() >= 2 ? aretier : std::vector<TV2R>{contour[0], contour[2]}, 2.5,
              CouleurAretier);

    const TV2R centre{(contour[0].X + contour[1].X + contour[2].X + contour[3].X) / 4,
                      (contour[0].Y + contour[1].Y + contour[2].Y + contour[3].Y) / 4};
    const char* const noms[] = {"clé", "quartier 1", "appui", "quartier 2"};
    for (int n = 0; n < 4; ++n)
        f.Points.push_back(contour[std::size_t(n)]);
    // The springing's label stays clear of the arrows of FX and FY drawn from it.
    const TV3R& F = e.EffortsSurAppuiNuage;
    const TV2R& appui = contour[2];
    const TV2R horsDesFleches{appui.X + (F.X >= 0 ? 1 : -1), appui.Y + (F.Y >= 0 ? 1 : -1)};
    for (int n = 0; n < 4; ++n)
        f.Textes.push_back(TexteAEcart(
            contour[std::size_t(n)],
            n == 2 ? TV2R{2 * appui.X - horsDesFleches.X, 2 * appui.Y - horsDesFleches.Y} : centre,
            noms[n]));
    // Each half's arcs named in the middle of the half, between its side and the rib.
    for (int n : {1, 3})
        f.Textes.push_back({{(contour[0].X + contour[2].X + 2 * contour[std::size_t(n)].X) / 4,
                             (contour[0].Y + contour[2].Y + 2 * contour[std::size_t(n)].Y) / 4},
                            n == 1 ? "arcs de droite" : "arcs de gauche",
                            0});

    // The action of the rib on its support, in the survey's axes: the arrows show the signs.
    if (e.AppuiCalculable) {
        if (F.X != 0) Fleche(f, contour[2], F.X > 0 ? 1 : -1, 0, CouleurActions, "FX");
        if (F.Y != 0) Fleche(f, contour[2], 0, F.Y > 0 ? -1 : 1, CouleurActions, "FY");
    }
    const TV2R origine{14, Hauteur - 14};
    Fleche(f, origine, 1, 0, "#000000", "X");
    Fleche(f, origine, 0, -1, "#000000", "Y");
    return f;
}

std::string SvgFigure(const TFigureQuart& f) {
    std::string s = Formater("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" "
                             "height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" font-family=\"Arial\" "
                             "font-size=\"%.0f\"><rect width=\"100%%\" height=\"100%%\" "
                             "fill=\"#ffffff\"/>",
                             f.Largeur, f.Hauteur, f.Largeur, f.Hauteur, PoliceFigure);
    for (const TTraitFigure& t : f.Traits) {
        s += Formater("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" "
                      "stroke-width=\"%.1f\"/>",
                      t.A.X, t.A.Y, t.B.X, t.B.Y, t.Couleur, t.Epaisseur);
        if (!t.Fleche) continue;
        const std::array<TV2R, 3> p = PointeFleche(t);
        s += Formater("<polygon points=\"%.1f,%.1f %.1f,%.1f %.1f,%.1f\" fill=\"%s\"/>", p[0].X,
                      p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, t.Couleur);
    }
    for (const TV2R& p : f.Points)
        s += Formater("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\"/>", p.X, p.Y);
    for (const TTexteFigure& t : f.Textes)
        s += Formater("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\" "
                      "dominant-baseline=\"middle\">",
                      t.P.X, t.P.Y, Ancre(t.Alignement)) +
             EchapperHtml(t.Texte) + "</text>";
    return s + "</svg>";
}

std::string SourceFigure(const TFigureQuart& f) {
    return "data:image/svg+xml;base64," + Base64(SvgFigure(f));
}

#pragma once
// The plan of the studied quarter drawn from the study: frontier points, the quarter's outline,
// the rib and the vault arcs, the survey's axes and the directions of FX and FY at the
// springing. A list of strokes, discs and labels in drawing units (points, Y downwards), which
// the report writes as SVG and the printed report paints.

#include "geometry/UtilsVect.h"

#include <array>
#include <string>
#include <vector>

class TEtudeVoute;

struct TTraitFigure {
    TV2R A, B;
    double Epaisseur = 1;
    const char* Couleur = "#000000";
    bool Fleche = false; // an arrow head at B
};

struct TTexteFigure {
    TV2R P;
    std::string Texte;
    int Alignement = 0; // -1 starts at P, 0 centred on P, 1 ends at P (vertically centred)
};

struct TFigureQuart {
    double Largeur = 0, Hauteur = 0;
    std::vector<TTraitFigure> Traits;
    std::vector<TV2R> Points; // the frontier points, as discs
    std::vector<TTexteFigure> Textes;
    bool Vide() const { return Traits.empty(); }
};

inline constexpr double PoliceFigure = 9; // points

// The head of the arrow that ends stroke `t`: its tip and its two back corners.
std::array<TV2R, 3> PointeFleche(const TTraitFigure& t);

// Empty when no quarter is placed.
TFigureQuart FigureQuart(const TEtudeVoute& e);

// The figure as an SVG document.
std::string SvgFigure(const TFigureQuart& f);

// The figure as the report's image source: the SVG in a data URL, so that the exported page
// carries it; the window and the printed report show the same figure painted under that name.
std::string SourceFigure(const TFigureQuart& f);

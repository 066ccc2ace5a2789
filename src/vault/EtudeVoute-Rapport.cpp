// The results report: hypotheses, geometry, loads, results and the support actions of every
// arc, as the HTML text shown on "Résultats" and copied to the clipboard.

#include "vault/RapportResultats.h"

#include "geometry/UtilsGeom.h"
#include "html/HtmlUtils.h"
#include "html/TexteHtml.h"
#include "util/Format.h"
#include "util/Version.h"
#include "vault/EtudeVoute.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

// Nearest integer, halves to the even one, never written "-0".
std::string EntierArrondi(double x) {
    return Formater("%.0f", std::nearbyint(x) + 0.0);
}

const char* const Hypotheses =
    "<P><B>HYPOTHESES :</B></P><P><I> Le logiciel a pour objet de calculer "
    "les actions à l'appui de l'arc d'arêtier d'une voûte nervurée.<BR>"
    " Il utilise les hypothèses suivantes :<BR>"
    " - la structure n'est chargée que par son poids propre et par un éventuel remplissage dont "
    "la surface est horizontale,<BR>"
    " - le calcul découpe les voûtes en arcs adjacents, qui prennent appui sur l'arc "
    "d'arêtier,<BR>"
    " - seules les actions aux appuis sont calculées, la solidité des voûtes n'est pas "
    "justifiée,<BR>"
    " - le calcul est de type \"poutre\", sans utilisation d'éléments finis surfaciques,<BR>"
    " - les poussées sont calculées par H = 1.25 M / f, où f est la flèche de l'arc de voûte<BR>"
    "     (calcul approximé d'un arc à 2 articulations),<BR>"
    " - les efforts en pied de l'arc d'arêtier sont calculés de même (M intègre la poussée des "
    "arcs de voûte).</I></P>";

const char* const TaillesNiveaux[] = {"1 m", "20 cm", "4 cm", "8 mm", "1.6 mm"};

// What was computed from what: the scan, the date, the level whose cubes gave the heights, the
// quarter and the six values of the fields.
std::string Identification(const TEtudeVoute& e) {
    const TContexteRapport& c = e.Contexte;
    std::string r = "<P><B>ETUDE :</B></P><P>";
    const auto renseigne = [](const std::string& v) {
        return v.empty() ? std::string("(non renseigné)") : EchapperHtml(v);
    };
    r += " Projet : " + renseigne(c.Projet);
    r += "<BR> Auteur : " + renseigne(c.Auteur);
    r += "<BR> Vérificateur : " + renseigne(c.Verificateur);
    r += std::string("<BR> Programme : Arkalune ") + VersionArkalune;
    r += "<BR> Fichier du relevé : " +
         (c.FichierScan.empty() ? "(aucun)" : EchapperHtml(c.FichierScan));
    r += "<BR> Date du calcul : " + c.Date;
    r += "<BR> Niveau de définition affiché : " + std::to_string(c.NivAffiche);
    if (c.NivAffiche >= 0 && c.NivAffiche < 5)
        r += std::string(" (cubes de ") + TaillesNiveaux[c.NivAffiche] + ")";
    r += Formater("<BR> Quartier étudié : %d (%s)", int(e.RecModl.Q1a4),
                  NomQuadrant(e.RecModl.Q1a4));
    r += "<BR> Rotation Z de l'affichage : " + ReelExact(c.AngRotZdeg) + "°";
    r += Formater("<BR> Données : largeur de l'arêtier %.0f cm ; %d arcs de voûte ; masse "
                  "linéaire de l'arêtier %.0f daN/ml ; masse surfacique de la voûte %.0f daN/m2 ; "
                  "masse volumique du remplissage %.0f daN/m3 ; niveau du remplissage ",
                  double(e.LargeurAretierM) * 100, int(e.NbArcsVoute), e.MasseLinAretier,
                  e.MasseSurfVoute, e.MasseVolRemplissage);
    r += ReelExact(e.NiveauRemplissage) + " m</P>";
    return r;
}

// What the ranges beside the actions come from, and the extremes.
std::string TexteSensibilite(const TEtudeVoute& e) {
    std::string r = "<BR> Sensibilité : l'étude refaite sur les autres niveaux de définition de 2 "
                    "à 4 et sur la grille décalée d'un demi-cube en X puis en Y donne :";
    for (int a = 0; a < 3; ++a) {
        const TEtendueEffort t = e.Sensibilite->Etendue(e.EffortsSurAppui, a);
        r += Formater("<BR>   %s de %.0f (%s) à %.0f (%s)", NomsActions[a], t.Min,
                      EchapperHtml(t.NomMin).c_str(), t.Max, EchapperHtml(t.NomMax).c_str());
    }
    for (const TVarianteEtude& v : e.Sensibilite->Variantes)
        if (!v.Efforts)
            r +=
                "<BR>   " + EchapperHtml(v.Nom) + " : non calculée (" + EchapperHtml(v.Refus) + ")";
    return r + "<BR>";
}

// The actions at the springing and the axes they are given in: the view's when it is turned,
// with the point cloud's beside them.
std::string EffortsAppui(const TEtudeVoute& e) {
    const TV3R& E = e.EffortsSurAppui;
    const bool tourne = e.Contexte.AngRotZdeg != 0;
    std::string r = tourne
                        ? " Efforts à l'appui (FX et FY dans les axes de l'affichage, où le "
                          "nuage de points est tourné de " +
                              ReelExact(e.Contexte.AngRotZdeg) + "° autour de Z) en daN :<BR><BR>"
                        : " Efforts à l'appui (dans le repère du nuage de points) en daN :"
                          "<BR><BR>";
    if (!e.AppuiCalculable)
        return r + Formater("   FX et FY non calculables : la flèche de l'arc d'arêtier est nulle "
                            "(appui au niveau de la clé)<BR><BR>   FZ= %.0f<BR>",
                            -E.Z);
    for (int a = 0; a < 3; ++a) {
        r += Formater("%s   %s= %.0f", a > 0 ? "<BR><BR>" : "", NomsActions[a],
                      ActionAffichee(E, a));
        if (e.Sensibilite) {
            const TEtendueEffort t = e.Sensibilite->Etendue(E, a);
            r += Formater(" (de %.0f à %.0f)", t.Min, t.Max);
        }
    }
    r += "<BR>";
    if (tourne)
        r += Formater("<BR> Dans le repère du nuage de points : FX= %.0f, FY= %.0f<BR>",
                      e.EffortsSurAppuiNuage.X, e.EffortsSurAppuiNuage.Y);
    if (e.Sensibilite) r += TexteSensibilite(e);
    return r;
}

// The springing level used, where it came from, and what makes a level read uncertain.
std::string NiveauAppui(const TEtudeVoute& e) {
    const TArc& A = e.ArcAretier.AA;
    const TLectureHauteurs& l = e.Lecture;
    std::string r = Formater(" Niveau d'appui de l'arêtier (par rapport à la clé) : %.2f m",
                             A.pts.back().Zarc - A.pts.front().Zarc);
    r += e.NiveauAppuiImpose ? Formater(" (imposé ; lu dans le relevé : %.2f m)", l.NiveauAppuiLu)
                             : std::string(" (lu dans le relevé)");
    if (l.AppuiAmbigu())
        r += Formater("<BR> Attention : sous l'appui, les cubes les plus proches en plan "
                      "s'étagent sur %.2f m de hauteur (pile ou mur) : le niveau lu est "
                      "incertain, à vérifier ou à imposer",
                      double(l.EtendueAppui));
    if (l.NbLointaines > 0)
        r += Formater("<BR> Attention : %d hauteurs lues à plus de %.2f m de leur point (pas de "
                      "relevé sous elles)",
                      int(l.NbLointaines), l.DistanceLointaine);
    return r + "<BR><BR>";
}

using TLigneTable = std::array<std::string, 3>;

// A table of the report: `pourcent` of the page wide, its columns as THtmlTable takes them, a row
// of centred titles, then the rows, the first cell aligned by `alignement`, the others right.
std::string TableRapport(std::int32_t pourcent, const std::string& colonnes,
                         const TLigneTable& titres, std::int32_t alignement,
                         const std::vector<TLigneTable>& lignes) {
    THtmlTable table;
    table.DebutTable(pourcent, 2, 0, 2, colonnes);
    auto ligne = [&table](const TLigneTable& cellules, std::int32_t premier, std::int32_t autres) {
        table.DebutLigne("", "");
        for (std::size_t i = 0; i < cellules.size(); ++i)
            table.Cellule("", 1, 1, i == 0 ? premier : autres, 1, "", cellules[i], false);
        table.FinLigne();
    };
    ligne(titres, 2, 2);
    for (const TLigneTable& l : lignes)
        ligne(l, alignement, 3);
    return table.FinTable();
}

// The four frontier points in the survey's frame: the quarter can be placed again from them.
std::string TablePointsFrontiere(const TEtudeVoute& e) {
    const char* const noms[] = {"clé", "quartier 1", "appui", "quartier 2"};
    const TDecalage& d = e.Contexte.Decalage;
    TRectangleModelisation rec = e.RecModl;
    std::vector<TLigneTable> lignes;
    for (int n = 1; n <= 4; ++n) {
        const TV2R& p = rec.XYfront(n);
        lignes.push_back({noms[n - 1], Formater("%.3f", double(p.X) + double(d[0])),
                          Formater("%.3f", double(p.Y) + double(d[1]))});
    }
    return TableRapport(45, "G30 D35 D35", {"point", "X", "Y"}, 1, lignes);
}

} // namespace

std::string EnTeteRapport(const TContexteRapport& c) {
    return std::string("Arkalune ") + VersionArkalune + " · " +
           (c.FichierScan.empty() ? "(aucun relevé)" : c.FichierScan) + " · " + c.Date;
}

const char* NomQuadrant(std::int32_t q1a4) {
    return q1a4 >= 1 && q1a4 <= 4 ? Quadrants[q1a4 - 1].Nom : "?";
}

std::string TableArcs(const TQuartier& Q) {
    std::vector<TLigneTable> lignes;
    for (std::size_t i = 0; i < Q.Arcs.size(); ++i) {
        const TV3R& e = Q.Arcs[i].EffAppui;
        lignes.push_back({std::to_string(i + 1), EntierArrondi(-e.Z), EntierArrondi(e.X)});
    }
    return TableRapport(30, "C20 D40 D40", {"n° arc", "V", "H"}, 2, lignes);
}

void TEtudeVoute::RedigerResultats() {
    const double S = PolygonArea({RecModl.XYcle, RecModl.XYL1, RecModl.XYapp, RecModl.XYL2});
    std::string r = "<FONT face=\"Arial\">" + Identification(*this) + Hypotheses;
    r += "<P><B>GEOMETRIE :</B></P><P>";
    r += " (l'origine du repère est à la clé de voûte)<BR>";
    r += " Quadrant étudié : ";
    r += NomQuadrant(RecModl.Q1a4);
    r += "<BR>";
    r += Formater(" Superficie horizontale étudiée : %.1f m2<BR>", S);
    r += " Voûte décomposée en ";
    r += std::to_string(NbArcsVoute);
    r += " arcs<BR>";
    r += Formater(" Largeur de l'arc d'arêtier : %.0f cm<BR>", double(LargeurAretierM) * 100);
    r += "<BR> Points frontière du quart étudié (repère du relevé, en m) :<BR>";
    r += TablePointsFrontiere(*this);
    FigureNdC = FigureQuart(*this);
    if (!FigureNdC.Vide())
        r += Formater(
            "<BR><IMG src=\"%s\" width=\"%.0f\" height=\"%.0f\" alt=\"plan du quart "
            "étudié\"><BR> Plan du quart étudié, dans les axes du relevé : en rouge l'arc "
            "d'arêtier, en bleu les arcs de voûte ; les flèches FX et FY donnent le sens de "
            "l'action de l'arêtier sur son appui.<BR>",
            SourceFigure(FigureNdC).c_str(), FigureNdC.Largeur, FigureNdC.Hauteur);
    r += "</P><P><B>CHARGES :</B></P><P>";
    r += Formater(" Masse linéaire de l'arêtier : %.0f daN/ml<BR>", MasseLinAretier);
    r += Formater(" Masse surfacique de la voûte : %.0f daN/m2<BR>", MasseSurfVoute);
    if (MasseVolRemplissage == 0)
        r += " Remplissage : aucun remplissage sur les voûtes";
    else
        r += Formater(" Masse volumique du remplissage : %.0f daN/m3<BR>\r\n Niveau du "
                      "remplissage par rapport à la clé de voûte (>0 si au-dessus) : %.2f m",
                      MasseVolRemplissage, NiveauRemplissage);
    r += "</P><P><B>RESULTATS :</B></P><P>";
    r += NiveauAppui(*this);
    r += EffortsAppui(*this);
    // A quarter whose frontier points are aligned has no area, hence no mean load.
    if (S != 0)
        r += Formater("<BR> Charge moyenne au m2 : %.0f daN/m2<BR>", EffortsSurAppui.Z / S);
    else
        r += "<BR> Charge moyenne au m2 : non disponible (superficie étudiée nulle)<BR>";
    r += "<BR> Actions d'appui des arcs de voûte, dans le plan de chaque arc (en daN) :<BR>";
    r += "<BR>  Arcs de droite :<BR>";
    r += TableArcs(Quartier1);
    r += "<BR>  Arcs de gauche :<BR>";
    r += TableArcs(Quartier2);
    r += "<BR> Unités et signes : forces en daN. V est le poids de l'arc porté par l'arêtier, "
         "négatif car dirigé vers le bas ; H est la composante, le long de l'arêtier, de la "
         "poussée de l'arc, positive vers l'appui. FX et FY sont les composantes horizontales de "
         "l'action de l'arc d'arêtier sur son appui, FZ sa composante verticale, négative quand "
         "la charge descend sur l'appui. Hauteurs comptées depuis la clé, positives au-dessus.";
    r += "</FONT>";
    ResulNdC = std::move(r);
}

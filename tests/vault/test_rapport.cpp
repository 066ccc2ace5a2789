#include "NuageEssai.h"
#include "support/CommandeSysteme.h"
#include "util/Format.h"
#include "util/Version.h"
#include "vault/RapportResultats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const std::string CRLF = "\r\n";

std::string Ligne(const std::string& n, const std::string& v, const std::string& h) {
    auto cellule = [](const char* alignement, const std::string& texte) {
        return "<TD width=\"20%\" align=\"" + std::string(alignement) + "\" >" + texte + "</TD>" +
               CRLF;
    };
    return "<TR >" + CRLF + cellule("center", n) + cellule("right", v) + cellule("right", h) +
           "</TR>" + CRLF + CRLF;
}

} // namespace

TEST(TableArcs, ArrondisAuPlusProchePairEnCasDEgalite) {
    TQuartier q;
    q.Arcs.resize(3);
    q.Arcs[0].EffAppui = {62.5, 62.5, 141.42};
    q.Arcs[1].EffAppui = {-0.4, 0, 0.3}; // never "-0"
    q.Arcs[2].EffAppui = {63.5, 0, 2.5};
    EXPECT_EQ(TableArcs(q),
              "<TABLE border=\"2\" cellpadding=\"2\" cellspacing=\"0\" width=\"30%\">" + CRLF +
                  "<COLGROUP><COL width=\"20%\"><COL width=\"40%\"><COL width=\"40%\"></COLGROUP>" +
                  "<TR >" + CRLF + "<TD width=\"20%\" align=\"center\" >n° arc</TD>" + CRLF +
                  "<TD width=\"20%\" align=\"center\" >V</TD>" + CRLF +
                  "<TD width=\"20%\" align=\"center\" >H</TD>" + CRLF + "</TR>" + CRLF + CRLF +
                  Ligne("1", "-141", "62") + Ligne("2", "0", "0") + Ligne("3", "-2", "64") +
                  "</TABLE>");
}

using Rapport = TEtudeEssai;

TEST_F(Rapport, BaieCarreeQuartier1) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    ASSERT_TRUE(T.ChangerOnglet(1));
    ASSERT_TRUE(T.ChangerOnglet(2));
    const std::string& r = T.Etude.ResulNdC;
    EXPECT_EQ(r.rfind(std::string("<FONT face=\"Arial\"><P><B>ETUDE :</B></P><P> Projet : (non "
                                  "renseigné)<BR> Auteur : (non renseigné)<BR> Vérificateur : "
                                  "(non renseigné)<BR> Programme : Arkalune ") +
                          VersionArkalune + "<BR> Fichier du relevé : voute.xyz<BR>",
                      0),
              0u);
    EXPECT_NE(r.find("</P><P><B>HYPOTHESES :</B></P><P><I> Le logiciel a pour objet de calculer "
                     "les actions à l'appui de l'arc d'arêtier d'une voûte nervurée.<BR> Il "
                     "utilise les hypothèses suivantes :<BR>"),
              std::string::npos);
    for (const char* morceau :
         {"<P><B>GEOMETRIE :</B></P><P> (l'origine du repère est à la clé de voûte)<BR> "
          "Quadrant étudié : X+,Y+<BR> Superficie horizontale étudiée : 16.0 m2<BR> Voûte "
          "décomposée en 5 arcs<BR> Largeur de l'arc d'arêtier : 20 cm<BR><BR> Points "
          "frontière du quart étudié (repère du relevé, en m) :<BR><TABLE ",
          "<P><B>CHARGES :</B></P><P> Masse linéaire de l'arêtier : 100 daN/ml<BR> Masse "
          "surfacique de la voûte : 150 daN/m2<BR> Remplissage : aucun remplissage sur les "
          "voûtes</P><P><B>RESULTATS :</B></P><P> Niveau d'appui de l'arêtier (par rapport à "
          "la clé) : -3.",
          "<BR> Actions d'appui des arcs de voûte, dans le plan de chaque arc (en daN) :<BR>"
          "<BR>  Arcs de droite :<BR><TABLE ",
          "</TABLE><BR>  Arcs de gauche :<BR><TABLE "})
        EXPECT_NE(r.find(morceau), std::string::npos) << morceau;
    // Units and signs under the tables.
    EXPECT_NE(r.find("</TABLE><BR> Unités et signes : forces en daN. V est le poids"),
              std::string::npos);
    EXPECT_EQ(r.substr(r.size() - 27), "positives au-dessus.</FONT>");
    EXPECT_NE(r.find(TableArcs(T.Etude.Quartier1)), std::string::npos);

    // The mean load: the weight over the horizontal area.
    EXPECT_NE(r.find(Formater("<BR> Charge moyenne au m2 : %.0f daN/m2<BR>",
                              T.Etude.EffortsSurAppui.Z / 16)),
              std::string::npos);
}

TEST_F(Rapport, Remplissage) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    T.Champs.GEdMvolRemplissage.TypeText("1800");
    T.Champs.GEdNivRemplissage.TypeText("-1.255");
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    EXPECT_NE(
        T.Etude.ResulNdC.find(" Masse volumique du remplissage : 1800 daN/m3<BR>\r\n Niveau du "
                              "remplissage par rapport à la clé de voûte (>0 si au-dessus) : -1.25 "
                              "m</P><P><B>RESULTATS :</B></P>"),
        std::string::npos);
}

TEST_F(Rapport, QuartierSansSuperficie) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    T.ActualiserStructure();
    // The four frontier points aligned: no area, no mean load.
    T.Etude.RecModl.XYL1 = {5, 5};
    T.Etude.RecModl.XYL2 = {6, 6};
    T.ActualiserStructure();
    T.CalculerCharges();
    EXPECT_NE(T.Etude.ResulNdC.find(
                  "<BR> Charge moyenne au m2 : non disponible (superficie étudiée nulle)<BR>"),
              std::string::npos);
}

// The report names what it was computed from: the file, the date, the level, the quarter, the
// turn of the view and the six values of the fields.
TEST_F(Rapport, NommeCeQuiAEteCalcule) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    FixerEnvironnement("SOURCE_DATE_EPOCH", "1796428800"); // 2026-12-05 00:00 UTC
    T.FixerNiveauAffiche(1);
    T.BtActualiserRotClick("12.5");
    T.Champs.GEdLargeurAretier.TypeText("30");
    T.Champs.GEdNbArcsVoute.TypeText("4");
    T.Champs.GEdMlinAretier.TypeText("250");
    T.Champs.GEdMsurfVoute.TypeText("200");
    T.Champs.GEdMvolRemplissage.TypeText("1500");
    T.Champs.GEdNivRemplissage.TypeText("-0.75");
    T.Projet = "Voûte <nord>";
    T.Verificateur = "B. Durand";
    // A survey far from the origin: the frontier points are given in its own frame.
    T.Scan.Decalage = {652000, 6862000, 0};
    ASSERT_TRUE(T.ChangerOnglet(1));
    T.Etude.RecModl.Q1a4 = 3;
    T.PlacerQuartier();
    ASSERT_TRUE(T.ChangerOnglet(2));
    FixerEnvironnement("SOURCE_DATE_EPOCH", std::nullopt);
    const std::string& r = T.Etude.ResulNdC;
    EXPECT_NE(r.find("<P> Projet : Voûte &lt;nord&gt;<BR> Auteur : (non renseigné)<BR> "
                     "Vérificateur : B. Durand<BR>"),
              std::string::npos);
    const char* const points[] = {"clé", "quartier 1", "appui", "quartier 2"};
    for (int n = 1; n <= 4; ++n) {
        const TV2R& p = T.Etude.RecModl.XYfront(n);
        const std::string ligne = std::string(points[n - 1]) + "</TD>";
        const std::size_t ou = r.find(ligne);
        ASSERT_NE(ou, std::string::npos) << ligne;
        for (const double v : {double(p.X) + 652000, double(p.Y) + 6862000})
            EXPECT_NE(r.find(Formater("%.3f", v), ou), std::string::npos) << ligne;
    }
    EXPECT_NE(
        r.find("<BR> Fichier du relevé : voute.xyz<BR> Date du calcul : "
               "05/12/2026 à 00:00<BR> Niveau de définition affiché : 1 (cubes de 20 cm)<BR> "
               "Quartier étudié : 3 (X-,Y-)<BR> Rotation Z de l'affichage : 12.5°<BR> Données "
               ": largeur de l'arêtier 30 cm ; 4 arcs de voûte ; masse linéaire de l'arêtier "
               "250 daN/ml ; masse surfacique de la voûte 200 daN/m2 ; masse volumique du "
               "remplissage 1500 daN/m3 ; niveau du remplissage -0.75 m</P>"),
        std::string::npos);
    EXPECT_NE(T.EtudeEnJson().find("\"FichierScan\":\"voute.xyz\",\"DateCalcul\":\"05/12/2026 à "
                                   "00:00\""),
              std::string::npos);
}

// FX and FY are given in the view's axes, which the report says with the angle, and in the
// cloud's axes beside them; the cloud's do not depend on the view.
TEST_F(Rapport, AxesDesEffortsHorizontaux) {
    TNuage baie;
    baie.x1 = 10; // not square: FX and FY differ
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    const char* const nuage = " Efforts à l'appui (dans le repère du nuage de points) en daN :";
    const TV3R reference = [&] {
        T.ChangerOnglet(1);
        T.ChangerOnglet(2);
        return T.Etude.EffortsSurAppui;
    }();
    const std::pair<const char*, double> angles[] = {{"30", 30}, {"-90", -90}, {"12.7", 12.7}};
    for (const auto& [texte, degres] : angles) {
        SCOPED_TRACE(texte);
        T.ChangerOnglet(0);
        T.BtActualiserRotClick(texte);
        T.ChangerOnglet(1);
        T.ChangerOnglet(2);
        const std::string& r = T.Etude.ResulNdC;
        const TV3R& vue = T.Etude.EffortsSurAppui;
        EXPECT_EQ(r.find(nuage), std::string::npos);
        EXPECT_NE(r.find(std::string(" Efforts à l'appui (FX et FY dans les axes de l'affichage, "
                                     "où le nuage de points est tourné de ") +
                         texte + "° autour de Z) en daN :<BR><BR>" +
                         Formater("   FX= %.0f<BR><BR>   FY= %.0f<BR>", vue.X, vue.Y)),
                  std::string::npos);
        EXPECT_NE(r.find(Formater("<BR> Dans le repère du nuage de points : FX= %.0f, FY= %.0f"
                                  "<BR>",
                                  reference.X, reference.Y)),
                  std::string::npos);
        EXPECT_EQ(T.Etude.EffortsSurAppuiNuage.X, reference.X);
        EXPECT_EQ(T.Etude.EffortsSurAppuiNuage.Y, reference.Y);
        // The same horizontal action, turned with the cloud as the view shows it.
        const double a = degres * 3.141592653589793 / 180;
        EXPECT_NEAR(vue.X, std::cos(a) * reference.X - std::sin(a) * reference.Y, 1e-6);
        EXPECT_NEAR(vue.Y, std::sin(a) * reference.X + std::cos(a) * reference.Y, 1e-6);
        EXPECT_EQ(vue.Z, reference.Z);
    }
    T.ChangerOnglet(0);
    T.BtActualiserRotClick("0");
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    EXPECT_NE(T.Etude.ResulNdC.find(nuage), std::string::npos);
    EXPECT_EQ(T.Etude.ResulNdC.find("Dans le repère du nuage"), std::string::npos);
}

// "Actualiser" pressed again reads back the angle its field shows: the same angle, the same
// efforts.
TEST_F(Rapport, UnSecondActualiserGardeLAngle) {
    TNuage baie;
    baie.x1 = 10;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    T.BtActualiserRotClick("12.7");
    EXPECT_EQ(T.TexteEdRotZ, "12.7");
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    const TV3R premier = T.Etude.EffortsSurAppui;
    T.ChangerOnglet(0);
    T.BtActualiserRotClick(T.TexteEdRotZ);
    EXPECT_EQ(T.Vue.AngRotZdeg, 12.7);
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    EXPECT_EQ(T.Etude.EffortsSurAppui.X, premier.X);
    EXPECT_EQ(T.Etude.EffortsSurAppui.Y, premier.Y);
}

// The plan of the studied quarter drawn from the study: its frontier points at their places on
// one scale, inside the drawing, the arrows of FX and FY pointing by their signs, for a quarter
// on each diagonal; the report shows it.
TEST_F(Rapport, FigureDuQuartEtudie) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    for (const int quartier : {1, 3}) {
        ASSERT_TRUE(T.ChangerOnglet(1));
        T.Etude.RecModl.Q1a4 = quartier;
        T.PlacerQuartier();
        ASSERT_TRUE(T.ChangerOnglet(2));
        ASSERT_TRUE(T.ChangerOnglet(3));
        const TEtudeVoute& e = T.Etude;
        const TFigureQuart& f = e.FigureNdC;
        ASSERT_EQ(f.Points.size(), 4u);
        const auto dedans = [&f](const TV2R& p) {
            return p.X >= 0 && p.X <= f.Largeur && p.Y >= 0 && p.Y <= f.Hauteur;
        };
        for (const TTraitFigure& t : f.Traits)
            EXPECT_TRUE(dedans(t.A) && dedans(t.B)) << quartier;
        // Drawn Y downwards, on one scale for both axes.
        const TV2R& cle = f.Points[0];
        for (int n = 2; n <= 4; ++n) {
            const TV2R& plan = e.RecModl.XYfront(n);
            const TV2R& p = f.Points[std::size_t(n - 1)];
            const double echelleX = (p.X - cle.X) / (plan.X - e.RecModl.XYcle.X);
            const double echelleY = -(p.Y - cle.Y) / (plan.Y - e.RecModl.XYcle.Y);
            if (plan.X != e.RecModl.XYcle.X && plan.Y != e.RecModl.XYcle.Y) {
                EXPECT_NEAR(echelleX, echelleY, 1e-9) << quartier;
            }
            if (plan.X != e.RecModl.XYcle.X) {
                EXPECT_GT(echelleX, 0) << quartier;
            }
        }
        const TV2R& appui = f.Points[2];
        const TV3R& F = e.EffortsSurAppuiNuage;
        ASSERT_NE(F.X, 0);
        ASSERT_NE(F.Y, 0);
        for (const TTexteFigure& t : f.Textes) {
            if (t.Texte == "FX") {
                EXPECT_EQ(t.P.X > appui.X, F.X > 0) << quartier;
            }
            if (t.Texte == "FY") {
                EXPECT_EQ(t.P.Y<appui.Y, F.Y> 0) << quartier;
            }
        }
        EXPECT_EQ(
            std::count_if(f.Textes.begin(), f.Textes.end(),
                          [](const TTexteFigure& t) { return t.Texte == "FX" || t.Texte == "FY"; }),
            2);
        // The quarter X+,Y+ pushes its springing outwards, X-,Y- the other way.
        EXPECT_EQ(F.X > 0, quartier == 1);
        const std::string svg = SvgFigure(f);
        EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
        EXPECT_NE(svg.find(">clé</text>"), std::string::npos);
        EXPECT_NE(e.ResulNdC.find("<IMG src=\"" + SourceFigure(f) + "\" width=\"460\""),
                  std::string::npos);
    }
}

#include "NuageEssai.h"
#include "util/Format.h"
#include "vault/RapportResultats.h"

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
    EXPECT_EQ(r.rfind("<FONT face=\"Arial\"><P><B>HYPOTHESES :</B></P><P><I> Le logiciel a pour "
                      "objet de calculer les actions à l'appui de l'arc d'arêtier d'une voûte "
                      "nervurée.<BR> Il utilise les hypothèses suivantes :<BR>",
                      0),
              0u);
    for (const char* morceau :
         {"<P><B>GEOMETRIE :</B></P><P> (l'origine du repère est à la clé de voûte)<BR> "
          "Quadrant étudié : X+,Y+<BR> Superficie horizontale étudiée : 16.0 m2<BR> Voûte "
          "décomposée en 5 arcs<BR> Largeur de l'arc d'arêtier : 20 cm<BR></P>",
          "<P><B>CHARGES :</B></P><P> Masse linéaire de l'arêtier : 100 daN/ml<BR> Masse "
          "surfacique de la voûte : 150 daN/m2<BR> Remplissage : aucun remplissage sur les "
          "voûtes</P><P><B>RESULTATS :</B></P><P> Niveau d'appui de l'arêtier (par rapport à "
          "la clé) : -3.",
          "<BR> Actions d'appui des arcs de voûte, dans le plan de chaque arc (en daN) :<BR>"
          "<BR>  Arcs de droite :<BR><TABLE ",
          "</TABLE><BR>  Arcs de gauche :<BR><TABLE "})
        EXPECT_NE(r.find(morceau), std::string::npos) << morceau;
    EXPECT_EQ(r.substr(r.size() - 15), "</TABLE></FONT>");
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

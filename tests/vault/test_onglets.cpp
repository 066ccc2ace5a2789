#include "NuageEssai.h"

using OngletsEtude = TEtudeEssai;

TEST_F(OngletsEtude, EnAvantUnPasALaFoisEnArriereLibrement) {
    TNuage baie;
    baie.hauteur = Dome(baie, 0, 4);
    Charger(baie);
    ASSERT_EQ(T.OngletActif, 0);
    EXPECT_FALSE(T.ChangerOnglet(2));
    EXPECT_FALSE(T.ChangerOnglet(3));
    EXPECT_EQ(T.OngletActif, 0);
    EXPECT_TRUE(T.Etude.Quartier1.Arcs.empty()); // nothing built, nothing computed
    EXPECT_EQ(T.Etude.LbResultats, " ");

    EXPECT_TRUE(T.ChangerOnglet(1)); // "Structure": the structure is built
    EXPECT_TRUE(T.StructureConstruite());
    EXPECT_TRUE(T.Etude.ResulNdC.empty());
    EXPECT_FALSE(T.ChangerOnglet(3));

    T.Champs.GEdNbArcsVoute.TypeText("4");
    EXPECT_TRUE(T.ChangerOnglet(2)); // rebuilt from "Structure", then computed
    EXPECT_EQ(T.Etude.NbArcsVoute, 4);
    EXPECT_FALSE(T.Etude.ResulNdC.empty());
    EXPECT_FALSE(T.AffichageNavigateur);

    T.Champs.GEdMsurfVoute.TypeText("300");
    const std::string avant = T.Etude.LbResultats;
    EXPECT_TRUE(T.ChangerOnglet(3)); // computed once more, the report shown
    EXPECT_TRUE(T.AffichageNavigateur);
    EXPECT_NE(T.Etude.LbResultats, avant);
    EXPECT_NE(T.Etude.ResulNdC.find("Masse surfacique de la voûte : 300 daN/m2"),
              std::string::npos);

    // Back to "Charges" from "Résultats": computed, not rebuilt.
    T.Champs.GEdNbArcsVoute.TypeText("6");
    T.Champs.GEdMsurfVoute.TypeText("150");
    EXPECT_TRUE(T.ChangerOnglet(2));
    EXPECT_FALSE(T.AffichageNavigateur);
    EXPECT_EQ(T.Etude.NbArcsVoute, 4);
    EXPECT_EQ(T.Etude.LbResultats, avant);

    // Back two steps is allowed; entering "Structure" rebuilds.
    EXPECT_TRUE(T.ChangerOnglet(3));
    EXPECT_TRUE(T.ChangerOnglet(1));
    EXPECT_EQ(T.Etude.NbArcsVoute, 6);
    EXPECT_TRUE(T.ChangerOnglet(0));
    EXPECT_TRUE(T.ChangerOnglet(1));

    // A reset (a load) goes back to the first page and to the 3D view.
    T.ChangerOnglet(2);
    T.ChangerOnglet(3);
    T.ReinitialiserTravail();
    EXPECT_EQ(T.OngletActif, 0);
    EXPECT_FALSE(T.AffichageNavigateur);
}

TEST_F(OngletsEtude, SansScanStructureRefusee) {
    EXPECT_FALSE(T.Executer([&] { T.ChangerOnglet(1); }));
    ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
    EXPECT_EQ(Banc.Plateforme.Messages[0],
              "aucun point affiché : chargez un scan avant de construire la structure");
    // Forward again from the page shown: "Charges" refuses to compute on no structure.
    EXPECT_FALSE(T.Executer([&] { T.ChangerOnglet(2); }));
    EXPECT_FALSE(T.Executer([&] { T.ChangerOnglet(3); }));
    EXPECT_EQ(T.Etude.LbResultats, " ");
}

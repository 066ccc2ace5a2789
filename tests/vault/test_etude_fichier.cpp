#include "NuageEssai.h"

#include <cstring>

using EtudeFichier = TEtudeEssai;

// The binary scan file carries the study: reopened, it resumes where it was left.
TEST_F(EtudeFichier, LeBlocDEtudeFaitLAllerRetour) {
    TNuage baie;
    baie.hauteur = Dome(baie, 1, 3.5);
    Charger(baie);
    const struct {
        TCustomGenEdit TChampsEtude::*champ;
        const char* texte;
    } saisies[] = {
        {&TChampsEtude::GEdLargeurAretier, "35"},    {&TChampsEtude::GEdNbArcsVoute, "7"},
        {&TChampsEtude::GEdMlinAretier, "250"},      {&TChampsEtude::GEdMsurfVoute, "300"},
        {&TChampsEtude::GEdMvolRemplissage, "1800"}, {&TChampsEtude::GEdNivRemplissage, "-1.25"}};
    for (const auto& s : saisies)
        (T.Champs.*s.champ).TypeText(s.texte);
    T.Etude.RecModl.Q1a4 = 3;
    T.PlacerQuartier();
    T.CmBxPtFrontIndex = 3; // "quartier 2", moved by hand
    T.CmBxPtFrontCloseUp();
    T.SBtDeplClick(3);
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    T.PFsansext = Dossier.Chemin("etude");
    ASSERT_TRUE(T.EnregistrerScan(1, T.Scan.NivMax));

    TBancEssai autre;
    TEspaceTravail& U = autre.Travail;
    ASSERT_TRUE(U.ChargerScan(Dossier.Chemin("etude.arkl")));
    EXPECT_EQ(std::memcmp(&U.Etude.RecModl, &T.Etude.RecModl, sizeof(TRectangleModelisation)), 0);
    for (const auto& s : saisies) {
        TCustomGenEdit& lu = U.Champs.*s.champ;
        TCustomGenEdit& ecrit = T.Champs.*s.champ;
        if (s.champ == &TChampsEtude::GEdNivRemplissage)
            EXPECT_EQ(lu.ValeurD(), ecrit.ValeurD());
        else
            EXPECT_EQ(lu.ValeurI(), ecrit.ValeurI()) << s.texte;
    }
    // The stored quarter, moved point included, is studied again: the same report.
    U.ChangerOnglet(1);
    U.ChangerOnglet(2);
    EXPECT_EQ(U.Etude.LbResultats, T.Etude.LbResultats);
    EXPECT_EQ(U.Etude.ResulNdC, T.Etude.ResulNdC);
    EXPECT_NE(U.Etude.ResulNdC.find("Quadrant étudié : X-,Y-"), std::string::npos);
}

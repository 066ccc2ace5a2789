#include "fields/ChampsEtude.h"

#include <gtest/gtest.h>

TEST(ChampsEtude, ConfigurationDesSixChamps) {
    TChampsEtude ch;
    const struct {
        TCustomGenEdit& champ;
        const char* nom;
        const char* min;
        const char* max;
        const char* texte;
        const char* indice;
    } cas[] = {
        {ch.GEdLargeurAretier, "GEdLargeurAretier", "5", "200", "20",
         "\r5 < (valeur admise) < 200|"},
        {ch.GEdNbArcsVoute, "GEdNbArcsVoute", "3", "20", "5",
         "Définit en combien d'arcs la voute sera décomposée\r3 < (valeur admise) < 20|"
         "Définit en combien d'arcs la voute sera décomposée"},
        {ch.GEdMlinAretier, "GEdMlinAretier", "20", "5000", "100",
         "En daN/mlin\r20 < (valeur admise) < 5000|En daN/mlin"},
        {ch.GEdMsurfVoute, "GEdMsurfVoute", "10", "5000", "150",
         "en daN/m²\r10 < (valeur admise) < 5000|en daN/m²"},
        {ch.GEdMvolRemplissage, "GEdMvolRemplissage", "0", "5000", "0",
         "en daN/m3, 0 si absent\r0 < (valeur admise) < 5000|en daN/m3, 0 si absent"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(c.champ.Name(), c.nom);
        EXPECT_EQ(c.champ.GE_TypeVal(), TTypeVal::_integer);
        EXPECT_EQ(c.champ.GE_ValMin(), c.min);
        EXPECT_EQ(c.champ.GE_ValMax(), c.max);
        EXPECT_EQ(c.champ.Text(), c.texte);
        EXPECT_EQ(c.champ.Hint(), c.indice);
        EXPECT_EQ(c.champ.GE_FltrUpLo(), TTypeFltrUpLo::ulNeutre);
        EXPECT_EQ(c.champ.GE_FltrCharsList(), "-+0123456789");
        EXPECT_EQ(c.champ.GE_FltrSpace(), TTypeFltrSpace::fsNoSpace);
        EXPECT_EQ(c.champ.GE_FltrChars(), TTypeFltrChars::fcAllowed);
        EXPECT_EQ(c.champ.GE_ColorOK(), CouleurFondFenetre);
        EXPECT_EQ(c.champ.GE_ColorErr(), CouleurRouge);
        EXPECT_EQ(c.champ.GE_ColorChanging(), CouleurVertMonnaie);
        EXPECT_EQ(c.champ.GE_CoefAff(), 1.0);
        EXPECT_TRUE(c.champ.ValOK()); // validated when the form is loaded
        EXPECT_EQ(std::to_string(c.champ.ValeurI()), c.texte);
    }

    const TCustomGenEdit& niv = ch.GEdNivRemplissage;
    EXPECT_EQ(niv.Name(), "GEdNivRemplissage");
    EXPECT_EQ(niv.GE_TypeVal(), TTypeVal::_double);
    EXPECT_EQ(niv.GE_ValMin(), "");
    EXPECT_EQ(niv.GE_ValMax(), "");
    // No limits: the hint stays the field's own.
    EXPECT_EQ(niv.Hint(), "< 0 sous la clé, mettre masse vol. à 0 si pas de remplissage");
    EXPECT_EQ(niv.Text(), "0");
    EXPECT_EQ(niv.GE_FltrUpLo(), TTypeFltrUpLo::ulUPcase);
    EXPECT_EQ(niv.GE_FltrCharsList(), "-+.0123456789E");
    EXPECT_TRUE(niv.ValOK());
    EXPECT_EQ(ch.GEdNivRemplissage.ValeurD(), 0.0);
}

TEST(ChampsEtude, BornesDesChamps) {
    TChampsEtude ch;
    ch.GEdNbArcsVoute.TypeText("2");
    EXPECT_FALSE(ch.GEdNbArcsVoute.ValOK());
    ch.GEdNbArcsVoute.TypeText("20");
    EXPECT_TRUE(ch.GEdNbArcsVoute.ValOK());
    ch.GEdMvolRemplissage.TypeText("-1");
    EXPECT_FALSE(ch.GEdMvolRemplissage.ValOK());
    ch.GEdNivRemplissage.TypeText("-1.5E3");
    EXPECT_TRUE(ch.GEdNivRemplissage.ValOK());
    EXPECT_EQ(ch.GEdNivRemplissage.ValeurD(), -1500.0);
}

#include "fields/SaisieOption.h"

#include "fields/ChampsEtude.h"

#include <gtest/gtest.h>

TEST(SaisieOption, ValeursEtExpressions) {
    TChampsEtude ch;
    const struct {
        TCustomGenEdit& champ;
        const char* texte;
        const char* raison;
        double valeur; // the field's value afterwards, when accepted
    } cas[] = {
        {ch.GEdNbArcsVoute, "7", "", 7},
        {ch.GEdNbArcsVoute, " 8 ", "", 8},
        {ch.GEdNbArcsVoute, "=27/4", "", 6},
        {ch.GEdNbArcsVoute, "= 3 * 4 ", "", 12},
        {ch.GEdNbArcsVoute, "=MAX(3, 2.5) + 1", "", 4},
        {ch.GEdNbArcsVoute, "2", "entier de 3 à 20 attendu", 0},
        {ch.GEdNbArcsVoute, "abc", "entier de 3 à 20 attendu", 0},
        {ch.GEdNbArcsVoute, "", "entier de 3 à 20 attendu", 0},
        {ch.GEdNbArcsVoute, "=10/4", "l'expression donne 2, entier de 3 à 20 attendu", 0},
        {ch.GEdNbArcsVoute, "=2^32+5", "", 5}, // the low 32 bits
        {ch.GEdNbArcsVoute, "=2^32+2", "l'expression donne 2, entier de 3 à 20 attendu", 0},
        {ch.GEdNbArcsVoute, "=1+", "expression impossible à calculer : « 1+ »", 0},
        {ch.GEdNbArcsVoute, "=", "expression impossible à calculer : «  »", 0},
        {ch.GEdNbArcsVoute, "=1 DIV 0", "division entière par zéro", 0},
        {ch.GEdNbArcsVoute, "='abc'", "impossible d'affecter la valeur à cette variable", 0},
        {ch.GEdNbArcsVoute, "=RAC3(-8)",
         "opération invalide : puissance non entière d'un nombre négatif", 0},
        {ch.GEdLargeurAretier, "=150/2", "", 75},
        {ch.GEdLargeurAretier, "201", "entier de 5 à 200 attendu", 0},
        {ch.GEdMvolRemplissage, "0", "", 0},
        {ch.GEdNivRemplissage, "-1.25", "", -1.25},
        {ch.GEdNivRemplissage, "=-PI/4", "", -0.785398163397448},
        {ch.GEdNivRemplissage, "=1/0", "l'expression donne INF, réel attendu", 0},
        {ch.GEdNivRemplissage, "1e999", "réel attendu", 0},
        // The decimal comma of a plain text is the point; in an integer field, no integer.
        {ch.GEdNivRemplissage, "1,5", "", 1.5},
        {ch.GEdNivRemplissage, "-1,5E1", "", -15},
        {ch.GEdNivRemplissage, "1.000,5", "réel attendu", 0},
        {ch.GEdLargeurAretier, "20,5", "entier de 5 à 200 attendu", 0},
        {ch.GEdMvolRemplissage, "1.5", "entier de 0 à 5000 attendu", 0},
        // An expression is the whole text after "=": what follows it is named, not dropped.
        {ch.GEdMlinAretier, "=1,5*1000",
         "texte en trop après l'expression : « ,5*1000 » ; le séparateur décimal est le point", 0},
        {ch.GEdMsurfVoute, "=150 + 20 daN", "texte en trop après l'expression : « daN »", 0},
        {ch.GEdNbArcsVoute, "=3 4", "texte en trop après l'expression : « 4 »", 0},
        {ch.GEdNbArcsVoute, "=(2+3))", "texte en trop après l'expression : « ) »", 0},
        {ch.GEdNivRemplissage, "=1.5 m", "texte en trop après l'expression : « m »", 0},
        {ch.GEdMsurfVoute, "=150 + 20  ", "", 170},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        EXPECT_EQ(AppliquerTexteChamp(c.champ, c.texte), c.raison);
        if (c.raison[0] != 0) continue;
        EXPECT_TRUE(c.champ.ValOK());
        if (c.champ.GE_TypeVal() == TTypeVal::_integer) {
            EXPECT_EQ(c.champ.ValeurI(), c.valeur);
        } else {
            EXPECT_EQ(c.champ.ValeurD(), c.valeur);
        }
    }
}

TEST(SaisieOption, UneExpressionRefuseeNeChangeRien) {
    TChampsEtude ch;
    EXPECT_NE(AppliquerTexteChamp(ch.GEdNbArcsVoute, "=1 DIV 0"), "");
    EXPECT_EQ(ch.GEdNbArcsVoute.Text(), "5");
    EXPECT_EQ(ch.GEdNbArcsVoute.ValeurI(), 5);
}

TEST(SaisieOption, DomainesDesAutresChamps) {
    TCustomGenEdit texte;
    texte.EcrireGE_TypeVal(TTypeVal::_string);
    texte.EcrireGE_ValMin("ab");
    EXPECT_EQ(AppliquerTexteChamp(texte, "a"), "texte d'au moins 2 caractères attendu");
    EXPECT_EQ(AppliquerTexteChamp(texte, "=ab"), ""); // "=" is no expression in a text field
    texte.EcrireGE_ValMax("abcé");
    EXPECT_EQ(AppliquerTexteChamp(texte, "abcde"), "texte de 2 à 4 caractères attendu");

    TCustomGenEdit reel;
    reel.EcrireGE_TypeVal(TTypeVal::_double);
    reel.EcrireGE_ValMax("10");
    EXPECT_EQ(AppliquerTexteChamp(reel, "11"), "réel d'au plus 10 attendu");
}

// The field as a widget drives it: text changes, leaving, the "=" popup, the text and colour
// that come out.

#include "fields/CGenEdit.h"

#include "expr/Evaluateur.h"
#include "expr/Valeur.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in for the edit control: it holds the shown text and reports every change of it
// to the field, as the control's change signal would, the field's own writes included.
struct TControleEssai {
    TCustomGenEdit Champ{"GEdEssai"};
    std::string Texte;
    std::vector<std::string> Changements; // OnChange, with the text before the change
    int Aspects = 0;

    TControleEssai() {
        Champ.EcrireGE_ValMin("5");
        Champ.EcrireGE_ValMax("200");
        Champ.EcrireGE_TypeVal(TTypeVal::_integer);
        Champ.SurEcritureControle = [this](const std::string& t) { Afficher(t); };
        Champ.SurAspect = [this] { ++Aspects; };
        Champ.OnChange = [this](TCustomGenEdit& c) { Changements.push_back(c.TextePrecedent()); };
        Champ.EcrireText("20");
        Champ.Charge();
    }
    void Afficher(const std::string& t) {
        Texte = t;
        Champ.Changement(Texte);
    }
    // The user edits the text, then releases the key.
    void Saisir(const std::string& t) {
        Afficher(t);
        Champ.MajCouleur();
    }
};

} // namespace

TEST(SaisieChamp, NotificationDesChangements) {
    TControleEssai e;
    EXPECT_TRUE(e.Changements.empty()); // the field's own writes are no change
    EXPECT_EQ(e.Texte, "20");
    EXPECT_FALSE(e.Champ.Modifie());

    e.Saisir("21");
    ASSERT_EQ(e.Changements.size(), 1u);
    EXPECT_EQ(e.Changements[0], "20");
    EXPECT_EQ(e.Champ.Text(), "21");
    EXPECT_TRUE(e.Champ.Modifie());
    EXPECT_EQ(e.Champ.Couleur(), CouleurVertMonnaie); // valid and being edited

    e.Saisir("4");
    EXPECT_EQ(e.Champ.Couleur(), CouleurRouge);
    e.Champ.Changement("4"); // same text: no notification
    EXPECT_EQ(e.Changements.size(), 2u);

    e.Champ.EcrireValeurI(30);
    EXPECT_EQ(e.Texte, "30");
    EXPECT_FALSE(e.Champ.Modifie());
    EXPECT_EQ(e.Champ.Couleur(), CouleurFondFenetre);
    EXPECT_EQ(e.Changements.size(), 2u);
    EXPECT_GT(e.Aspects, 0);
}

TEST(SaisieChamp, SortieDuChamp) {
    TControleEssai e;
    e.Saisir(" 007");
    EXPECT_TRUE(e.Champ.Sortie()); // canonical text, leaving event raised
    EXPECT_EQ(e.Texte, "7");
    EXPECT_EQ(e.Champ.Couleur(), CouleurFondFenetre);

    e.Saisir("300"); // out of limits: still rewritten
    EXPECT_TRUE(e.Champ.Sortie());
    EXPECT_EQ(e.Champ.Couleur(), CouleurRouge);

    e.Saisir("7x");
    EXPECT_FALSE(e.Champ.Sortie()); // stays as typed, no leaving event
    EXPECT_EQ(e.Texte, "7x");
    EXPECT_EQ(e.Champ.Couleur(), CouleurRouge);
}

TEST(SaisieChamp, ExpressionDeLaFenetreSurgissante) {
    TControleEssai e;
    EXPECT_EQ(e.Champ.TraiterCaractere(U'=').Action, TCaractereTraite::Calculer);
    EXPECT_EQ(e.Champ.CalculPrec(), "");
    ASSERT_TRUE(e.Champ.SaisirCalcul("10/4"));
    EXPECT_EQ(e.Champ.ValeurI(), 2); // 2.5 truncated toward zero
    EXPECT_EQ(e.Texte, "2");
    EXPECT_EQ(e.Champ.CalculPrec(), "10/4");
    EXPECT_FALSE(e.Champ.ValOK()); // the limits are only tested afterwards
    EXPECT_EQ(e.Champ.Couleur(), CouleurRouge);

    ASSERT_TRUE(e.Champ.SaisirCalcul("2^40"));
    EXPECT_EQ(e.Texte, "0"); // the low 32 bits
    ASSERT_TRUE(e.Champ.SaisirCalcul("2^31+5"));
    EXPECT_EQ(e.Texte, "-2147483643");
    ASSERT_TRUE(e.Champ.SaisirCalcul("(1 < 2)"));
    EXPECT_EQ(e.Texte, "1");
    ASSERT_TRUE(e.Champ.SaisirCalcul("ARRONDIR(PI*10)"));
    EXPECT_EQ(e.Texte, "31");
    EXPECT_TRUE(e.Champ.ValOK());
    EXPECT_TRUE(e.Changements.empty()); // the field wrote its own text

    // Unreadable: nothing changes, but the popup remembers the text.
    EXPECT_FALSE(e.Champ.SaisirCalcul("1+"));
    EXPECT_EQ(e.Texte, "31");
    EXPECT_EQ(e.Champ.ValeurI(), 31);
    EXPECT_EQ(e.Champ.CalculPrec(), "1+");

    // Errors leave, with the field unchanged.
    EXPECT_THROW(e.Champ.SaisirCalcul("'abc'"), EErrAffectation);
    EXPECT_THROW(e.Champ.SaisirCalcul("1 DIV 0"), EErrDivisionEntiere);
    EXPECT_THROW(e.Champ.SaisirCalcul("1/0"), EErrAffectation); // no integer for +inf
    EXPECT_THROW(e.Champ.SaisirCalcul("150 + 20 daN"), EErrTexteEnTrop);
    EXPECT_EQ(e.Texte, "31");
    EXPECT_EQ(e.Champ.ValeurI(), 31);
    EXPECT_EQ(e.Champ.CalculPrec(), "150 + 20 daN");
}

TEST(SaisieChamp, ExpressionDansUnChampReel) {
    TCustomGenEdit c;
    c.EcrireGE_TypeVal(TTypeVal::_double);
    ASSERT_TRUE(c.SaisirCalcul("1/3"));
    EXPECT_EQ(c.ValeurD(), 0.333333333333333); // through its 15-digit text
    EXPECT_EQ(c.Text(), "0.333333333333333");
    ASSERT_TRUE(c.SaisirCalcul("0/0"));
    EXPECT_EQ(c.Text(), "NAN");
    EXPECT_FALSE(c.ValOK());
    EXPECT_THROW(c.SaisirCalcul("'a'"), EErrAffectation);

    TCustomGenEdit texte;
    texte.EcrireGE_TypeVal(TTypeVal::_string);
    EXPECT_FALSE(texte.SaisirCalcul("1+1")); // "=" is an ordinary character there
    EXPECT_EQ(texte.Text(), "");
}

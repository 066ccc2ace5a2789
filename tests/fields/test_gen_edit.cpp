#include "fields/CGenEdit.h"

#include "expr/Valeur.h"
#include "support/AttendreErreur.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TCustomGenEdit ChampEntier(const std::string& min, const std::string& max) {
    TCustomGenEdit c("GEdEssai");
    c.EcrireGE_ValMin(min);
    c.EcrireGE_ValMax(max);
    c.EcrireGE_TypeVal(TTypeVal::_integer);
    return c;
}

} // namespace

TEST(GenEdit, ValidationDUnEntierBorne) {
    TCustomGenEdit c = ChampEntier("5", "200");
    c.TypeText("20");
    EXPECT_EQ(c.Couleur(), c.GE_ColorOK());
    EXPECT_TRUE(c.ValOK());
    EXPECT_EQ(c.ValeurI(), 20);

    c.TypeText("4");
    EXPECT_EQ(c.Couleur(), CouleurRouge);
    EXPECT_FALSE(c.ValOK());
    EXPECT_EQ(c.ValeurI(), 4); // converts, out of limits
    EXPECT_TRUE(c.TradOk());

    c.TypeText("2a"); // pasted: not filtered, does not convert
    EXPECT_EQ(c.ValeurI(), 0);
    EXPECT_FALSE(c.ValOK());
    EXPECT_FALSE(c.TradOk());

    for (const char* t : {"200", " 1 5 ", "+7", "5", "00042"}) {
        c.TypeText(t);
        EXPECT_TRUE(c.ValOK()) << t;
    }
    EXPECT_EQ(c.ValeurI(), 42);
    for (const char* t : {"201", "", "2147483648", "1.5", "--5", "+-5", "-+5", "1e2"}) {
        c.TypeText(t);
        EXPECT_FALSE(c.ValOK()) << t;
    }
    c.TypeText("1\xC2\xA0"
               "50"); // a no-break space inside the number
    EXPECT_EQ(c.ValeurI(), 150);
}

TEST(GenEdit, LaValeurNeSuitQueLesTextesQuiConvertissent) {
    TCustomGenEdit c = ChampEntier("", "");
    c.TypeText("12");
    c.TypeText("douze");
    EXPECT_EQ(c.ValeurI(), 0);
    c.EcrireText("-7");
    EXPECT_EQ(c.ValeurI(), -7); // reading the value validates the current text again
    EXPECT_TRUE(c.ValOK());     // a limit that is not a number is no limit
}

TEST(GenEdit, TexteIndicatifDesLimites) {
    TCustomGenEdit c;
    c.EcrireGE_ValMin("5");
    EXPECT_EQ(c.Hint(), "\r5 < (valeur admise) < (rien)|");
    c.EcrireGE_ValMax(" 200 ");
    EXPECT_EQ(c.Hint(), "\r5 < (valeur admise) < 200|");
    EXPECT_EQ(c.GE_ValMax(), "200");

    TCustomGenEdit aide;
    aide.EcrireHint("En daN/mlin ");
    aide.EcrireGE_ValMax("5000");
    EXPECT_EQ(aide.Hint(), "En daN/mlin \r(rien) < (valeur admise) < 5000|En daN/mlin");
    aide.EcrireGE_ValMin("20");
    EXPECT_EQ(aide.Hint(), "En daN/mlin \r20 < (valeur admise) < 5000|En daN/mlin");
}

TEST(GenEdit, FiltreDesCaracteres) {
    using A = TCaractereTraite;
    TCustomGenEdit entier = ChampEntier("5", "200");
    TCustomGenEdit reel;
    reel.EcrireGE_TypeVal(TTypeVal::_double);
    TCustomGenEdit texte;
    texte.EcrireGE_TypeVal(TTypeVal::_string);
    const struct {
        TCustomGenEdit* champ;
        char32_t c;
        A::TAction action;
        char32_t insere;
    } cas[] = {
        {&entier, U'7', A::Inserer, U'7'},
        {&entier, U'a', A::Ignorer, U'a'},
        {&entier, U' ', A::Ignorer, U' '},
        // A decimal separator stays, to show the integer field invalid.
        {&entier, U'.', A::Inserer, U'.'},
        {&entier, U',', A::Inserer, U','},
        {&entier, U'=', A::Calculer, U'='},
        {&entier, 8, A::Inserer, 8}, // backspace
        {&entier, 13, A::Ignorer, 13},
        {&entier, 0x20AC, A::Inserer, 0x20AC}, // beyond 255: unfiltered
        {&reel, U'e', A::Inserer, U'E'},
        {&reel, U'.', A::Inserer, U'.'},
        {&reel, U',', A::Inserer, U'.'}, // the decimal comma is the point
        {&reel, U'=', A::Calculer, U'='},
        {&reel, U'x', A::Ignorer, U'X'},
        {&texte, U'=', A::Inserer, U'='},
        {&texte, U' ', A::Inserer, U' '},
        {&texte, U'é', A::Inserer, U'é'},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(std::to_string(k.c));
        const TCaractereTraite r = k.champ->TraiterCaractere(k.c);
        EXPECT_EQ(r.Action, k.action);
        if (r.Action == A::Inserer) {
            EXPECT_EQ(r.Car, k.insere);
        }
    }
}

TEST(GenEdit, FiltresDUnChampTexte) {
    using A = TCaractereTraite;
    TCustomGenEdit c;
    c.EcrireGE_TypeVal(TTypeVal::_string);
    c.EcrireGE_FltrSpace(TTypeFltrSpace::fsNoLeadingSpace);
    EXPECT_EQ(c.TraiterCaractere(U' ').Action, A::Ignorer); // the text is empty
    c.TypeText("a");
    EXPECT_EQ(c.TraiterCaractere(U' ').Action, A::Inserer);

    c.EcrireGE_FltrChars(TTypeFltrChars::fcRefused);
    c.EcrireGE_FltrCharsList("xyé");
    EXPECT_EQ(c.TraiterCaractere(U'x').Action, A::Ignorer);
    EXPECT_EQ(c.TraiterCaractere(U'é').Action, A::Ignorer);
    EXPECT_EQ(c.TraiterCaractere(U'a').Action, A::Inserer);

    c.EcrireGE_FltrUpLo(TTypeFltrUpLo::ulUPcase);
    EXPECT_EQ(c.GE_FltrCharsList(), "XYé");
    EXPECT_EQ(c.TraiterCaractere(U'x').Action, A::Ignorer); // becomes X, refused
    const TCaractereTraite b = c.TraiterCaractere(U'b');
    EXPECT_EQ(b.Action, A::Inserer);
    EXPECT_EQ(b.Car, U'B');
    c.EcrireGE_FltrUpLo(TTypeFltrUpLo::ulLOcase);
    EXPECT_EQ(c.GE_FltrCharsList(), "xyé");
    EXPECT_EQ(c.TraiterCaractere(U'Q').Car, U'q');
    c.EcrireGE_FltrCharsList("ABC");
    EXPECT_EQ(c.GE_FltrCharsList(), "abc");
}

TEST(GenEdit, LeTypeFixeLesFiltres) {
    TCustomGenEdit c;
    c.EcrireGE_CoefAff(100);
    c.EcrireGE_TypeVal(TTypeVal::_double);
    EXPECT_EQ(c.GE_CoefAff(), 100); // kept by a real
    EXPECT_EQ(c.GE_FltrUpLo(), TTypeFltrUpLo::ulUPcase);
    EXPECT_EQ(c.GE_FltrCharsList(), "-+.0123456789E");
    EXPECT_EQ(c.GE_FltrSpace(), TTypeFltrSpace::fsNoSpace);
    // Only a string field takes other space and character filters.
    c.EcrireGE_FltrSpace(TTypeFltrSpace::fsNeutre);
    c.EcrireGE_FltrChars(TTypeFltrChars::fcNeutre);
    c.EcrireGE_FltrCharsList("abc");
    EXPECT_EQ(c.GE_FltrSpace(), TTypeFltrSpace::fsNoSpace);
    EXPECT_EQ(c.GE_FltrChars(), TTypeFltrChars::fcAllowed);
    EXPECT_EQ(c.GE_FltrCharsList(), "-+.0123456789E");

    c.EcrireGE_TypeVal(TTypeVal::_date);
    EXPECT_EQ(c.GE_CoefAff(), 1);
    EXPECT_EQ(c.GE_FltrCharsList(), "/0123456789");
    c.EcrireGE_TypeVal(TTypeVal::_string);
    EXPECT_EQ(c.GE_FltrChars(), TTypeFltrChars::fcNeutre);
    EXPECT_EQ(c.GE_FltrSpace(), TTypeFltrSpace::fsNeutre);
    EXPECT_EQ(c.GE_FltrCharsList(), "");
    EXPECT_EQ(c.GE_FltrUpLo(), TTypeFltrUpLo::ulUPcase); // left as it was

    c.EcrireGE_CoefAff(0);
    EXPECT_EQ(c.GE_CoefAff(), 1);
    c.EcrireGE_ChnFrmt("  %05d ");
    EXPECT_EQ(c.GE_ChnFrmt(), "%05d");
}

TEST(GenEdit, CoefficientDAffichage) {
    TCustomGenEdit c;
    c.EcrireGE_TypeVal(TTypeVal::_double);
    c.EcrireGE_CoefAff(100);
    c.TypeText("250");
    EXPECT_EQ(c.ValeurD(), 2.5);
    c.EcrireValeurD(0.125);
    EXPECT_EQ(c.Text(), "12.5");
    EXPECT_EQ(c.FormaterD(1.0 / 3), "33.3333333333333");
    ASSERT_TRUE(c.SaisirCalcul("50"));
    EXPECT_EQ(c.ValeurD(), 0.5);
    EXPECT_EQ(c.Text(), "50");

    // Real limits are in display units too.
    c.EcrireGE_ValMin("-10");
    c.EcrireGE_ValMax("1E3");
    c.TypeText("1000");
    EXPECT_TRUE(c.ValOK());
    c.TypeText("1000.5");
    EXPECT_FALSE(c.ValOK());
    c.TypeText("-10.5");
    EXPECT_FALSE(c.ValOK());
    c.TypeText("-2,5"); // a decimal comma, in display units too
    EXPECT_EQ(c.ValeurD(), -0.025);
    for (const char* t : {"1e999", "nan", "inf", "1,5,0", "1.5,0", "E3", "+-5", "-+5"}) {
        c.TypeText(t);
        EXPECT_FALSE(c.TradOk()) << t;
        EXPECT_EQ(c.ValeurD(), 0) << t;
    }
}

TEST(GenEdit, ErreurDeType) {
    TCustomGenEdit c("GEdLargeurAretier");
    c.EcrireGE_TypeVal(TTypeVal::_integer);
    AttendreErreur<EErreur>([&] { (void)c.ValeurD(); },
                            "GEdLargeurAretier : erreur d'affectation de type");
    EXPECT_THROW(c.EcrireValeurD(1), EErreur);
    EXPECT_THROW((void)c.ValeurS(), EErreur);
    EXPECT_THROW(c.EcrireValeurDT(1), EErreur);
    c.EcrireName("Autre");
    AttendreErreur<EErreur>([&] { c.EcrireValeurS("x"); }, "Autre : erreur d'affectation de type");
}

TEST(GenEdit, ChampDesactive) {
    TCustomGenEdit c = ChampEntier("5", "200");
    c.EcrireGE_ColorOK(CouleurRGB(1, 2, 3));
    c.TypeText("abc");
    EXPECT_FALSE(c.ValOK());
    c.EcrireEnabled(false);
    EXPECT_EQ(c.Couleur(), CouleurFondFenetre);
    EXPECT_TRUE(c.ValOK());
    c.EcrireEnabled(true);
    EXPECT_EQ(c.Couleur(), CouleurRouge);
}

TEST(GenEdit, TestDeLAppelant) {
    TCustomGenEdit c = ChampEntier("5", "200");
    int appels = 0;
    c.OnGetValOK = [&](TCustomGenEdit& champ) {
        ++appels;
        return champ.ValeurI() % 2 == 0; // reads the value: must not call itself again
    };
    c.TypeText("21");
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(c.Couleur(), CouleurRouge);
    EXPECT_FALSE(c.ValOK());
    c.TypeText("22");
    EXPECT_TRUE(c.ValOK());
    EXPECT_EQ(appels, 2);
    c.TypeText("300"); // out of limits: the caller is not asked
    EXPECT_EQ(appels, 2);

    c.OnGetValOK = [](TCustomGenEdit&) -> bool { throw EErreur("panne"); };
    c.TypeText("22");
    EXPECT_FALSE(c.ValOK());
    ASSERT_TRUE(c.OnGetValOK); // put back after the error

    int appelsAuChargement = 0;
    c.OnGetValOK = [&](TCustomGenEdit&) { return ++appelsAuChargement, false; };
    c.Charge();
    EXPECT_EQ(appelsAuChargement, 0);
    EXPECT_TRUE(c.ValOK());
    ASSERT_TRUE(c.OnGetValOK);
}

TEST(GenEdit, LongueursDUnChampTexte) {
    TCustomGenEdit c;
    c.EcrireGE_TypeVal(TTypeVal::_string);
    c.EcrireGE_ValMin("ab");
    c.EcrireGE_ValMax("abcd");
    for (const auto& [texte, ok] : std::vector<std::pair<std::string, bool>>{{"a", false},
                                                                             {"xy", true},
                                                                             {"éèà", true},
                                                                             {"abcd", true},
                                                                             {"abcde", false},
                                                                             {" a ", true}}) {
        c.TypeText(texte);
        EXPECT_EQ(c.ValOK(), ok) << texte;
    }
    EXPECT_EQ(c.ValeurS(), " a "); // not trimmed
    c.EcrireValeurS("x\xC2\xA0y");
    EXPECT_EQ(c.Text(), "x y");
}

TEST(GenEdit, ChampDate) {
    TCustomGenEdit c;
    c.EcrireGE_TypeVal(TTypeVal::_date);
    c.EcrireValeurDT(45000.75);
    EXPECT_EQ(c.Text(), "15/03/23");
    EXPECT_EQ(c.ValeurDT(), 45000);
    c.TypeText(" 1/1/1900 ");
    EXPECT_EQ(c.ValeurDT(), 2);
    c.EcrireGE_ValMin("01/01/20");
    c.EcrireGE_ValMax("31/12/2029");
    for (const auto& [texte, ok] :
         std::vector<std::pair<std::string, bool>>{{"29/02/24", true},
                                                   {"29/02/23", false},
                                                   {"31/04/25", false},
                                                   {"15/03/19", false},
                                                   {"01/01/30", false},
                                                   {"1/1/2025", true},
                                                   {"1/13/25", false},
                                                   {"aa/01/25", false},
                                                   {"01/01/025", false}}) {
        c.TypeText(texte);
        EXPECT_EQ(c.ValOK(), ok) << texte;
    }
}

TEST(GenEdit, FormatPropreDuChamp) {
    TCustomGenEdit c;
    c.EcrireGE_ChnFrmt("%05d");
    c.EcrireValeurI(42);
    EXPECT_EQ(c.Text(), "00042");
    EXPECT_EQ(c.ValeurI(), 42);
    for (const char* mauvais : {"%s", "%d %d", "%n", "%999d", "%ld", "%"}) {
        c.EcrireGE_ChnFrmt(mauvais);
        c.EcrireValeurI(7);
        EXPECT_EQ(c.Text(), "7") << mauvais;
    }
    c.EcrireGE_ChnFrmt("%d%%");
    c.EcrireValeurI(7);
    EXPECT_EQ(c.Text(), "7%");

    TCustomGenEdit r;
    r.EcrireGE_TypeVal(TTypeVal::_double);
    r.EcrireGE_ChnFrmt("%.2f");
    EXPECT_EQ(r.FormaterD(2.0 / 3), "0.67");
    r.EcrireGE_ChnFrmt("%d");
    EXPECT_EQ(r.FormaterD(2.0 / 3), "0.666666666666667");
}

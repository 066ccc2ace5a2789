#include "Calcul.h"

#include "expr/PuissanceReelle.h"

#include <cmath>
#include <string>

TEST(Evaluateur, PrioritesEtOperateurs) {
    const TCasCalcul cas[] = {
        {"2+3*4", typInt, "14"},
        {"2*3+4", typInt, "10"},
        {"(2+3)*4", typInt, "20"},
        {"2^3^2", typDbl, "64"}, // equal priorities group from the left
        {"-2^2", typDbl, "4"},   // a prefix operator binds to its operand alone
        {"2*-3", typInt, "-6"},
        {"--2", Echec},
        {"2--3", typInt, "5"},
        {"+-2", Echec},
        {"-(2+3)*2", typInt, "-10"},
        {"-2.5", typDbl, "-2.5"},
        {"- 0.0", typDbl, "0"},
        {"7/2", typDbl, "3.5"},
        {"6/3", typDbl, "2"},
        {"10 DIV 3", typInt, "3"},
        {"10.5 DIV 3", typDbl, "3"},
        {"-7 DIV 2", typInt, "-3"},
        {"7 MOD 2", typInt, "1"},
        {"-7 MOD 2", typInt, "-1"},
        {"7 mod -2", typInt, "1"},
        {"7.9 MOD 2", typDbl, "1"},
        {"2 ^ -2", typDbl, "0.25"},
        {"(-2)^3", typDbl, "-8"},
        {"0^0", typDbl, "1"},
        {"0^-1", typDbl, "INF"},
        {"4^0.5", typDbl, "2"},
        {"1/0", typDbl, "INF"},
        {"-1/0", typDbl, "-INF"},
        {"0/0", typDbl, "NAN"},
        {"2147483647+1", typInt, "2147483648"},
        {"65536*65536*65536*32768", typInt, "-9223372036854775808"}, // wraps
        {"65536*65536*65536*65536", typInt, "0"},
        {"1+2.5", typDbl, "3.5"},
        {"1 + VRAI", Echec},
        {"1 2", typInt, "1"},
        {"2 3", typInt, "2"},
        {"12abc", typInt, "12"},
        {"3 =< 4", typInt, "3"},
        {"3 == 4", typInt, "3"},
        {"1+", Echec},
        {"", Echec},
        {"   ", Echec},
        {"(", Echec},
        {"()", Echec},
        {"(1", Echec},
        {"(1]", Echec},
        {"( 2 + 3 ) * 2", typInt, "10"},
        {"((((1))))", typInt, "1"},
        {"2(3)", typInt, "2"},
        {"2 NON", Echec}, // NON read as an infix operator needs a right operand
        {"VRAI NON FAUX", typBool, "FALSE"},
        {"\t1", Echec}, // only U+0020 is a space
        {"1\t+2", typInt, "1"},
    };
    for (const TCasCalcul& c : cas)
        VerifierCas(c);
}

TEST(Evaluateur, Nombres) {
    const TCasCalcul cas[] = {
        {"1E3", typDbl, "1000"},
        {"1e3", typDbl, "1000"},
        {"1e+3", typDbl, "1000"},
        {"2.5E-3", typDbl, "0.0025"},
        {".5", typDbl, "0.5"},
        {"5.", typDbl, "5"},
        {".", typDbl, "0"},
        {"007", typInt, "7"},
        {"1.5.2", Echec},
        {"1E", Echec},
        {"1E+", Echec},
        {"1E999", Echec}, // no finite double
        {"1E-400", typDbl, "0"},
        {"2147483647", typInt, "2147483647"},
        {"2147483648", Echec},
        {"2147483648.0", typDbl, "2147483648"},
        {"99999999999999999999", Echec},
        {"-2147483647-1", typInt, "-2147483648"},
        {"12e", Echec}, // E belongs to the number, which then does not convert
        {"0x10", typInt, "0"},
    };
    for (const TCasCalcul& c : cas)
        VerifierCas(c);
}

TEST(Evaluateur, ComparaisonsLogiqueEtChaines) {
    const TCasCalcul cas[] = {
        {"3 < 4", typBool, "TRUE"},
        {"3 >= 4", typBool, "FALSE"},
        {"3 <> 4", typBool, "TRUE"},
        {"4 <= 4", typBool, "TRUE"},
        {"1 = 1.0", typBool, "TRUE"},
        {"(1 < 2) = 1", Echec},
        {"(1 < 2) = (2 < 3)", typBool, "TRUE"},
        {"(1 < 2) > (2 > 3)", typBool, "TRUE"},
        {"0/0 = 0/0", typBool, "FALSE"},
        {"0/0 <> 0/0", typBool, "TRUE"},
        {"0/0 < 1", typBool, "FALSE"},
        {"'B' < 'a'", typBool, "TRUE"},
        {"'abc' = 'abc'", typBool, "TRUE"},
        {"'ab' < 'abc'", typBool, "TRUE"},
        {"'é' > 'z'", typBool, "TRUE"},
        {"'1' = 1", Echec},
        {"'ab' & 'cd'", typStr, "abcd"},
        {"'it''s'", typStr, "it's"},
        {"''''", typStr, "'"},
        {"''", typStr, ""},
        {"'clé' & ' €'", typStr, "clé €"},
        {"'abc", Echec},
        {"'a' + 'b'", Echec},
        {"1 & 2", Echec},
        {"(1 > 2) OU (1 < 2)", typBool, "TRUE"},
        {"(1 < 2) OUEX (1 < 2)", typBool, "FALSE"},
        {"(1 < 2) et (2 < 1)", typBool, "FALSE"},
        {"NON (1 < 2)", typBool, "FALSE"},
        {"NON (1 < 2) ET (2 < 3)", typBool, "FALSE"},
        {"NON 1", Echec},
        {"NON 1 + 2", Echec},
        {"1 ET 2", Echec},
        {"1 = 1 ET 2 = 2", Echec}, // ((1 = 1) ET 2) = 2
        {"(1 = 1) ET (2 = 2)", typBool, "TRUE"},
        {"(1=1)ET(2=2)", typBool, "TRUE"},
        {"ETAT", Echec},
    };
    for (const TCasCalcul& c : cas)
        VerifierCas(c);
}

TEST(Evaluateur, ErreursQuiSortent) {
    AttendreErreurCalcul<EErrDivisionEntiere>("1 DIV 0", "division entière par zéro");
    AttendreErreurCalcul<EErrDivisionEntiere>("1 MOD 0", "division entière par zéro");
    AttendreErreurCalcul<EErrDivisionEntiere>("1.5 DIV 0.5", "division entière par zéro");
    // -2^63 / -1 has no 64-bit quotient.
    AttendreErreurCalcul<EErrDivisionEntiere>("((-2147483647-1)*65536*65536) DIV -1",
                                              "division entière hors des entiers 64 bits");
    AttendreErreurCalcul<EErrDivisionEntiere>("((-2147483647-1)*65536*65536) MOD -1",
                                              "division entière hors des entiers 64 bits");
    const std::string puissance = "opération invalide : puissance non entière d'un nombre négatif";
    AttendreErreurCalcul<EErrOperationInvalide>("(-8)^0.5", puissance);
    AttendreErreurCalcul<EErrOperationInvalide>("(-2)^(1/0)", puissance);
    AttendreErreurCalcul<EErrAffectation>("(0/0) DIV 1",
                                          "impossible d'affecter la valeur à cette variable");
    AttendreErreurCalcul<EErrAffectation>("1E300 MOD 7",
                                          "impossible d'affecter la valeur à cette variable");
}

TEST(Evaluateur, PuissanceReelle) {
    EXPECT_EQ(PuissanceReelle(2, 10), 1024);
    EXPECT_EQ(PuissanceReelle(-2, 3), -8);
    EXPECT_EQ(PuissanceReelle(-2, -2), 0.25);
    EXPECT_EQ(PuissanceReelle(0, 0), 1);
    EXPECT_EQ(PuissanceReelle(0, 2.5), 0);
    EXPECT_EQ(PuissanceReelle(1.5, 2147483647), INFINITY);
    EXPECT_EQ(PuissanceReelle(2, -2147483647), 0);
    EXPECT_EQ(PuissanceReelle(27, 1.0 / 3), std::exp(1.0 / 3 * std::log(27.0)));
    EXPECT_TRUE(std::isnan(PuissanceReelle(std::nan(""), 0.5)));
    EXPECT_THROW(PuissanceReelle(-1, 2147483648.0), EErrOperationInvalide);
}

TEST(Evaluateur, ImbricationProfondeRefuseeSansDebordement) {
    const auto imbrique = [](int n, const std::string& ouvrant) {
        std::string t;
        for (int i = 0; i < n; ++i)
            t += ouvrant;
        t += "1";
        for (int i = 0; i < n; ++i)
            t += ")";
        return t;
    };
    EXPECT_TRUE(Calculer(imbrique(200, "(").c_str()));
    EXPECT_TRUE(Calculer(imbrique(200, "ABS(").c_str()));
    for (const char* ouvrant : {"(", "-(", "SIN(", "MIN(1,"}) {
        SCOPED_TRACE(ouvrant);
        AttendreErreur<EErreur>([&] { (void)Calculer(imbrique(100000, ouvrant).c_str()); },
                                "expression trop imbriquée : plus de 256 niveaux de parenthèses "
                                "ou d'arguments");
    }
    // A long expression without nesting is no problem.
    std::string somme = "0";
    for (int i = 0; i < 100000; ++i)
        somme += "+1";
    EXPECT_EQ(Calculer(somme.c_str())->val_I(), 100000);
}

TEST(Evaluateur, PositionDeLecture) {
    const std::u16string texte = u"  2 + 3   suite";
    Tvaleur v = Tvaleur::CreateVal(u"avant");
    std::int32_t pos = 1;
    ASSERT_TRUE(EvaluerExpression(v, texte, pos, nullptr, nullptr, false));
    EXPECT_EQ(v.val_I(), 5);
    EXPECT_EQ(pos, 11); // on "suite", past the spaces

    pos = 1;
    ASSERT_TRUE(EvaluerExpression(v, texte, pos, nullptr, nullptr, true));
    EXPECT_EQ(v.val_I(), 2); // spaces significant: the expression ends at the space
    EXPECT_EQ(pos, 5);

    pos = 5;
    ASSERT_TRUE(EvaluerExpression(v, texte, pos, nullptr, nullptr, false));
    EXPECT_EQ(v.val_I(), 3); // "+ 3": a prefix plus

    const std::u16string incomplet = u"   1 +";
    pos = 1;
    v = Tvaleur::CreateVal(u"avant");
    EXPECT_FALSE(EvaluerExpression(v, incomplet, pos, nullptr, nullptr, false));
    EXPECT_EQ(pos, 4); // back where reading began, past the leading spaces
    EXPECT_EQ(v.val_S(), u"avant");

    for (const std::int32_t hors : {0, -3, 100}) {
        pos = hors;
        EXPECT_FALSE(EvaluerExpression(v, texte, pos, nullptr, nullptr, false));
    }
}

// The whole text must be one expression: what follows is named in the error, V is unchanged.
TEST(Evaluateur, CalculerTexteRefuseCeQuiSuitLExpression) {
    const struct {
        const char16_t* texte;
        const char* reste; // nullptr: accepted
    } cas[] = {
        {u"2 + 3   ", nullptr},
        {u"  (2 + 3) * 2", nullptr},
        {u"1,5*1000", ",5*1000"},
        {u"150 + 20 daN", "daN"},
        {u"1 2", "2"},
        {u"12abc", "abc"},
        {u"3 =< 4", "=< 4"},
        {u"2(3)", "(3)"},
        {u"1\t+2", "\t+2"},
        {u"(1))", ")"},
        {u"'a' 'b'", "'b'"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(Utf16VersUtf8(c.texte));
        Tvaleur v = Tvaleur::CreateVal(u"avant");
        if (!c.reste) {
            EXPECT_TRUE(CalculerTexte(v, c.texte));
            continue;
        }
        std::string message = std::string("texte en trop après l'expression : « ") + c.reste + " »";
        if (c.reste[0] == ',') message += " ; le séparateur décimal est le point";
        AttendreErreur<EErrTexteEnTrop>([&] { (void)CalculerTexte(v, c.texte); }, message);
        EXPECT_EQ(v.val_S(), u"avant");
    }
    Tvaleur v;
    EXPECT_FALSE(CalculerTexte(v, u"1+")); // no expression at all: no error, only false
}

TEST(Evaluateur, LeResultatRemplaceLaValeur) {
    Tvaleur v = Tvaleur::CreateTbl(typStr, 2, {2, 2, 1});
    ASSERT_TRUE(CalculerTexte(v, u"1.5*2"));
    EXPECT_TRUE(v.valdbl());
    EXPECT_FALSE(v.valtableau());
    EXPECT_EQ(v.val_D(), 3.0);
}

#include "Calcul.h"

#include "expr/PuissanceReelle.h"

#include <cmath>
#include <map>

TEST(Fonctions, TableDesNoms) {
    const TCasCalcul cas[] = {
        {"PI", typDbl, "3.14159265358979"},
        {"pi", typDbl, "3.14159265358979"},
        {"sin(0)", typDbl, "0"},
        {"SIN 0", Echec},
        {"SIN (0)", Echec}, // the argument list follows the name directly
        {"SIN(1,2)", Echec},
        {"SIN()", Echec},
        {"PI()", Echec},
        {"MIN(1,)", Echec},
        {"MIN(1", Echec},
        {"MIN(1;2)", Echec},
        {"FAUX OU VRAI", typBool, "TRUE"},
        {"NON VRAI", typBool, "FALSE"},
        {"TRUE ET NON FALSE", typBool, "TRUE"},
        {"VRAI = 1", Echec},
        {"DEG2RAD(180)", typDbl, "3.14159265358979"},
        {"90*DEGENRAD", typDbl, "1.5707963267949"},
        {"PUI2(3)", typDbl, "9"},
        {"PUI3(-2)", typDbl, "-8"},
        {"PUISS(2, 10)", typDbl, "1024"},
        {"PUISS( 2 , 10 )", typDbl, "1024"},
        {"RAC2(16)", typDbl, "4"},
        {"RAC2(-1)", typDbl, "NAN"},
        {"RAC3(0)", typDbl, "0"},
        {"LN(0)", typDbl, "-INF"},
        {"LN(EXP(2))", typDbl, "2"},
        {"LOG10(1000)", typDbl, "3"},
        {"ARCSIN(2)", typDbl, "NAN"},
        {"ARCSIN(1)", typDbl, "1.5707963267949"},
        {"ARCCOS(-1)", typDbl, "3.14159265358979"},
        {"ARCTAN(1)*4", typDbl, "3.14159265358979"},
        {"ARCTANH(1)", typDbl, "INF"},
        {"ARCTANH(-1)", typDbl, "-INF"},
        {"ARCTANH(0.5)", typDbl, "0.549306144334055"},
        {"ARCSINH(1)", typDbl, "0.881373587019543"},
        {"ARCCOSH(2)", typDbl, "1.31695789692482"},
        {"COSH(0)+SINH(0)+TANH(0)", typDbl, "1"},
        {"COS(PI)+TAN(0)", typDbl, "-1"},
        {"ARRONDIR(2.5)", typInt, "2"},
        {"ARRONDIR(3.5)", typInt, "4"},
        {"ARRONDIR(-2.5)", typInt, "-2"},
        {"ARRONDIR(-2.6)", typInt, "-3"},
        {"ARRONDIR(4294967297.4)", typInt, "1"}, // the low 32 bits
        {"TRONQUER(-2.7)", typInt, "-2"},
        {"TRONQUER(VRAI)", typInt, "1"},
        {"MIN(3, 2.5)", typDbl, "2.5"},
        {"MIN(2, 3)", typInt, "2"},
        {"MAX(2, 3)", typInt, "3"},
        {"MAX(2.0, 3)", typDbl, "3"},
        {"MAX(0/0, 1)", typDbl, "1"},
        {"MIN(0/0, 1)", typDbl, "1"},
        {"MAX(2147483647+1, 0)", typInt, "-2147483648"},
        {"ABS(-3)", typInt, "3"},
        {"ABS(-3.5)", typDbl, "3.5"},
        {"ABS(VRAI)", typDbl, "1"},
        {"ABS(-2147483647-1)", typInt, "-2147483648"},
        {"PAIR(4)", typBool, "TRUE"},
        {"PAIR(-3)", typBool, "FALSE"},
        {"PAIR(0)", typBool, "TRUE"},
        {"PAIR(4.0)", Echec},
        {"BVR(1,2,3)", typInt, "66051"},
        {"BVR(255,255,255)", typInt, "16777215"},
        {"BVR(1,2,3.0)", Echec},
        {"NUMVERSION", typInt, "0"},
        {"RADENDEG", typDbl, "57.2957795130823"},
        {"GRADENRAD*RADENGRAD", typDbl, "1"},
        {"DEGENGRAD*GRADENDEG", typDbl, "1"},
        {"?F(1)", Echec},
        {"?", Echec},
        {"%X", Echec},
        {"XYZ", Echec},
        {"_A", Echec},
        {"SIN2", Echec},
        {"é", Echec},
    };
    for (const TCasCalcul& c : cas)
        VerifierCas(c);
}

TEST(Fonctions, ValeursExactes) {
    EXPECT_EQ(Calculer("PI")->val_D(), 3.141592653589793);
    EXPECT_EQ(Calculer("90*DEGENRAD")->val_D(), 1.5707963267948966);
    EXPECT_EQ(Calculer("DEG2RAD(180)")->val_D(), 3.141592653589793);
    EXPECT_EQ(Calculer("RAC3(27)")->val_D(), std::exp(0.3333333333333333 * std::log(27.0)));
    EXPECT_EQ(Calculer("GRADENDEG")->val_D(), 0.9);
    EXPECT_EQ(Calculer("DEGENGRAD")->val_D(), 1.1111111111111112);
    EXPECT_EQ(Calculer("RADENGRAD")->val_D(), 63.66197723675813);
    EXPECT_EQ(Calculer("GRADENRAD")->val_D(), 0.015707963267948967);
    EXPECT_EQ(Calculer("LOG10(2)")->val_D(), std::log(2.0) * 0.4342944819032518);
    EXPECT_EQ(Calculer("ARCSIN(0.3)")->val_D(), std::atan2(0.3, std::sqrt(1.3 * 0.7)));
}

TEST(Fonctions, ErreursQuiSortent) {
    const std::string affectation = "impossible d'affecter la valeur à cette variable";
    AttendreErreurCalcul<EErrAffectation>("SIN('a')", affectation);
    AttendreErreurCalcul<EErrAffectation>("MIN(1, 'a')", affectation);
    AttendreErreurCalcul<EErrAffectation>("ABS('a')", affectation);
    const std::string puissance = "opération invalide : puissance non entière d'un nombre négatif";
    AttendreErreurCalcul<EErrOperationInvalide>("RAC3(-8)", puissance);
    AttendreErreurCalcul<EErrOperationInvalide>("PUISS(-8, 0.5)", puissance);
    const std::string entier = "opération invalide : nombre hors des entiers 64 bits";
    AttendreErreurCalcul<EErrOperationInvalide>("ARRONDIR(0/0)", entier);
    AttendreErreurCalcul<EErrOperationInvalide>("TRONQUER(1E19)", entier);
    AttendreErreurCalcul<EErrOperationInvalide>("ARRONDIR(-1/0)", entier);
    EXPECT_EQ(Calculer("TRONQUER(-9.2E18)")->val_I(), 1650982912); // low 32 bits
}

namespace {

// A small caller: variables X (real), N (integer), T (a 2 x 3 integer array whose element e
// holds 10 + e, e numbered as Select numbers it), and the user function SOMME.
struct TAppelant {
    std::map<std::u16string, int> appels;
    TFnVariable variables = [this](const std::u16string& nom) -> std::optional<Tvaleur> {
        ++appels[nom];
        if (nom == u"X" || nom == u"%X") return Tvaleur::CreateValD(2.5);
        if (nom == u"N") return Tvaleur::CreateValI(4);
        if (nom == u"%#A_1") return Tvaleur::CreateVal(u"spécial");
        if (nom == u"T") {
            Tvaleur t = Tvaleur::CreateTbl(typInt, 2, {2, 3, 1});
            for (std::int32_t i2 = 1; i2 <= 3; ++i2)
                for (std::int32_t i1 = 1; i1 <= 2; ++i1) {
                    t.Select(2, {i1, i2, 1}, true);
                    t.EcrireVal_I(10 + t.EltActif());
                }
            return t;
        }
        return std::nullopt;
    };
    TFnFonction fonctions = [this](const std::u16string& nom,
                                   const TValArray& args) -> std::optional<Tvaleur> {
        ++appels[u"?" + nom];
        if (nom != u"SOMME" && nom != u"PI") return std::nullopt;
        double s = 0;
        for (const Tvaleur& a : args)
            s += a.val_D();
        return Tvaleur::CreateValD(nom == u"PI" ? -1 : s);
    };

    std::optional<Tvaleur> Calculer(const char* texte) {
        Tvaleur v;
        std::int32_t pos = 1;
        if (!EvaluerExpression(v, Utf8VersUtf16(texte), pos, variables, fonctions, false))
            return std::nullopt;
        return v;
    }
};

} // namespace

TEST(Fonctions, VariablesEtFonctionsDeLAppelant) {
    TAppelant a;
    EXPECT_EQ(a.Calculer("X*2")->val_D(), 5.0);
    EXPECT_EQ(a.Calculer("%x*2")->val_D(), 5.0);
    EXPECT_EQ(a.Calculer("n MOD 3")->val_I(), 1);
    EXPECT_EQ(a.Calculer("%#a_1")->val_S(), u"spécial");
    EXPECT_EQ(a.Calculer("SOMME(1, 2, X)")->val_D(), 5.5);
    EXPECT_EQ(a.Calculer("?SOMME")->val_D(), 0.0);
    EXPECT_EQ(a.Calculer("?PI")->val_D(), -1.0); // "?" bypasses the table
    EXPECT_EQ(a.Calculer("PI")->val_D(), 3.141592653589793);
    EXPECT_FALSE(a.Calculer("INCONNU"));
    EXPECT_FALSE(a.Calculer("?X"));
    EXPECT_EQ(a.appels[u"?INCONNU"], 1);
    EXPECT_EQ(a.appels[u"INCONNU"], 1);

    // Indices: the first varies fastest, as Select numbers the elements.
    EXPECT_EQ(a.Calculer("T[2,3]")->val_I(), 15);
    EXPECT_EQ(a.Calculer("T[ 1 , N-2 ]")->val_I(), 12);
    EXPECT_EQ(a.Calculer("T[1.9, 1]")->val_I(), 10);
    for (const char* mal : {"T[1,2", "T[1;2]", "T[]", "T[1,2,1,1]", "X[1"}) {
        SCOPED_TRACE(mal);
        EXPECT_FALSE(a.Calculer(mal));
    }
}

TEST(Fonctions, ErreursDIndicesDesVariables) {
    TAppelant a;
    const auto attendre = [&](const char* texte, const std::string& message) {
        SCOPED_TRACE(texte);
        AttendreErreur<EErreur>([&] { (void)a.Calculer(texte); }, message);
    };
    attendre("T[3,1]", MsgDepassementIndice);
    attendre("T[0,1]", MsgDepassementIndice);
    attendre("T[1,-1]", MsgDepassementIndice);
    attendre("T[1,3000000000.0]", MsgDepassementIndice);
    attendre("T[1]", MsgNbIndices);
    attendre("T", MsgNbIndices); // an array variable is always indexed
    attendre("X[1]", MsgNbIndices);
    attendre("T['a',1]", "impossible d'affecter la valeur à cette variable");
}

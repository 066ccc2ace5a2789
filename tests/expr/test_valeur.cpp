#include "expr/Valeur.h"
#include "support/AttendreErreur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const std::string MsgAffectation = "impossible d'affecter la valeur à cette variable";

} // namespace

TEST(Valeur, SansTypePuisPremiereEcriture) {
    Tvaleur v = Tvaleur::CreateTyp(typNA);
    EXPECT_TRUE(v.valna());
    EXPECT_EQ(v.NbElts(1), 1);
    AttendreErreur<EErrAffectation>([&] { (void)v.val_I(); }, MsgAffectation);
    v.EcrireVal_D(2.5);
    EXPECT_TRUE(v.valdbl());
    EXPECT_FALSE(v.valtableau());
    EXPECT_EQ(v.val_D(), 2.5);

    Tvaleur nue; // plain constructor: no extents at all until the first write
    EXPECT_EQ(nue.NbElts(1), 0);
    EXPECT_EQ(nue.formattxt(), u"");
    nue.EcrireVal_S(u"é");
    EXPECT_EQ(nue.TypeVal(), typStr);
    EXPECT_EQ(nue.val_S(), u"é");
}

TEST(Valeur, ConversionsEnLecture) {
    EXPECT_EQ(Tvaleur::CreateValD(-2.7).val_I(), -2);
    EXPECT_EQ(Tvaleur::CreateValD(2.7).val_I(), 2);
    EXPECT_EQ(Tvaleur::CreateVal(true).val_D(), 1.0);
    EXPECT_EQ(Tvaleur::CreateVal(true).val_I(), 1);
    EXPECT_FALSE(Tvaleur::CreateValD(0.0).val_B());
    EXPECT_TRUE(Tvaleur::CreateValD(1e-300).val_B());
    EXPECT_TRUE(Tvaleur::CreateValD(std::nan("")).val_B());
    EXPECT_TRUE(Tvaleur::CreateValI(-3).val_B());
    EXPECT_EQ(Tvaleur::CreateValI(-3).val_D(), -3.0);
    AttendreErreur<EErrAffectation>([] { (void)Tvaleur::CreateValI(1).val_S(); }, MsgAffectation);
    AttendreErreur<EErrAffectation>([] { (void)Tvaleur::CreateVal(u"1").val_I(); }, MsgAffectation);
    AttendreErreur<EErrAffectation>([] { (void)Tvaleur::CreateVal(u"1").val_B(); }, MsgAffectation);
}

TEST(Valeur, TroncatureSansResultatRefusee) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double d : {std::nan(""), 9.3e18, -9.3e18, inf, -inf, 9223372036854775808.0}) {
        SCOPED_TRACE(d);
        AttendreErreur<EErrAffectation>([&] { (void)Tvaleur::CreateValD(d).val_I(); },
                                        MsgAffectation);
    }
    EXPECT_EQ(Tvaleur::CreateValD(-9223372036854775808.0).val_I(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Tvaleur::CreateValD(9.2e18).val_I(), 9200000000000000000);
}

TEST(Valeur, ConversionsEnEcriture) {
    Tvaleur i = Tvaleur::CreateValI(7);
    AttendreErreur<EErrAffectation>([&] { i.EcrireVal_D(1.5); }, MsgAffectation);
    EXPECT_EQ(i.val_I(), 7); // unchanged by the refused write

    Tvaleur d = Tvaleur::CreateValD(1.5);
    d.EcrireVal_I(7);
    EXPECT_TRUE(d.valdbl());
    EXPECT_EQ(d.val_D(), 7.0);
    AttendreErreur<EErrAffectation>([&] { d.EcrireVal_B(true); }, MsgAffectation);

    Tvaleur b = Tvaleur::CreateVal(false);
    AttendreErreur<EErrAffectation>([&] { b.EcrireVal_I(1); }, MsgAffectation);
    Tvaleur s = Tvaleur::CreateTyp(typConstStr);
    s.EcrireVal_S(u"abc");
    EXPECT_TRUE(s.valconststr());
    EXPECT_EQ(s.val_S(), u"abc");
    AttendreErreur<EErrAffectation>([&] { s.EcrireVal_D(1); }, MsgAffectation);
}

TEST(Valeur, TailleDesElements) {
    const Tvaleur t = Tvaleur::CreateTbl(typInt, 2, {2, 3, 1});
    EXPECT_EQ(t.TailleElement(), 8);
    EXPECT_EQ(t.NbEltsDonnees(), 6);
    EXPECT_EQ(t.TailleDonnees(), 48);
    EXPECT_TRUE(t.valtableau());
    EXPECT_EQ(t.NbDimTbl(), 2);
    const Tvaleur b = Tvaleur::CreateTbl(typBool, 1, {5, 1, 1});
    EXPECT_EQ(b.TailleElement(), 1);
    EXPECT_EQ(b.TailleDonnees(), 5);
    EXPECT_EQ(Tvaleur::CreateTyp(typStr).TailleDonnees(), 8);
    EXPECT_EQ(Tvaleur::CreateTyp(typNA).TailleDonnees(), 0);
    // The element count is the product of all three extents, whatever the dimension count.
    EXPECT_EQ(Tvaleur::CreateTbl(typDbl, 1, {2, 3, 4}).NbEltsDonnees(), 24);
    EXPECT_TRUE(t.SameSize(Tvaleur::CreateTbl(typDbl, 2, {2, 3, 1})));
    EXPECT_FALSE(t.SameSize(Tvaleur::CreateTbl(typInt, 2, {3, 2, 1})));
    EXPECT_FALSE(t.SameSize(Tvaleur::CreateTbl(typBool, 2, {2, 3, 1})));
    for (const TIndTbl ind : {TIndTbl{-1, 1, 1}, TIndTbl{65536, 65536, 1}}) {
        AttendreErreur<EErrIndice>([&] { (void)Tvaleur::CreateTbl(typInt, 2, ind); },
                                   MsgDepassementIndice);
    }
}

TEST(Valeur, DeuxCorrespondancesDesIndices) {
    Tvaleur t = Tvaleur::CreateTbl(typInt, 2, {2, 3, 1});
    t.Select(2, {2, 3, 1}, true);
    EXPECT_EQ(t.EltActif(), 5);
    EXPECT_TRUE(t.FinDuTableau());
    AttendreErreur<EErrIndice>([&] { t.Select(1, {2, 1, 1}, true); }, MsgNbIndices);
    AttendreErreur<EErrIndice>([&] { t.Select(2, {3, 1, 1}, true); }, MsgDepassementIndice);

    // The indexed accessors let the last index vary fastest: (1, 2) is element 1, which Select
    // reaches with (2, 1).
    t.SetVal_I(9, 1, 2, 0);
    EXPECT_EQ(t.EltActif(), 1);
    t.Select(2, {2, 1, 1}, true);
    EXPECT_EQ(t.val_I(), 9);
    EXPECT_EQ(t.GetVal_I(1, 2, 0), 9);
    EXPECT_EQ(t.formattxt(), u"0,0,0,9,0,0");
    EXPECT_EQ(t.EltActif(), 5); // the last element visited stays active

    EXPECT_EQ(t.GetVal_I(0, 3, 1), 0); // an index <= 0 ends the indexing: element 0
    EXPECT_EQ(t.EltActif(), 0);
    t.SetVal_I(4, 2, 0, 7);
    EXPECT_EQ(t.EltActif(), 1);
    AttendreErreur<EErrIndice>([&] { t.SetVal_I(1, 1, 4, 0); }, MsgDepassementIndice);
}

TEST(Valeur, IndicesHorsDuTableauRefuses) {
    Tvaleur t = Tvaleur::CreateTbl(typDbl, 1, {3, 1, 1});
    for (const TIndTbl ind : {TIndTbl{0, 1, 1}, TIndTbl{-5, 1, 1}, TIndTbl{1, 0, 1},
                              TIndTbl{1, 1, 2}, TIndTbl{4, 1, 1}}) {
        AttendreErreur<EErrIndice>([&] { t.Select(1, ind, false); }, MsgDepassementIndice);
    }
    AttendreErreur<EErrIndice>([&] { (void)t.GetVal_D(-1, 0, 0); }, MsgDepassementIndice);
    EXPECT_EQ(t.EltActif(), 0);

    Tvaleur s = Tvaleur::CreateValI(3);
    EXPECT_EQ(s.GetVal_I(0, 0, 0), 3);
    EXPECT_EQ(s.GetVal_I(1, 1, 1), 3);
}

TEST(Valeur, SelectSuivantAuDelaDeLaFin) {
    Tvaleur t = Tvaleur::CreateTbl(typInt, 1, {2, 1, 1});
    t.SelectSuivant();
    EXPECT_TRUE(t.FinDuTableau());
    AttendreErreur<EErrIndice>([&] { t.SelectSuivant(); }, MsgAuDelaTableau);
    // The active number stays past the end: nothing is read or written there.
    AttendreErreur<EErrIndice>([&] { (void)t.val_I(); }, MsgAuDelaTableau);
    AttendreErreur<EErrIndice>([&] { t.EcrireVal_I(1); }, MsgAuDelaTableau);
    t.SetSize(1, {1, 1, 1});
    AttendreErreur<EErrIndice>([&] { (void)t.val_I(); }, MsgAuDelaTableau);
    t.Select(1, {1, 1, 1}, true);
    EXPECT_EQ(t.val_I(), 0);
}

TEST(Valeur, NbElts) {
    const Tvaleur t = Tvaleur::CreateTbl(typInt, 3, {2, 3, 4});
    EXPECT_EQ(t.NbElts(0), 0);
    EXPECT_EQ(t.NbElts(1), 2);
    EXPECT_EQ(t.NbElts(3), 4);
    EXPECT_EQ(t.NbElts(4), 0);
}

TEST(Valeur, Formattxt) {
    EXPECT_EQ(Tvaleur::CreateVal(true).formattxt(), u"TRUE");
    EXPECT_EQ(Tvaleur::CreateVal(false).formattxt(), u"FALSE");
    EXPECT_EQ(Tvaleur::CreateTyp(typNA).formattxt(), u"**indéfini**");
    EXPECT_EQ(Tvaleur::CreateValI(-12).formattxt(), u"-12");
    EXPECT_EQ(Tvaleur::CreateValD(0.1).formattxt(), u"0.1");
    EXPECT_EQ(Tvaleur::CreateVal(u"a,b").formattxt(), u"a,b");
    Tvaleur t = Tvaleur::CreateTbl(typInt, 1, {3, 1, 1});
    for (std::int32_t i = 1; i <= 3; ++i)
        t.SetVal_I(i, i, 0, 0);
    EXPECT_EQ(t.formattxt(), u"1,2,3");
    Tvaleur r = Tvaleur::CreateTbl(typDbl, 1, {2, 1, 1});
    r.SetVal_D(1e20, 2, 0, 0);
    EXPECT_EQ(r.formattxt(), u"0,1E20");
    EXPECT_EQ(Tvaleur::CreateTbl(typInt, 1, {0, 1, 1}).formattxt(), u"");
}

TEST(Valeur, CopiesProfondes) {
    Tvaleur source = Tvaleur::CreateVal(u"texte");
    Tvaleur cible = Tvaleur::CreateValD(1.5);
    cible.Assign(source);
    EXPECT_TRUE(cible.valstr());
    cible.EcrireVal_S(u"autre");
    EXPECT_EQ(source.val_S(), u"texte");
    {
        const Tvaleur copie = Tvaleur::CreateFrom(source);
        source = Tvaleur::CreateValI(1);
        EXPECT_EQ(copie.val_S(), u"texte");
    }
    EXPECT_EQ(cible.val_S(), u"autre");

    Tvaleur tab = Tvaleur::CreateTbl(typStr, 1, {2, 1, 1});
    tab.SetVal_S(u"b", 2, 0, 0);
    Tvaleur copie;
    copie.Assign(tab);
    tab.SetVal_S(u"x", 2, 0, 0);
    EXPECT_EQ(copie.GetVal_S(2, 0, 0), u"b");
    EXPECT_EQ(copie.NbDimTbl(), 1);
}

TEST(Valeur, AffecterScalaire) {
    Tvaleur entier = Tvaleur::CreateValI(0);
    entier.AffecterScalaire(Tvaleur::CreateValD(2.7));
    EXPECT_EQ(entier.val_I(), 2);
    Tvaleur reel = Tvaleur::CreateValD(0);
    reel.AffecterScalaire(Tvaleur::CreateVal(true));
    EXPECT_EQ(reel.val_D(), 1.0);
    Tvaleur texte = Tvaleur::CreateTyp(typStr);
    AttendreErreur<EErrAffectation>([&] { texte.AffecterScalaire(Tvaleur::CreateValI(1)); },
                                    MsgAffectation);

    Tvaleur constante = Tvaleur::CreateTyp(typConstStr);
    constante.AffecterScalaire(Tvaleur::CreateVal(u"x"));
    EXPECT_EQ(constante.val_S(), u"");
    Tvaleur rien = Tvaleur::CreateTyp(typNA);
    rien.AffecterScalaire(Tvaleur::CreateValI(1));
    EXPECT_TRUE(rien.valna());

    Tvaleur tab = Tvaleur::CreateTbl(typInt, 1, {2, 1, 1});
    AttendreErreur<EErrIndice>([&] { tab.AffecterScalaire(Tvaleur::CreateValI(1)); }, MsgNbIndices);
}

TEST(Valeur, SetSizeGardeLeTypeEtRemetAZero) {
    Tvaleur t = Tvaleur::CreateTbl(typInt, 1, {2, 1, 1});
    t.SetVal_I(5, 1, 0, 0);
    t.SetSize(2, {2, 2, 1});
    EXPECT_TRUE(t.valint());
    EXPECT_EQ(t.NbEltsDonnees(), 4);
    EXPECT_EQ(t.GetVal_I(1, 1, 0), 0);
}

TEST(Valeur, MasquesDeType) {
    const Tvaleur i = Tvaleur::CreateValI(1), b = Tvaleur::CreateVal(true);
    const Tvaleur c = Tvaleur::CreateTyp(typConstStr);
    EXPECT_TRUE(i.valnum() && i.valalg() && !i.valstr() && i.typOK(typInt | typBool));
    EXPECT_TRUE(b.valalg() && !b.valnum() && b.valbool());
    EXPECT_TRUE(c.valstr() && c.valconststr() && !c.valalg());
    EXPECT_FALSE(i.typOK(typDbl));
}

#include "ScanEssai.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <gtest/gtest.h>

namespace {

struct Edition : TScanCharge {
    int Compter(std::uint8_t bits) const {
        int n = 0;
        for (const TCube* c : T.Scan.CubesAffiches)
            n += (c->etatSP & bits) == bits;
        return n;
    }
    void Selectionner(int premier, int nombre) {
        for (int k = premier; k < premier + nombre; ++k)
            T.Scan.CubesAffiches[k]->etatSP |= EtatSelectionne;
    }
};

} // namespace

TEST_F(Edition, MasquerDemasquerInverser) {
    T.MasquerSelection(); // nothing selected: nothing changes
    EXPECT_EQ(Compter(EtatMasque), 0);

    Selectionner(0, 3);
    T.MasquerSelection();
    EXPECT_EQ(Compter(EtatMasque), 3);
    EXPECT_EQ(Compter(EtatSelectionne), 0);

    Selectionner(5, 2);
    T.InverserMasque();
    T.InverserMasque();
    EXPECT_EQ(Compter(EtatMasque), 3);
    EXPECT_EQ(Compter(EtatSelectionne), 0);

    // A masked cube that was deleted stays masked when everything is unmasked.
    T.SupprimerPointsMasques();
    T.Demasquer();
    EXPECT_EQ(Compter(EtatMasque | EtatSupprime), 3);
    T.AnnulerSuppressions();
    EXPECT_FALSE(T.Scan.ScanModifie);
    for (int n = 0; n <= T.Scan.NivMax; ++n)
        T.Scan.PourChaqueCubeDuNiveau(n, [](TCube* c) { EXPECT_EQ(c->etatSP, 0); });
}

TEST_F(Edition, SupprimerUnCubeMarqueLesNiveauxPlusFins) {
    T.FixerNiveauAffiche(1);
    TCube* cible = T.Scan.CubesAffiches[0];
    cible->etatSP |= EtatSelectionne;
    T.SupprimerSelection();
    EXPECT_TRUE(T.Scan.ScanModifie);
    int supprimes4 = 0;
    T.Scan.PourChaqueCubeDuNiveau(4, [&](TCube* c) {
        const bool dessous = c->CubeParent->CubeParent->CubeParent == cible;
        EXPECT_EQ((c->etatSP & EtatSupprime) != 0, dessous);
        supprimes4 += dessous;
    });
    EXPECT_GT(supprimes4, 0);
    EXPECT_EQ(cible->CubeParent->etatSP, 0); // coarser cubes are not marked
}

TEST_F(Edition, CompacterRetireLesCubesSupprimes) {
    T.CompacterScan(); // no deletion pending: nothing happens, nothing is shown
    EXPECT_TRUE(Banc.Plateforme.Statuts.empty() ||
                Banc.Plateforme.Statuts.back().rfind("compactage", 0) != 0);

    T.FixerNiveauAffiche(0);
    const auto avant = T.Scan.NbCubesNiv;
    const std::int64_t cubesAvant = T.Scan.NbCubesTotal();
    TCube* cellule = T.Scan.CubesAffiches[0];
    const std::int32_t pointsCellule = cellule->nbptscube;
    cellule->etatSP |= EtatSelectionne;
    T.SupprimerSelection();
    T.CompacterScan();
    EXPECT_EQ(T.Scan.NbCubesNiv[0], avant[0] - 1);
    EXPECT_LT(T.Scan.NbCubesTotal(), cubesAvant);
    EXPECT_EQ(std::count(T.Scan.Grille.begin(), T.Scan.Grille.end(), nullptr),
              std::ptrdiff_t(T.Scan.Grille.size()) - avant[0] + 1);
    EXPECT_EQ(T.Scan.CubesAffiches.size(), std::size_t(avant[0] - 1));
    EXPECT_EQ(Banc.Plateforme.Statuts.back(), "compactage 100 %");
    EXPECT_TRUE(T.Scan.ScanModifie); // cleared only by a save or the undo
    EXPECT_GT(pointsCellule, 0);
    EXPECT_EQ(T.Scan.NbPoints, 3000); // the counts of the load stay
}

TEST_F(Edition, NiveauAfficheLimiteAuNiveauLePlusFin) {
    T.Scan.NivMax = 2;
    T.FixerNiveauAffiche(4);
    EXPECT_EQ(T.Scan.NivAffiche, 2);
    T.FixerNiveauAffiche(0);
    EXPECT_EQ(T.Scan.CubesAffiches.size(), std::size_t(T.Scan.NbCubesNiv[0]));
}

TEST_F(Edition, Proprietes) {
    const auto& n = T.Scan.NbCubesNiv;
    const std::string attendu = "Définition du scan : 1.6 mm\r\n"
                                "Nombre de points : 3000\r\n"
                                "Nombre de cubes : " +
                                std::to_string(T.Scan.NbCubesTotal()) +
                                "\r\n"
                                "  - 0 : 1 m : " +
                                std::to_string(n[0]) +
                                "\r\n"
                                "  - 1 : 20 cm : " +
                                std::to_string(n[1]) +
                                "\r\n"
                                "  - 2 : 4 cm : " +
                                std::to_string(n[2]) +
                                "\r\n"
                                "  - 3 : 8 mm : " +
                                std::to_string(n[3]) +
                                "\r\n"
                                "  - 4 : 1.6 mm : " +
                                std::to_string(n[4]) +
                                "\r\n"
                                "Dimensions :\r\n"
                                " - sur X : 100.000 < 102.990\r\n"
                                " - sur Y : 200.000 < 200.090\r\n"
                                " - sur Z : 40.000 < 40.006";
    EXPECT_EQ(T.Proprietes(), attendu);
}

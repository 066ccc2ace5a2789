#include "ScanEssai.h"
#include "scan/EditionPoints.h"
#include "scan/PasEntretien.h"
#include "support/PlateformeScriptee.h"
#include "util/Erreurs.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct Edition : TScanSeul {
    int Compter(std::uint8_t bits) const {
        int n = 0;
        for (const TCube* c : Scan.CubesAffiches)
            n += (c->etatSP & bits) == bits;
        return n;
    }
    void Selectionner(int premier, int nombre) {
        for (int k = premier; k < premier + nombre; ++k)
            Scan.CubesAffiches[k]->etatSP |= EtatSelectionne;
    }
};

} // namespace

TEST_F(Edition, MasquerDemasquerInverser) {
    MasquerSelection(Scan); // nothing selected: nothing changes
    EXPECT_EQ(Compter(EtatMasque), 0);

    Selectionner(0, 3);
    MasquerSelection(Scan);
    EXPECT_EQ(Compter(EtatMasque), 3);
    EXPECT_EQ(Compter(EtatSelectionne), 0);

    Selectionner(5, 2);
    InverserMasque(Scan);
    InverserMasque(Scan);
    EXPECT_EQ(Compter(EtatMasque), 3);
    EXPECT_EQ(Compter(EtatSelectionne), 0);

    Selectionner(8, 2);
    Deselectionner(Scan);
    EXPECT_EQ(Compter(EtatSelectionne), 0);

    // A masked cube that was deleted stays masked when everything is unmasked.
    SupprimerAffiches(Scan, EtatMasque);
    EXPECT_TRUE(Scan.ScanModifie);
    Demasquer(Scan);
    EXPECT_EQ(Compter(EtatMasque | EtatSupprime), 3);
    AnnulerSuppressions(Scan);
    EXPECT_FALSE(Scan.ScanModifie);
    for (int n = 0; n <= Scan.NivMax; ++n)
        Scan.PourChaqueCubeDuNiveau(n, [](TCube* c) { EXPECT_EQ(c->etatSP, 0); });
}

TEST_F(Edition, SupprimerUnCubeMarqueLesNiveauxPlusFins) {
    FixerNiveauAffiche(Scan, 1);
    TCube* cible = Scan.CubesAffiches[0];
    cible->etatSP |= EtatSelectionne;
    Scan.CubesAffiches[1]->etatSP |= EtatMasque; // only the selection is deleted
    SupprimerAffiches(Scan, EtatSelectionne);
    EXPECT_TRUE(Scan.ScanModifie);
    int supprimes4 = 0;
    Scan.PourChaqueCubeDuNiveau(4, [&](TCube* c) {
        const bool dessous = Scan.CubeParent(Scan.CubeParent(Scan.CubeParent(c))) == cible;
        EXPECT_EQ((c->etatSP & EtatSupprime) != 0, dessous);
        supprimes4 += dessous;
    });
    EXPECT_GT(supprimes4, 0);
    EXPECT_EQ(Scan.CubeParent(cible)->etatSP, 0); // coarser cubes are not marked
}

TEST_F(Edition, CompacterRetireLesCubesSupprimes) {
    FixerNiveauAffiche(Scan, 0);
    const auto avant = Scan.NbCubesNiv;
    const std::int64_t cubesAvant = Scan.NbCubesTotal();
    TCube* cellule = Scan.CubesAffiches[0];
    const std::int32_t pointsCellule = cellule->nbptscube;
    cellule->etatSP |= EtatSelectionne;
    SupprimerAffiches(Scan, EtatSelectionne);
    CompacterScan(Scan, Sortie, Sortie);
    EXPECT_EQ(Scan.NbCubesNiv[0], avant[0] - 1);
    EXPECT_LT(Scan.NbCubesTotal(), cubesAvant);
    // The grid holds only the occupied cells; the compacted one is left empty.
    EXPECT_EQ(Scan.Grille.size(), std::size_t(avant[0]));
    EXPECT_EQ(std::count(Scan.Grille.begin(), Scan.Grille.end(), nullptr), 1);
    EXPECT_EQ(Scan.CubesAffiches.size(), std::size_t(avant[0] - 1));
    EXPECT_EQ(Textes.back(), "compactage : boîte englobante 100 % (ne peut plus être interrompu)");
    EXPECT_TRUE(Scan.ScanModifie); // cleared only by a save
    EXPECT_GT(pointsCellule, 0);
    EXPECT_EQ(Scan.NbPoints, 3000); // the counts of the load stay
    // The destroyed cube does not come back: after the undo the scan still differs from its file.
    AnnulerSuppressions(Scan);
    EXPECT_TRUE(Scan.ScanModifie);
}

TEST_F(Edition, NiveauAfficheLimiteAuNiveauLePlusFin) {
    Scan.NivMax = 2;
    FixerNiveauAffiche(Scan, 4);
    EXPECT_EQ(Scan.NivAffiche, 2);
    FixerNiveauAffiche(Scan, -1);
    EXPECT_EQ(Scan.NivAffiche, 0);
    EXPECT_EQ(Scan.CubesAffiches.size(), std::size_t(Scan.NbCubesNiv[0]));
}

TEST_F(Edition, Proprietes) {
    const auto& n = Scan.NbCubesNiv;
    const std::string attendu = "Définition du scan : 1.6 mm\r\n"
                                "Nombre de points : 3000\r\n"
                                "Nombre de cubes : " +
                                std::to_string(Scan.NbCubesTotal()) +
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
                                " - sur Z : 40.000 < 40.006\r\n"
                                "Origine des coordonnées : X = 100 m, Y = 200 m, Z = 40 m";
    EXPECT_EQ(Proprietes(Scan), attendu);
}

// The workspace's commands: the same functions on its scan, and the compaction only when
// deletions are pending.
TEST_F(TScanCharge, CommandesDeSelectionSurLeScanDeLEspace) {
    T.CompacterScan(); // no deletion pending: nothing happens, nothing is shown
    EXPECT_TRUE(Banc.Plateforme.Statuts.empty() ||
                Banc.Plateforme.Statuts.back().rfind("compactage", 0) != 0);

    T.FixerNiveauAffiche(0);
    const std::int32_t cellules = T.Scan.NbCubesNiv[0];
    T.Scan.CubesAffiches[0]->etatSP |= EtatSelectionne;
    T.SupprimerSelection();
    EXPECT_TRUE(T.Scan.ScanModifie);
    T.CompacterScan();
    EXPECT_EQ(T.Scan.NbCubesNiv[0], cellules - 1);
    EXPECT_EQ(Banc.Plateforme.Statuts.back(),
              "compactage : boîte englobante 100 % (ne peut plus être interrompu)");
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);
    EXPECT_EQ(T.Proprietes(), Proprietes(T.Scan));
}

namespace {

// Each level-0 cube in the cell of its corner, within the grid, the cells in X, then Y, then Z
// order, and nothing else in the grid.
void AttendreGrilleCoherente(const TEtatScan& s) {
    std::int32_t cubes = 0;
    ASSERT_EQ(s.Grille.size(), s.CellulesGrille.size());
    for (std::size_t n = 0; n < s.Grille.size(); ++n) {
        const TCellule& cellule = s.CellulesGrille[n];
        if (n > 0) {
            EXPECT_LT(s.CellulesGrille[n - 1], cellule);
        }
        if (const TCube* c = s.Grille[n]) {
            ++cubes;
            for (std::size_t a = 0; a < 3; ++a) {
                EXPECT_GE(cellule[a], 0);
                EXPECT_LT(cellule[a], s.DimGrille[a]);
            }
            EXPECT_EQ(s.CooOriCube(c), (TV3S{float(s.OrigGrille[0] + cellule[0]),
                                             float(s.OrigGrille[1] + cellule[1]),
                                             float(s.OrigGrille[2] + cellule[2])}));
        }
    }
    EXPECT_EQ(cubes, s.NbCubesNiv[0]);
}

} // namespace

// A stray point, deleted and compacted, no longer holds the box, the grid, the framing, the
// studied quarter, "Propriétés" or the saved scan; a point deleted inside changes none of them.
TEST(Compactage, LaBoiteSuitLesPointsQuiRestent) {
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("propre.xyz"), XYZGrille(3000));
    EcrireFichier(dossier.Chemin("egare.xyz"), XYZGrille(1500) + "150 260 45 0 0 0\r\n" +
                                                   XYZGrille(3000).substr(XYZGrille(1500).size()));
    TBancEssai propre, banc;
    ASSERT_TRUE(propre.Travail.ChargerScan(dossier.Chemin("propre.xyz")));
    TEspaceTravail& T = banc.Travail;
    ASSERT_TRUE(T.ChargerScan(dossier.Chemin("egare.xyz")));
    // In the survey's frame, shifted by (100, 200, 40).
    ASSERT_EQ(T.Scan.CooMax, (TV3S{50, 60, 5}));

    auto supprimer = [&](auto&& choisi) {
        for (TCube* c : T.Scan.CubesAffiches)
            if (choisi(c->CooMoyPts)) c->etatSP |= EtatSelectionne;
        T.SupprimerSelection();
        T.CompacterScan();
    };
    // Inside: the box and the grid stay as they were.
    const TV3S mini = T.Scan.CooMin, maxi = T.Scan.CooMax;
    const auto orig = T.Scan.OrigGrille, dim = T.Scan.DimGrille;
    supprimer([](const TV3S& p) { return p.X > 1 && p.X < 1.05f; });
    EXPECT_EQ(T.Scan.CooMin, mini);
    EXPECT_EQ(T.Scan.CooMax, maxi);
    EXPECT_EQ(T.Scan.OrigGrille, orig);
    EXPECT_EQ(T.Scan.DimGrille, dim);

    supprimer([](const TV3S& p) { return p.X > 49; });
    const TEtatScan& s = T.Scan;
    const TEtatScan& p = propre.Travail.Scan;
    EXPECT_EQ(s.CooMin, p.CooMin);
    EXPECT_EQ(s.CooMax, p.CooMax);
    EXPECT_EQ(s.OrigGrille, p.OrigGrille);
    EXPECT_EQ(s.DimGrille, p.DimGrille);
    AttendreGrilleCoherente(s);
    EXPECT_EQ(T.Vue.CentreRotAbs, propre.Travail.Vue.CentreRotAbs);
    EXPECT_EQ(T.Vue.RayonStruc, propre.Travail.Vue.RayonStruc);
    const std::string pr = T.Proprietes(), pp = propre.Travail.Proprietes();
    EXPECT_EQ(pr.substr(pr.find("Dimensions")), pp.substr(pp.find("Dimensions")));
    for (TEspaceTravail* t : {&T, &propre.Travail}) {
        t->Etude.RecModl.Q1a4 = 1;
        t->PlacerQuartier();
    }
    EXPECT_EQ(T.Etude.RecModl.XYcle, propre.Travail.Etude.RecModl.XYcle);
    EXPECT_EQ(T.Etude.RecModl.XYapp, propre.Travail.Etude.RecModl.XYapp);

    // The saved scan carries the box, and is read back into the same grid.
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), 4));
    TBancEssai relu;
    ASSERT_TRUE(relu.Travail.ChargerScan(dossier.Chemin("egare.arkl")));
    EXPECT_EQ(relu.Travail.Scan.CooMax, p.CooMax);
    EXPECT_EQ(relu.Travail.Scan.NbCubesNiv, s.NbCubesNiv);

    // Everything deleted: nothing is left to fit the box to.
    supprimer([](const TV3S&) { return true; });
    EXPECT_EQ(s.NbCubesTotal(), 0);
    EXPECT_EQ(s.CooMax, p.CooMax);
}

namespace {

// Everything a compaction may change: counts, the cubes of every level with their states, the
// displayed list, the grid, the box and the flags.
std::string EtatDuScan(const TEtatScan& s) {
    std::string e;
    for (int n = 0; n <= s.NivMax; ++n) {
        e += "niveau " + std::to_string(n) + " : " + std::to_string(s.NbCubesNiv[n]) + " ;";
        s.PourChaqueCubeDuNiveau(n, [&](const TCube* c) { e += std::to_string(c->etatSP); });
        e += "\n";
    }
    for (const TCube* c : s.CubesAffiches)
        e += std::to_string(c->nbptscube) + ",";
    for (const TCube* c : s.Grille)
        e += c ? "1" : "0";
    for (int a = 0; a < 3; ++a)
        e += " " + std::to_string(s.CooMin[a]) + " " + std::to_string(s.CooMax[a]) + " " +
             std::to_string(s.OrigGrille[a]) + " " + std::to_string(s.DimGrille[a]);
    return e + (s.ScanModifie ? " modifié" : "") + (s.ModifieSansRetour ? " sans retour" : "");
}

// A loaded scan with every other cube of level 2 deleted, its texts so far forgotten.
struct TCompactageEnAttente {
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;
    int Traitements = 0; // before the compaction
    explicit TCompactageEnAttente(const std::string& chemin) {
        EXPECT_TRUE(T.ChargerScan(chemin));
        T.FixerNiveauAffiche(2);
        for (std::size_t n = 0; n < T.Scan.CubesAffiches.size(); n += 2)
            T.Scan.CubesAffiches[n]->etatSP |= EtatSelectionne;
        T.SupprimerSelection();
        Banc.Plateforme.Statuts.clear();
        Traitements = Banc.Plateforme.Traitements;
    }
};

} // namespace

// After the destruction, the box's walk through every cube of the finest level, the longest
// stage, shows its own percentage up to its end.
TEST(Compactage, LaBoiteEnglobanteDitSonAvancement) {
    TDossierTemporaire dossier;
    const std::string chemin = dossier.Chemin("scan.xyz");
    EcrireFichier(chemin, XYZGrille(20000));
    TCompactageEnAttente c(chemin);
    ASSERT_GE(std::size_t(c.T.Scan.NbCubesNiv[std::size_t(c.T.Scan.NivMax)]), 2 * PasEntretien);
    c.T.CompacterScan();
    const std::vector<std::string>& textes = c.Banc.Plateforme.Statuts;
    const std::string boite = "compactage : boîte englobante ";
    const auto premiere = std::find_if(
        textes.begin(), textes.end(), [&](const std::string& t) { return t.rfind(boite, 0) == 0; });
    ASSERT_NE(premiere, textes.end());
    EXPECT_TRUE(std::all_of(premiere, textes.end(),
                            [&](const std::string& t) { return t.rfind(boite, 0) == 0; }));
    EXPECT_EQ(textes.back(), boite + "100 % (ne peut plus être interrompu)");
    // The destruction's texts came before.
    EXPECT_NE(
        std::find(textes.begin(), premiere, "compactage 100 % (ne peut plus être interrompu)"),
        premiere);
}

// Esc answered Oui at each processing of messages of a compaction: during the search it stops,
// "abandon", and the scan is exactly as it was; once cubes are destroyed no question comes, the
// texts say it can no longer be stopped, and it goes to its end.
TEST(Compactage, EchapArreteLaRechercheJamaisLaDestruction) {
    TDossierTemporaire dossier;
    const std::string chemin = dossier.Chemin("scan.xyz");
    EcrireFichier(chemin, XYZGrille(3000));

    TCompactageEnAttente libre(chemin);
    const std::string avant = EtatDuScan(libre.T.Scan);
    libre.T.CompacterScan();
    const std::string apres = EtatDuScan(libre.T.Scan);
    ASSERT_NE(apres, avant);
    const int traitements = libre.Banc.Plateforme.Traitements - libre.Traitements;
    const std::vector<std::string>& textes = libre.Banc.Plateforme.Statuts;
    const auto recherche = [](const std::string& t) {
        return t.rfind("compactage : recherche ", 0) == 0;
    };
    const auto destruction = [](const std::string& t) {
        return t.rfind("compactage ", 0) == 0 && t.ends_with(" (ne peut plus être interrompu)");
    };
    // The search's texts, then the destruction's, each a few.
    const auto premiereDestruction = std::find_if(textes.begin(), textes.end(), destruction);
    EXPECT_GE(std::count_if(textes.begin(), premiereDestruction, recherche), 3);
    EXPECT_GE(std::count_if(premiereDestruction, textes.end(), destruction), 3);
    EXPECT_TRUE(std::all_of(textes.begin(), premiereDestruction, recherche));
    EXPECT_TRUE(std::all_of(premiereDestruction, textes.end(), destruction));

    int abandons = 0, menees = 0;
    for (int k = 1; k <= traitements; ++k) {
        SCOPED_TRACE(k);
        TCompactageEnAttente c(chemin);
        TPlateformeScriptee& p = c.Banc.Plateforme;
        p.EchapAuTraitement = c.Traitements + k;
        p.Reponses = {TReponse::Oui};
        c.T.Executer([&] { c.T.CompacterScan(); });
        if (p.Questions.empty()) {
            ++menees;
            EXPECT_TRUE(p.Messages.empty());
            EXPECT_EQ(EtatDuScan(c.T.Scan), apres);
        } else {
            ++abandons;
            EXPECT_EQ(p.Messages, std::vector<std::string>{"abandon"});
            EXPECT_EQ(EtatDuScan(c.T.Scan), avant);
            // Asked at the search's next text (or before its first one).
            EXPECT_TRUE(p.Statuts.empty() || recherche(p.Statuts.back())) << p.Statuts.back();
        }
        EXPECT_EQ(p.Curseur, 0);
    }
    EXPECT_GE(abandons, 3);
    EXPECT_GE(menees, 3);
}

#include "ScanEssai.h"
#include "scan/ChargementScan.h"
#include "scan/FichierArkl.h"
#include "scan/FormatsScan.h"
#include "scan/PointsEcartes.h"
#include "support/AttendreErreur.h"
#include "support/CommandeSysteme.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"
#include "util/Format.h"

#include "util/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

// The names in a folder, sorted.
std::vector<std::string> Contenu(const fs::path& dossier) {
    std::vector<std::string> noms;
    for (const auto& f : fs::directory_iterator(dossier))
        noms.push_back(f.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
}

struct Chargement : ::testing::Test {
    TDossierTemporaire Dossier;
    TBancEssai Banc;
    TEspaceTravail& T = Banc.Travail;

    bool Charger(const std::string& nom, const std::string& contenu) {
        EcrireFichier(Dossier.Chemin(nom), contenu);
        return T.ChargerScan(Dossier.Chemin(nom));
    }
    void AttendreVide() {
        EXPECT_TRUE(T.ScanPret);
        EXPECT_EQ(T.Scan.NbPoints, 0);
        EXPECT_EQ(T.Scan.NbCubesTotal(), 0);
        EXPECT_TRUE(T.Scan.CubesAffiches.empty());
        EXPECT_TRUE(T.Scan.Grille.empty());
    }
    // Bytes of a binary scan file: version word, header, records.
    static std::string Arkl(std::int64_t version, const TEnTeteArkl& e,
                            const std::vector<TPointScan>& points) {
        std::string s(reinterpret_cast<const char*>(&version), 8);
        const auto h = EncoderEnTete(e);
        s.append(reinterpret_cast<const char*>(h.data()), TailleEnTete(std::int32_t(version)));
        s.append(reinterpret_cast<const char*>(points.data()), points.size() * sizeof(TPointScan));
        return s;
    }
    // A scan of one point of level 3 in a 1 m box, turned 30° about Z, shown at level 1.
    static TEnTeteArkl EnTeteUnPoint() {
        TEnTeteArkl e;
        e.NiveauPoints = 3;
        e.NbPoints = 1;
        e.CooMin = {0, 0, 0};
        e.CooMax = {1, 1, 1};
        e.NiveauAffiche = 1;
        e.AngRotZdeg = 30;
        return e;
    }
    static TEnTeteArkl EnTeteNiveau1() {
        TEnTeteArkl e = EnTeteUnPoint();
        e.NiveauPoints = 1;
        return e;
    }
    const std::vector<TPointScan> un{TPointScan{0.5f, 0.5f, 0.5f, {}}};
};

} // namespace

TEST_F(Chargement, XYZVersLaGrilleEtSesMoyennes) {
    ASSERT_TRUE(Charger("scan.xyz", "0.005 0.5 0.5 10 20 30\r\n"
                                    "2.3 0.5 0.5 11 20 30\n"
                                    "2.3 0.5 0.5 13 20 30\n"));
    const TEtatScan& s = T.Scan;
    EXPECT_EQ(s.NbPoints, 3);
    EXPECT_EQ(s.NivMax, 4);
    EXPECT_EQ(s.OrigGrille[0], -1);
    EXPECT_EQ(s.DimGrille[0], 5);
    EXPECT_EQ(s.NbCubesNiv, (std::array<std::int32_t, 5>{2, 2, 2, 2, 2}));
    EXPECT_EQ(s.NivAffiche, 2);
    EXPECT_EQ(s.CubesAffiches.size(), 2u);
    EXPECT_EQ(s.CooMin, (TV3S{0.005f, 0.5f, 0.5f}));
    EXPECT_EQ(s.CooMax, (TV3S{2.3f, 0.5f, 0.5f}));
    // The newest cube heads the chain: the leaf of the two points at X = 2.3.
    const TCube* feuille = s.PremierCubeNiv[4];
    EXPECT_EQ(feuille->nbptscube, 2);
    EXPECT_EQ(feuille->ColCube[0], 12);
    EXPECT_EQ(feuille->CooMoyPts.X, 2.3f);
    EXPECT_TRUE(T.ScanPret);
    EXPECT_EQ(T.Vue.LongAbsDeg, -90); // first orientation
    EXPECT_EQ(T.PFsansext, Dossier.Chemin("scan"));
    EXPECT_EQ(T.DernierScan, Dossier.Dossier().string());
    EXPECT_EQ(T.Etude.RecModl.Q1a4, 0);
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);
    EXPECT_EQ(Contenu(Dossier.Dossier()), std::vector<std::string>{"scan.xyz"});
    EXPECT_EQ(Banc.Plateforme.Titre, "Calcul de voûte nervurée - " + Dossier.Chemin("scan.xyz"));
}

TEST_F(Chargement, LesLignesQuiNeSontPasDesPointsSontComptees) {
    ASSERT_TRUE(Charger("scan.xyz", "X Y Z R G B\r\n1650000 8200000 40\r\n\r\n1,5 2 3\r\n"
                                    "1650001 8200001 41 1 2 3\r\n"));
    EXPECT_EQ(T.Scan.NbPoints, 2);
    // No point at the origin stretched the box.
    EXPECT_EQ(T.Scan.OrigGrille[0], -1);
    EXPECT_EQ(T.Scan.DimGrille[0], 4);
    // The summary stays in the first panel of the status bar.
    EXPECT_EQ(Banc.Plateforme.Panneau0,
              "2 points chargés ; origine des coordonnées déplacée en X = 1650000 m, "
              "Y = 8200000 m, Z = 40 m ; 3 lignes ignorées (ce ne sont pas des points X Y Z)");
    EXPECT_EQ(T.NbIgnores, 3);
    EXPECT_TRUE(Banc.Plateforme.Messages.empty());
    // Opened by the user, the skipped lines are told in a message too; a shift alone is not.
    ASSERT_TRUE(T.OuvrirScan(Dossier.Chemin("scan.xyz")));
    EXPECT_EQ(Banc.Plateforme.Messages,
              std::vector<std::string>{"« scan.xyz » : origine des coordonnées déplacée en X = "
                                       "1650000 m, Y = 8200000 m, Z = 40 m ; 3 lignes ignorées (ce "
                                       "ne sont pas des points X Y Z)"});
    EcrireFichier(Dossier.Chemin("national.xyz"), "1650000 8200000 40\r\n");
    ASSERT_TRUE(T.OuvrirScan(Dossier.Chemin("national.xyz")));
    EXPECT_EQ(Banc.Plateforme.Messages.size(), 1u);
}

TEST_F(Chargement, CoordonneesDecaleesDeMetresEntiers) {
    struct Cas {
        const char* nom;
        std::string contenu;
        TDecalage decalage;
        TV3S mini, maxi;
    };
    // A hundred points one centimetre apart from `debut`, with `tete` before them.
    const auto cent = [](const char* tete, double x, double y, double z) {
        std::string t = tete;
        for (int k = 0; k < 100; ++k)
            t += Formater("%.2f %.2f %.2f\r\n", x + 0.01 * k, y, z);
        return t;
    };
    const Cas cas[] = {
        // A survey that starts at the origin is not moved.
        {"origine", "0 0 0\r\n0.5 2.75 3\r\n", {0, 0, 0}, {0, 0, 0}, {0.5f, 2.75f, 3}},
        // Elsewhere, the whole metre below its lowest coordinates, on either side of zero.
        {"local", "32767.5 -32767.5 3\r\n", {32767, -32768, 3}, {0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}},
        {"lambert",
         "651652.37 6858203.61 40\r\n651653.5 6858204.25 41\r\n",
         {651652, 6858203, 40},
         {0.37f, 0.61f, 0},
         {1.5f, 1.25f, 1}},
        {"negatif",
         "-40500.25 10 -33000.5\r\n",
         {-40501, 10, -33001},
         {0.75f, 0, 0.5f},
         {0.75f, 0, 0.5f}},
        // A stray at the head of a survey, a hundredth of it or less, does not decide it.
        {"zero en tete",
         cent("0 0 0\r\n", 651652.37, 6858203.61, 40),
         {651652, 6858203, 40},
         {-651652, -6858203, -40},
         {1.36f, 0.61f, 0}},
        {"loin", cent("1e6 2 3\r\n", 1, 2, 3), {1, 2, 3}, {0, 0, 0}, {999999, 0, 0}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EcrireFichier(Dossier.Chemin("scan.xyz"), c.contenu);
        TEtatScan scan;
        const TScanLu lu = ChargerFichierScan(scan, Dossier.Chemin("scan.xyz"), {});
        EXPECT_EQ(scan.Decalage, c.decalage);
        EXPECT_EQ(scan.CooMin, c.mini);
        EXPECT_EQ(scan.CooMax, c.maxi);
        // Every point has its cell, and its leaf holds it where the box says.
        EXPECT_EQ(scan.NbCubesNiv[4], scan.NbPoints);
        TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
        scan.PourChaqueCubeDuNiveau(4, [&](const TCube* f) {
            for (int a = 0; a < 3; ++a)
                mini[a] = std::min(mini[a], f->CooMoyPts[a]);
        });
        EXPECT_EQ(mini, c.mini);
        // Only a national grid's shift is told.
        EXPECT_EQ(lu.Bilan.rfind("origine des coordonnées déplacée en ", 0) == 0,
                  DecalageNotable(c.decalage));
    }
}

// The same points moved by whole metres, or in another order, are the same points once
// shifted: the shift follows them, whatever comes first in the file.
TEST_F(Chargement, LeDecalageSuitLeReleveQuelQueSoitSonOrdre) {
    std::vector<std::string> lignes;
    for (int k = 0; k < 3000; ++k)
        lignes.push_back(
            Formater("%.3f %.3f %.3f", 0.137 * (k % 61), 0.071 * (k % 97), 0.013 * (k % 23)));
    const auto charger = [this](const std::vector<std::string>& l, double dx, double dy,
                                double dz) {
        std::string t;
        for (const std::string& ligne : l) {
            double x = 0, y = 0, z = 0;
            std::sscanf(ligne.c_str(), "%lf %lf %lf", &x, &y, &z);
            t += Formater("%.3f %.3f %.3f\r\n", x + dx, y + dy, z + dz);
        }
        EcrireFichier(Dossier.Chemin("scan.xyz"), t);
        auto scan = std::make_unique<TEtatScan>();
        ChargerFichierScan(*scan, Dossier.Chemin("scan.xyz"), {});
        std::vector<std::array<float, 3>> feuilles;
        scan->PourChaqueCubeDuNiveau(4, [&](const TCube* f) {
            feuilles.push_back({f->CooMoyPts.X, f->CooMoyPts.Y, f->CooMoyPts.Z});
        });
        std::sort(feuilles.begin(), feuilles.end());
        return std::pair{scan->Decalage, feuilles};
    };
    const double base[3] = {2, 3, 1};
    const auto reference = charger(lignes, base[0], base[1], base[2]);
    std::vector<std::string> renversees(lignes.rbegin(), lignes.rend());
    std::vector<std::string> melangees = lignes;
    std::shuffle(melangees.begin(), melangees.end(), std::mt19937(7));
    const struct {
        const char* nom;
        const std::vector<std::string>& lignes;
        TV3R deplacement;
    } cas[] = {
        {"renversées", renversees, {2, 3, 1}},
        {"mélangées", melangees, {2, 3, 1}},
        {"à 1000 m", lignes, {1002, -997, 41}},
        {"de part et d'autre de 32768 m", lignes, {32766, 3, 1}},
        {"grille nationale", lignes, {651002, 6858003, 101}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto lu = charger(c.lignes, c.deplacement.X, c.deplacement.Y, c.deplacement.Z);
        EXPECT_EQ(lu.second, reference.second);
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(lu.first[std::size_t(a)] - reference.first[std::size_t(a)],
                      std::int64_t(c.deplacement[a] - base[a]));
    }
}

TEST_F(Chargement, TextesTelsQuIlsViennent) {
    struct Cas {
        const char* nom;
        std::string contenu;
        std::int32_t points;
        const char* bilan;
    };
    const std::string longue(5000, '1');
    const Cas cas[] = {
        {"cr.xyz", "1 2 3 10 20 30\r4 5 6\r7 8 9\r", 3, ""},
        {"bom.xyz",
         "\xEF\xBB\xBF"
         "1 2 3\r\n4 5 6\r\n",
         2, ""},
        {"longue.xyz", "1 2 3\n" + longue + " 2 3\n4 5 6\n", 2,
         "1 ligne ignorée (ce n'est pas un point X Y Z)"},
        {"sansfin.xyz", "1 2 3\n" + std::string(3u << 20, ' '), 1,
         "1 ligne ignorée (ce n'est pas un point X Y Z)"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EcrireFichier(Dossier.Chemin(c.nom), c.contenu);
        TEtatScan scan;
        const TScanLu lu = ChargerFichierScan(scan, Dossier.Chemin(c.nom), {});
        EXPECT_EQ(scan.NbPoints, c.points);
        // The first point, the lowest on every axis, is the origin of the shifted survey.
        EXPECT_EQ(scan.Decalage, (TDecalage{1, 2, 3}));
        EXPECT_EQ(scan.CooMin, (TV3S{0, 0, 0}));
        EXPECT_EQ(lu.Bilan, c.bilan);
    }
}

TEST_F(Chargement, ProgressionParPourcent) {
    ASSERT_TRUE(Charger("scan.xyz", XYZGrille(2000)));
    const auto& st = Banc.Plateforme.Statuts;
    EXPECT_NE(std::find(st.begin(), st.end(), "lecture : 1%"), st.end());
    EXPECT_NE(std::find(st.begin(), st.end(), "construction : 100%"), st.end());
    // A small file loads without any progress text.
    TBancEssai petit;
    EcrireFichier(Dossier.Chemin("petit.xyz"), XYZGrille(60)); // under 3900 bytes
    ASSERT_TRUE(petit.Travail.ChargerScan(Dossier.Chemin("petit.xyz")));
    EXPECT_TRUE(petit.Plateforme.Statuts.empty());
}

// Every format says its reading the same way, each percent once, up to 100% and no further.
TEST_F(Chargement, LaLectureDeChaqueFormatDiteDeLaMemeFacon) {
    std::string csv = "x,y,z\n", pts = "300\n",
                ply = "ply\nformat ascii 1.0\nelement vertex 300\n"
                      "property float x\nproperty float y\n"
                      "property float z\nend_header\n";
    std::string ptx = "15\n20\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";
    std::string plyBinaire =
        "ply\nformat binary_little_endian 1.0\nelement vertex 300\n"
        "property double x\nproperty double y\nproperty double z\nend_header\n";
    for (int k = 0; k < 300; ++k) {
        const std::string p = Formater("%.3f %.3f %.3f", 0.01 * k, 0.02 * (k % 7), 0.5);
        csv += Formater("%.3f,%.3f,%.3f\n", 0.01 * k, 0.02 * (k % 7), 0.5);
        pts += p + " 0.5\n";
        ply += p + "\n";
        ptx += p + " 0.5\n";
        for (const double v : {0.01 * k, 0.02 * (k % 7), 0.5})
            plyBinaire.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    const fs::path externes = ARKALUNE_RELEVES_EXTERNES;
    for (const auto& [nom, contenu] : std::vector<std::pair<std::string, std::string>>{
             {"scan.xyz", XYZGrille(300)},
             {"scan.csv", csv},
             {"scan.pts", pts},
             {"scan.ptx", ptx},
             {"scan.ply", ply},
             {"binaire.ply", plyBinaire},
             {"scan.las", LireFichier((externes / "simple.las").string())},
             {"scan.e57", LireFichier((externes / "ColouredCubeFloat.e57").string())}}) {
        SCOPED_TRACE(nom);
        TBancEssai banc;
        EcrireFichier(Dossier.Chemin(nom), contenu);
        ASSERT_TRUE(banc.Travail.ChargerScan(Dossier.Chemin(nom)));
        std::vector<std::string> lecture;
        for (const std::string& t : banc.Plateforme.Statuts)
            if (t.starts_with("lecture")) lecture.push_back(t);
        ASSERT_EQ(lecture.size(), 100u);
        for (std::size_t k = 0; k < lecture.size(); ++k)
            EXPECT_EQ(lecture[k], "lecture : " + std::to_string(k + 1) + "%");
    }
}

TEST_F(Chargement, UnFichierCompletDePlusDe2Puissance31PointsNEstPasDitTronque) {
    TEnTeteArkl e;
    e.NiveauPoints = 4;
    e.NbPoints = std::int64_t(INT32_MAX) + 1;
    e.CooMin = {0, 0, 0};
    e.CooMax = {1, 1, 1};
    const std::string chemin = Dossier.Chemin("grand.arkl");
    const std::string enTete = Arkl(3, e, {});
    EcrireFichier(chemin, enTete);
    // Sparse: the full size without the disk space.
    std::filesystem::resize_file(chemin,
                                 enTete.size() + std::uint64_t(e.NbPoints) * sizeof(TPointScan));
    EXPECT_FALSE(T.ChargerScan(chemin));
    ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
    EXPECT_EQ(Banc.Plateforme.Messages[0].rfind("trop de points dans le fichier", 0), 0u)
        << Banc.Plateforme.Messages[0];
    AttendreVide();
}

// The cubes that follow the record of a one-point file of level 1 in version 6.
struct TCubesUnPoint {
    std::array<std::int64_t, NbNiveaux> Nb{1, 1, 0, 0, 0};
    TCellule Cellule{1, 1, 1};
    std::uint32_t Chaine0 = 0, Chaine1 = 0;
    std::int32_t Nombre0 = 7, Nombre1 = 7;
    TPointScan Valeur0{0.5f, 0.5f, 0.25f, {10, 20, 30, 0}};
    std::uint8_t Enfants0 = 1, Slot1 = 63;

    std::string Octets() const {
        std::string s;
        const auto ajouter = [&](const auto& v) {
            s.append(reinterpret_cast<const char*>(&v), sizeof v);
        };
        ajouter(Nb);
        ajouter(Cellule);
        ajouter(Chaine0);
        ajouter(Nombre0);
        ajouter(Valeur0);
        ajouter(Enfants0);
        ajouter(Chaine1);
        ajouter(Nombre1);
        ajouter(Slot1);
        return s;
    }
};

TEST_F(Chargement, CubesDuFichierLusSansConstruction) {
    const std::vector<TPointScan> record{TPointScan{0.5f, 0.55f, 0.5f, {1, 2, 3, 0}}};
    ASSERT_TRUE(Charger("six.arkl", Arkl(6, EnTeteNiveau1(), record) + TCubesUnPoint{}.Octets()));
    const TEtatScan& s = T.Scan;
    EXPECT_EQ(s.NbCubesNiv, (std::array<std::int32_t, NbNiveaux>{1, 1, 0, 0, 0}));
    EXPECT_EQ(s.CellulesGrille, (std::vector<TCellule>{TCellule{1, 1, 1}}));
    const TCube* cellule = s.PremierCubeNiv[0];
    const TCube* feuille = s.PremierCubeNiv[1];
    EXPECT_EQ(cellule->CooMoyPts, (TV3S{0.5f, 0.5f, 0.25f})); // as stored, not from the record
    EXPECT_EQ(cellule->nbptscube, 7);
    EXPECT_EQ(feuille->CooMoyPts, (TV3S{0.5f, 0.55f, 0.5f}));
    EXPECT_EQ(feuille->ColCube, (TV4By{1, 2, 3, 0}));
    EXPECT_EQ(s.CubeParent(feuille), cellule);
    EXPECT_EQ(s.Enfant(cellule, 62), feuille);
    EXPECT_EQ(s.CooOriCube(feuille), (TV3S{0.4f, 0.4f, 0.4f}));
}

TEST_F(Chargement, FichiersRefusesLaissentUnEspaceVide) {
    struct Cas {
        const char* nom;
        std::string contenu;
        const char* debutMessage;
    };
    TEnTeteArkl e;
    e.NiveauPoints = 4;
    e.NbPoints = 3;
    e.CooMin = {0, 0, 0};
    e.CooMax = {1, 1, 1};
    TEnTeteArkl niveau7 = e;
    niveau7.NiveauPoints = 7;
    TEnTeteArkl negatif = e;
    negatif.NbPoints = -5;
    TEnTeteArkl geant = e;
    geant.CooMax = {3e9f, 1, 10};
    TEnTeteArkl infini = e;
    infini.CooMax = {INFINITY, 1, 1};
    // 64-bit words whose low 32 bits alone would be valid.
    const std::int64_t haut = std::int64_t(1) << 32;
    TEnTeteArkl niveauHaut = e;
    niveauHaut.NiveauPoints = haut + 4;
    TEnTeteArkl nombreHaut = e;
    nombreHaut.NbPoints = haut + 3;
    TEnTeteArkl decale = e;
    decale.Decalage = {651000, std::int64_t(1) << 60, 0};
    // Over a survey with a shift: a refused file leaves none.
    EcrireFichier(Dossier.Chemin("scan.xyz"), XYZGrille(50, 651100, 6858200));
    const std::vector<TPointScan> deux(2, TPointScan{0.5f, 0.5f, 0.5f, {}});
    const std::vector<TPointScan> trois(3, TPointScan{0.5f, 0.5f, 0.5f, {}});
    // Version 6: the cubes after the record, one thing wrong in each.
    const auto six = [&](auto&& changer) {
        TCubesUnPoint c;
        changer(c);
        return Arkl(6, EnTeteNiveau1(), un) + c.Octets();
    };
    using C = TCubesUnPoint;
    const Cas cas[] = {
        {"vide.xyz", "", "aucun point dans le fichier"},
        {"texte.xyz", "bonjour\r\nX Y Z\r\n", "aucun point dans le fichier"},
        {"loin.xyz", "0 0 0\r\n3e9 0 0\r\n", "étendue du scan trop grande pour la grille"},
        {"enorme.xyz", "0 0 0\r\n1e39 0 0\r\n", "étendue du scan trop grande pour la grille"},
        {"reperes.xyz", XYZGrille(50, 2, 3) + XYZGrille(50, 651100, 6858200),
         "relevé en 2 groupes de points à plus de 1000 m"},
        {"version.arkl", Arkl(1, e, trois), "version de fichier inconnue (1)"},
        {"version64.arkl", Arkl(haut + 3, e, trois), "version de fichier inconnue (4294967299)"},
        {"niveau64.arkl", Arkl(3, niveauHaut, trois), "niveau des points invalide (4294967300)"},
        {"nombre64.arkl", Arkl(3, nombreHaut, trois), "fichier tronqué"},
        {"decalage.arkl", Arkl(4, decale, trois),
         "décalage des coordonnées invalide (1152921504606846976 m)"},
        {"court.arkl", Arkl(3, e, deux), "fichier tronqué"},
        {"entete.arkl", Arkl(3, e, {}).substr(0, 100), "impossible de lire le fichier"},
        {"niveau.arkl", Arkl(3, niveau7, trois), "niveau des points invalide (7)"},
        {"negatif.arkl", Arkl(3, negatif, trois), "fichier tronqué"},
        {"geant.arkl", Arkl(3, geant, trois), "étendue du scan trop grande pour la grille"},
        {"infini.arkl", Arkl(2, infini, trois), "étendue du scan trop grande pour la grille"},
        {"scan.xyb", "1 2 3\r\n", "type de fichier non reconnu"},
        {"absent.arkl", "", "impossible d'ouvrir le fichier"},
        {"cubes-nombre.arkl", six([](C& c) { c.Nb[1] = 2; }), "cubes du fichier invalides"},
        {"cubes-sous.arkl", six([](C& c) { c.Nb[2] = 1; }), "cubes du fichier invalides"},
        {"cubes-cellule.arkl", six([](C& c) { c.Cellule[2] = 4; }), "cubes du fichier invalides"},
        {"cubes-chaine.arkl", six([](C& c) { c.Chaine1 = 1; }), "cubes du fichier invalides"},
        {"cubes-vide.arkl", six([](C& c) { c.Nombre0 = 0; }), "cubes du fichier invalides"},
        {"cubes-enfants.arkl", six([](C& c) { c.Enfants0 = 2; }), "cubes du fichier invalides"},
        {"cubes-slot.arkl", six([](C& c) { c.Slot1 = 126; }), "cubes du fichier invalides"},
        {"cubes-moyenne.arkl", six([](C& c) { c.Valeur0.Y = NAN; }),
         "cubes du fichier invalides (moyenne hors de la grille)"},
        {"cubes-loin.arkl",
         Arkl(6, EnTeteNiveau1(), {TPointScan{0.5f, 7.5f, 0.5f, {}}}) + TCubesUnPoint{}.Octets(),
         "cubes du fichier invalides (moyenne hors de la grille)"},
        {"cubes-court.arkl", six([](C&) {}).substr(0, six([](C&) {}).size() - 1),
         "cubes du fichier invalides (fichier tronqué)"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc.Plateforme.Messages.clear();
        if (std::string(c.nom) == "absent.arkl")
            EXPECT_FALSE(T.ChargerScan(Dossier.Chemin(c.nom)));
        else
            EXPECT_FALSE(Charger(c.nom, c.contenu));
        ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
        EXPECT_EQ(Banc.Plateforme.Messages[0].rfind(c.debutMessage, 0), 0u)
            << Banc.Plateforme.Messages[0];
        AttendreVide();

        // The reader alone, over a scan that held points: the same message, an empty scan.
        TEtatScan scan;
        ChargerFichierScan(scan, Dossier.Chemin("scan.xyz"), {});
        ASSERT_TRUE(EstDecale(scan.Decalage));
        AttendreErreur<EErreur>([&] { ChargerFichierScan(scan, Dossier.Chemin(c.nom), {}); },
                                Banc.Plateforme.Messages[0]);
        EXPECT_EQ(scan.NbCubesTotal(), 0);
        EXPECT_EQ(scan.NbPoints, 0);
        EXPECT_TRUE(scan.Grille.empty());
        EXPECT_EQ(scan.NivMax, 4);
        EXPECT_EQ(scan.CooMin.X, PlusGrandReel);
        EXPECT_FALSE(EstDecale(scan.Decalage));
    }
    for (const std::string& nom : Contenu(Dossier.Dossier()))
        EXPECT_EQ(nom.find(".tmp"), std::string::npos) << nom;
}

TEST_F(Chargement, UnRefusDeLaGrilleNommeLeFichier) {
    EXPECT_FALSE(Charger("loin.xyz", "0 0 0\r\n1e39 0 0\r\n"));
    ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
    const std::string& m = Banc.Plateforme.Messages[0];
    EXPECT_EQ(m.rfind("étendue du scan trop grande pour la grille", 0), 0u) << m;
    EXPECT_NE(m.find("(fichier « " + Dossier.Chemin("loin.xyz") + " »)"), std::string::npos) << m;
}

TEST_F(Chargement, UneExtensionInconnueEstRefuseeEnNommantLeFichier) {
    // A temporary file left by a program killed earlier is not data, whatever it was a copy of.
    for (const std::string nom : {"scan.xyb", "scan.arkl.tmp-abc123", "releve.xyz.tmp-rvJo8O"}) {
        EXPECT_EQ(FormatSelonExtension(nom), nullptr) << nom;
        Banc.Plateforme.Messages.clear();
        EXPECT_FALSE(Charger(nom, "1 2 3\r\n"));
        EXPECT_EQ(Banc.Plateforme.Messages,
                  std::vector<std::string>{
                      "type de fichier non reconnu (extensions lues : " + ExtensionsLues() +
                      ") : « " + Dossier.Chemin(nom) + " »"});
        AttendreVide();
    }
}

TEST_F(Chargement, UnPointEgareLoinDuScanNeLeFaitPasRefuser) {
    // 10^12 cells of 1 m between them: the grid holds the two occupied ones only. The survey's
    // points repeated, so that the far one stays within the stray-point share.
    std::string releve;
    for (int k = 0; k < 50; ++k)
        releve += "0.5 0.5 0.5\r\n0.7 0.5 0.5\r\n";
    ASSERT_TRUE(Charger("loin.xyz", releve + "1e6 1e6 0.5\r\n"));
    EXPECT_EQ(T.Scan.NbCubesNiv, (std::array<std::int32_t, 5>{2, 3, 3, 3, 3}));
    EXPECT_EQ(T.Scan.DimGrille, (std::array<std::int32_t, 3>{1000002, 1000002, 2}));
    EXPECT_EQ(T.Scan.Grille.size(), 2u);
    EXPECT_EQ(T.Scan.CellulesGrille, (std::vector<TCellule>{{0, 0, 0}, {1000000, 1000000, 0}}));
}

TEST_F(Chargement, PointsHorsDeLaBoiteIgnores) {
    TEnTeteArkl e;
    e.NiveauPoints = 2;
    e.NbPoints = 7;
    e.CooMin = {10, 10, 10};
    e.CooMax = {11, 11, 11};
    e.NiveauAffiche = 9; // lowered to the deepest level of the file
    // The grid's cells run from 9 to 13 on each axis: 2.5 m beyond the box is past its last one.
    const std::vector<TPointScan> pts = {{10.5f, 10.5f, 10.5f, {}}, {500, 10.5f, 10.5f, {}},
                                         {NAN, 10.5f, 10.5f, {}},   {10.7f, 10.5f, 10.5f, {}},
                                         {13.5f, 10.5f, 10.5f, {}}, {10.5f, 13.5f, 10.5f, {}},
                                         {10.5f, 10.5f, 13.5f, {}}};
    ASSERT_TRUE(Charger("scan.arkl", Arkl(3, e, pts)));
    EXPECT_EQ(T.Scan.NbPoints, 2);
    EXPECT_EQ(T.Scan.NivMax, 2);
    EXPECT_EQ(T.Scan.NivAffiche, 2);
    EXPECT_EQ(T.Scan.NbCubesNiv, (std::array<std::int32_t, 5>{1, 2, 2, 0, 0}));
    EXPECT_EQ(Banc.Plateforme.Panneau0,
              "2 points chargés ; 5 points hors de la boîte englobante ignorés");
}

TEST_F(Chargement, EchapPuisOuiAbandonneLeChargement) {
    Banc.Plateforme.EchapAuTraitement = 3;
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_FALSE(Charger("scan.xyz", XYZGrille(2000)));
    EXPECT_EQ(Banc.Plateforme.Questions, std::vector<std::string>{"Annuler?"});
    EXPECT_EQ(Banc.Plateforme.Messages, std::vector<std::string>{"abandon"});
    AttendreVide();
    EXPECT_EQ(Contenu(Dossier.Dossier()), std::vector<std::string>{"scan.xyz"});
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);
}

TEST_F(Chargement, EchapPuisNonLaisseContinuer) {
    Banc.Plateforme.EchapAuTraitement = 3;
    Banc.Plateforme.Reponses = {TReponse::Non};
    EXPECT_TRUE(Charger("scan.xyz", XYZGrille(2000)));
    EXPECT_EQ(Banc.Plateforme.Questions.size(), 1u);
    EXPECT_EQ(T.Scan.NbPoints, 2000);
}

TEST_F(Chargement, EchapEnAttenteEstDemandeAuPremierTexte) {
    T.ToucheEchap();
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_FALSE(Charger("scan.xyz", XYZGrille(2000)));
    ASSERT_EQ(Banc.Plateforme.Questions.size(), 1u);
    EXPECT_TRUE(Banc.Plateforme.Statuts.empty()); // asked before the first progress text
}

TEST_F(Chargement, LeFichierTemporaireDeLImportNeTouchePasAuxFichiersExistants) {
    // A file of the user's under the name the import once used.
    EcrireFichier(Dossier.Chemin("scan.xyz.tmp"), "à garder");
    ASSERT_TRUE(Charger("scan.xyz", XYZGrille(2000)));
    EXPECT_EQ(LireFichier(Dossier.Chemin("scan.xyz.tmp")), "à garder");
    EXPECT_EQ(Contenu(Dossier.Dossier()), (std::vector<std::string>{"scan.xyz", "scan.xyz.tmp"}));

    // A second import of the same file while the first one is reading it.
    TEtatScan premier, second;
    bool lance = false;
    const TSortieProgression sortie = [&](const std::string&) {
        if (lance) return;
        lance = true;
        ChargerFichierScan(second, Dossier.Chemin("scan.xyz"), {});
    };
    ChargerFichierScan(premier, Dossier.Chemin("scan.xyz"), sortie);
    ASSERT_TRUE(lance);
    for (const TEtatScan* s : {&premier, &second}) {
        EXPECT_EQ(s->NbPoints, 2000);
        EXPECT_EQ(s->NbCubesNiv, T.Scan.NbCubesNiv);
        EXPECT_EQ(s->CooMax, T.Scan.CooMax);
    }
    EXPECT_EQ(Contenu(Dossier.Dossier()), (std::vector<std::string>{"scan.xyz", "scan.xyz.tmp"}));
}

TEST_F(Chargement, ImportParLeDossierTemporaireQuandLeDossierDuScanRefuse) {
    if (SousWindows) GTEST_SKIP() << "TMPDIR et la longueur d'un nom sont ceux de POSIX";
    // A name so long that the scan's folder cannot hold the temporary file's, even for root.
    const std::string nom = std::string(245, 'v') + ".xyz";
    TDossierTemporaire systeme;
    const char* avant = std::getenv("TMPDIR");
    const std::optional<std::string> tmpdir =
        avant ? std::optional<std::string>(avant) : std::nullopt;
    FixerEnvironnement("TMPDIR", systeme.Dossier().string());
    bool vu = false;
    TEtatScan scan;
    EcrireFichier(Dossier.Chemin(nom), XYZGrille(2000));
    ChargerFichierScan(scan, Dossier.Chemin(nom),
                       [&](const std::string&) { vu = vu || !Contenu(systeme.Dossier()).empty(); });
    FixerEnvironnement("TMPDIR", tmpdir);
    EXPECT_EQ(scan.NbPoints, 2000);
    EXPECT_TRUE(vu);
    EXPECT_TRUE(fs::is_empty(systeme.Dossier()));
    EXPECT_EQ(Contenu(Dossier.Dossier()), std::vector<std::string>{nom});
}

TEST_F(Chargement, UnFichierBinaireRefuseNApportePasSonEtude) {
    TEnTeteArkl e;
    e.NiveauPoints = 4;
    e.NbPoints = 3;
    e.CooMin = {0, 0, 0};
    e.CooMax = {1, 1, 1};
    e.RecModl.Q1a4 = 3;
    e.LargeurAretier = 40;
    e.TaillePointsIndex = 2;
    e.AngRotZdeg = 12.5;
    TEnTeteArkl geant = e;
    geant.CooMax = {3e9f, 1, 10};
    TEnTeteArkl long5000 = e;
    long5000.NbPoints = 5000;
    const std::vector<TPointScan> trois(3, TPointScan{0.5f, 0.5f, 0.5f, {}});
    // Refused by its extent, then stopped by Esc while its points are placed.
    EXPECT_FALSE(Charger("geant.arkl", Arkl(3, geant, trois)));
    Banc.Plateforme.EchapAuTraitement = Banc.Plateforme.Traitements + 1;
    Banc.Plateforme.Reponses = {TReponse::Oui};
    EXPECT_FALSE(
        Charger("arrete.arkl", Arkl(3, long5000, std::vector<TPointScan>(5000, trois[0]))));
    EXPECT_EQ(Banc.Plateforme.Messages.back(), "abandon");
    AttendreVide();
    EXPECT_EQ(T.Etude.RecModl.Q1a4, 0);
    EXPECT_EQ(T.Champs.GEdLargeurAretier.ValeurI(), 20);
    EXPECT_EQ(T.TaillePointsIndex, 0);
    EXPECT_EQ(T.Vue.AngRotZdeg, 0);
    EXPECT_EQ(T.TexteEdRotZ, "0");
}

TEST_F(Chargement, LEnTeteRenduSelonSaVersion) {
    const TEnTeteArkl e = EnTeteUnPoint();
    // Version 0: level of the points at 24, count at 32, box at 40 of a 64-byte header.
    std::string v0(8 + 64, '\0');
    const std::int64_t niveau = 3, nombre = 1;
    const float boite[6] = {0, 0, 0, 1, 1, 1};
    std::memcpy(&v0[8 + 24], &niveau, 8);
    std::memcpy(&v0[8 + 32], &nombre, 8);
    std::memcpy(&v0[8 + 40], boite, sizeof boite);
    v0.append(reinterpret_cast<const char*>(un.data()), sizeof(TPointScan));
    struct Cas {
        std::int64_t version;
        std::string octets;
        int niveauAffiche;
        TDecalage decalage{};
        double rotation = 0;
    };
    // The displayed level is held within the levels at its full 64 bits.
    TEnTeteArkl hors = e;
    hors.NiveauAffiche = (std::int64_t(1) << 32) + 1;
    TEnTeteArkl negatif = e;
    negatif.NiveauAffiche = -1;
    // Version 4: the shift after the header of version 3.
    TEnTeteArkl decale = e;
    decale.Decalage = {651000, 6858000, 0};
    const Cas cas[] = {{0, v0, 2},
                       {2, Arkl(2, e, un), 1},
                       {3, Arkl(3, e, un), 1, {}, 30},
                       {3, Arkl(3, hors, un), 4, {}, 30},
                       {3, Arkl(3, negatif, un), 0, {}, 30},
                       {3, Arkl(3, decale, un), 1, {}, 30},
                       {4, Arkl(4, decale, un), 1, decale.Decalage, 30}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.version);
        EcrireFichier(Dossier.Chemin("scan.arkl"), c.octets);
        TEtatScan scan;
        const TScanLu lu = ChargerFichierScan(scan, Dossier.Chemin("scan.arkl"), {});
        ASSERT_TRUE(lu.EnTete);
        EXPECT_EQ(lu.EnTete->Version, c.version);
        EXPECT_EQ(lu.NiveauAffiche, c.niveauAffiche);
        EXPECT_EQ(lu.EnTete->AngRotZdeg, c.rotation);
        EXPECT_EQ(scan.Decalage, c.decalage);
        EXPECT_EQ(lu.Bilan, EstDecale(c.decalage)
                                ? "origine des coordonnées déplacée en X = 651000 m, Y = 6858000 m"
                                : "");
        EXPECT_EQ(scan.NivMax, 3);
        EXPECT_EQ(scan.NbCubesNiv, (std::array<std::int32_t, 5>{1, 1, 1, 1, 0}));
    }
    // XYZ text carries no header.
    EcrireFichier(Dossier.Chemin("scan.xyz"), "0.5 0.5 0.5\r\nX\r\n");
    TEtatScan scan;
    const TScanLu lu = ChargerFichierScan(scan, Dossier.Chemin("scan.xyz"), {});
    EXPECT_FALSE(lu.EnTete);
    EXPECT_EQ(lu.NiveauAffiche, 2);
    EXPECT_EQ(lu.Bilan, "1 ligne ignorée (ce n'est pas un point X Y Z)");
}

// After any load the rotation about Z is one: the angle shown, the matrix that turns the frontier
// moves and the results, the text of its field. A file with no rotation starts with none.
TEST_F(Chargement, LaRotationZSuitChaqueChargement) {
    const TEnTeteArkl e = EnTeteUnPoint();
    TEnTeteArkl e45 = e;
    e45.AngRotZdeg = 45;
    EcrireFichier(Dossier.Chemin("v3-30.arkl"), Arkl(3, e, un));
    EcrireFichier(Dossier.Chemin("v3-45.arkl"), Arkl(3, e45, un));
    EcrireFichier(Dossier.Chemin("v2.arkl"), Arkl(2, e, un));
    EcrireFichier(Dossier.Chemin("refuse.arkl"), Arkl(1, e, un));
    EcrireFichier(Dossier.Chemin("scan.xyz"), XYZGrille(50));
    const struct {
        const char* avant; // the file loaded first, or a rotation typed in the field
        const char* charge;
        double angle;
        const char* texte;
    } cas[] = {
        {"30", "scan.xyz", 0, "0"},        {"v3-30.arkl", "scan.xyz", 0, "0"},
        {"v3-30.arkl", "v2.arkl", 0, "0"}, {"30", "refuse.arkl", 0, "0"},
        {"30", "v3-45.arkl", 45, "45"},    {"v3-30.arkl", "v3-30.arkl", 30, "30"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.avant) + " puis " + c.charge);
        TBancEssai banc;
        TEspaceTravail& U = banc.Travail;
        if (std::string(c.avant).find('.') == std::string::npos)
            U.BtActualiserRotClick(c.avant);
        else
            ASSERT_TRUE(U.ChargerScan(Dossier.Chemin(c.avant)));
        U.ChargerScan(Dossier.Chemin(c.charge));
        EXPECT_EQ(U.Vue.AngRotZdeg, c.angle);
        EXPECT_EQ(U.TexteEdRotZ, c.texte);
        // The move right in the view's axes, in the cloud's axes: (cos, -sin) of the angle.
        const double theta = c.angle * Pi / 180;
        U.PtFrontSel1a4 = 2;
        const TV2R avant = U.Etude.RecModl.XYL1;
        U.SBtDeplClick(1);
        const TV2R deplacement = SubV2R(U.Etude.RecModl.XYL1, avant);
        EXPECT_NEAR(deplacement.X, 0.02 * std::cos(theta), 1e-8);
        EXPECT_NEAR(deplacement.Y, -0.02 * std::sin(theta), 1e-8);
        const TV2x2R attendue = RotM2Angle(theta);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                EXPECT_NEAR(U.Vue.McbRotZ2[i][j], attendue[i][j], 1e-15);
    }
}

// Points beyond the margin around the main body are set apart while they stay few; the box of
// the body is then the scan's box without them.
TEST_F(Chargement, PointsEcartesDuCorpsDuReleve) {
    TEtatScan seul;
    EcrireFichier(Dossier.Chemin("corps.xyz"), XYZGrille(3000));
    ChargerFichierScan(seul, Dossier.Chemin("corps.xyz"), {});
    struct Cas {
        const char* nom;
        std::string ajout;
        std::int64_t ecartes;
        int corps = 3000;
    };
    const auto retours = [](int n) {
        std::string t;
        for (int k = 0; k < n; ++k)
            t += "0 0 0\n";
        return t;
    };
    // From the body's corner cell, a line of cells touching by their corners only, out past the
    // margin: one group with the body.
    std::string diagonale;
    for (int k = 0; k < 10; ++k)
        diagonale += Formater("%.1f %.1f %.1f\n", 103.5 + k, 202.5 + k, 41.5 + k);
    const Cas cas[] = {
        {"trois retours nuls", retours(3), 3},
        {"juste dans la marge", "107.5 200 40\n", 0},
        {"juste au-delà de la marge", "108.01 200 40\n", 1},
        {"trop nombreux pour être écartés", retours(40), 0},
        {"exactement un centième", retours(30), 30, 2970},
        {"ligne en diagonale", diagonale, 0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EcrireFichier(Dossier.Chemin("scan.xyz"), c.ajout + XYZGrille(c.corps));
        TEtatScan scan;
        const TScanLu lu = ChargerFichierScan(scan, Dossier.Chemin("scan.xyz"), {});
        const TCorpsDuLeve corps = CorpsDuLeve(scan);
        EXPECT_EQ(scan.NbPoints, c.corps + std::count(c.ajout.begin(), c.ajout.end(), '\n'));
        EXPECT_EQ(corps.NbEcartes, c.ecartes);
        EXPECT_EQ(lu.Bilan, TexteEcartes(corps));
        if (c.ecartes > 0) {
            EXPECT_EQ(corps.Min, seul.CooMin);
            EXPECT_EQ(corps.Max, seul.CooMax);
        } else {
            EXPECT_EQ(corps.Min, scan.CooMin);
            EXPECT_EQ(corps.Max, scan.CooMax);
        }
    }
}

// Two exports end to end, in frames kilometres apart: no box of the two is studied. Groups apart
// by less, or a far group within the stray-point share, load.
TEST_F(Chargement, GroupesEloignesDansDesReperesDifferents) {
    const std::string local = XYZGrille(200, 2, 3);
    const std::string national = XYZGrille(100, 651100, 6858200);
    const std::string attendu =
        "relevé en 2 groupes de points à plus de 1000 m les uns des autres (des exports dans des "
        "repères différents ?) : 200 points de (2.000, 3.000, 40.000) à (3.990, 3.000, 40.006) ; "
        "100 points de (651100.000, 6858200.000, 40.000) à (651100.990, 6858200.000, 40.006)";
    const std::string lignes = local + national;
    std::vector<std::string> renversees;
    for (std::size_t d = 0, f; (f = lignes.find('\n', d)) != std::string::npos; d = f + 1)
        renversees.insert(renversees.begin(), lignes.substr(d, f + 1 - d));
    std::string texteRenverse;
    for (const std::string& l : renversees)
        texteRenverse += l;
    for (const std::string& contenu : {lignes, texteRenverse}) {
        Banc.Plateforme.Messages.clear();
        EXPECT_FALSE(Charger("deux.xyz", contenu));
        ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
        EXPECT_EQ(Banc.Plateforme.Messages[0],
                  attendu + " (fichier « " + Dossier.Chemin("deux.xyz") + " »)");
        AttendreVide();
    }
    // 999 m of empty band, or a far group of one point in a hundred: one survey.
    EXPECT_TRUE(Charger("travee.xyz", local + XYZGrille(100, 1003.99, 3)));
    EXPECT_TRUE(Charger("egare.xyz", XYZGrille(198, 2, 3) + XYZGrille(2, 651100, 6858200)));
    for (const std::string& nom : Contenu(Dossier.Dossier()))
        EXPECT_EQ(nom.find(".tmp"), std::string::npos) << nom;
}

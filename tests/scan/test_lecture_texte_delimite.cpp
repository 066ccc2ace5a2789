#include "LecteursEssai.h"
#include "scan/LectureTexteDelimite.h"
#include "support/Temporaire.h"

#include <gtest/gtest.h>

TEST(LectureTexteDelimite, SeparateursEnTetesEtVirgulesDecimales) {
    struct Cas {
        const char* nom;
        std::string contenu;
        std::vector<TPointLu> points;
        std::int64_t ignores;
    };
    // X, Y and Z in the last of 35 columns.
    std::string colonnes35, ligne;
    for (int c = 0; c < 32; ++c)
        colonnes35 += "c" + std::to_string(c) + ";", ligne += "7;";
    colonnes35 += "X;Y;Z\n" + ligne + "1;2;3\n";
    const Cas cas[] = {
        {"point-virgule, virgule décimale",
         "X;Y;Z;R;G;B\r\n1,5;2,25;3;10;20;30\r\n",
         {{{1.5, 2.25, 3}, {10, 20, 30, 0}}},
         0},
        {"est, nord, hauteur",
         "east,north,height\n651000.5,6860000.25,40\n",
         {{{651000.5, 6860000.25, 40}, {}}},
         0},
        {"tabulations",
         "x\ty\tz\tred\tgreen\tblue\n1,5\t2\t3\t1\t2\t3\n",
         {{{1.5, 2, 3}, {1, 2, 3, 0}}},
         0},
        {"colonnes dans un autre ordre",
         "B;g;R;z;Y;x\n1;2;3;4;5;6\n",
         {{{6, 5, 4}, {3, 2, 1, 0}}},
         0},
        {"noms entre guillemets", "\"X\",\"Y\",\"Z\"\n1,2,3\n", {{{1, 2, 3}, {}}}, 0},
        {"sans en-tête, virgules",
         "1.5,2.5,3.5,255,0,0\n4,5,6\n",
         {{{1.5, 2.5, 3.5}, {255, 0, 0, 0}}, {{4, 5, 6}, {}}},
         0},
        {"espaces, une ligne de texte", "1 2 3 4 5 6\nbonjour\n", {{{1, 2, 3}, {4, 5, 6, 0}}}, 1},
        // Headers as other tools write them: units, a comment mark, a title above.
        {"unités entre parenthèses", "z (m),x (m),y (m)\n3,1,2\n", {{{1, 2, 3}, {}}}, 0},
        {"unités entre crochets", "Z[m]\tX [m]\tY [m]\n3\t1\t2\n", {{{1, 2, 3}, {}}}, 0},
        {"marque de commentaire", "//Z,X,Y\n3,1,2\n", {{{1, 2, 3}, {}}}, 0},
        {"titre avant l'en-tête", "Relevé de la nef\nz;x;y\n3;1;2\n", {{{1, 2, 3}, {}}}, 1},
        {"plus de 32 colonnes", colonnes35, {{{1, 2, 3}, {}}}, 0},
        {"espaces et virgules décimales",
         "1,5 2,25 3\n4 5,5 6\n",
         {{{1.5, 2.25, 3}, {}}, {{4, 5.5, 6}, {}}},
         0},
        {"une ligne de commentaire parmi les points",
         "# relevé\n1;2;3\n4;5;6\n",
         {{{1, 2, 3}, {}}, {{4, 5, 6}, {}}},
         1},
        {"champ manquant", "X;Y;Z\n1;2\n1;2;3\n", {{{1, 2, 3}, {}}}, 1},
    };
    TDossierTemporaire dossier;
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EcrireFichier(dossier.Chemin("r.csv"), c.contenu);
        const TLuEssai lu = LirePoints(LireTexteDelimite, dossier.Chemin("r.csv"));
        ASSERT_EQ(lu.Points.size(), c.points.size());
        for (std::size_t k = 0; k < c.points.size(); ++k) {
            EXPECT_EQ(lu.Points[k].Coo, c.points[k].Coo);
            EXPECT_EQ(lu.Points[k].Couleur, c.points[k].Couleur);
        }
        EXPECT_EQ(lu.Bilan.Ignores, c.ignores);
    }
}

TEST(LectureTexteDelimite, LesLignesIgnoreesSontDites) {
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("r.txt"), "X Y Z\n1 2 3\nrien\n\n4 5 6\n");
    const TLuEssai lu = LirePoints(LireTexteDelimite, dossier.Chemin("r.txt"));
    EXPECT_EQ(lu.Points.size(), 2u);
    EXPECT_EQ(lu.Bilan.Texte, "2 lignes ignorées (ce ne sont pas des points X Y Z)");
}

// A first line that names columns, none of them X, Y and Z: their order is unknown, the file is
// refused rather than read in the order of its columns.
TEST(LectureTexteDelimite, EnTeteSansCoordonneesRefuse) {
    const std::string debut =
        "la première ligne nomme des colonnes, mais ni X, Y et Z ni est, nord "
        "et hauteur : ";
    VerifierRefus({
        {"abc.csv", "a;b;c\n1;2;3\n", debut + "« a », « b », « c »"},
        {"geo.csv", "alt,lon,lat\n3,1,2\n", debut + "« alt », « lon », « lat »"},
    });
}

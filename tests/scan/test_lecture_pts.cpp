#include "LecteursEssai.h"
#include "scan/LecturePTS.h"
#include "support/Temporaire.h"

#include <gtest/gtest.h>

namespace {

void Verifier(TLecteurPoints lecteur, const std::string& chemin,
              const std::vector<TPointLu>& attendus, std::int64_t ignores) {
    const TLuEssai lu = LirePoints(lecteur, chemin);
    ASSERT_EQ(lu.Points.size(), attendus.size());
    for (std::size_t k = 0; k < attendus.size(); ++k) {
        EXPECT_EQ(lu.Points[k].Coo, attendus[k].Coo) << k;
        EXPECT_EQ(lu.Points[k].Couleur, attendus[k].Couleur) << k;
    }
    EXPECT_EQ(lu.Bilan.Ignores, ignores);
}

// The header of a PTX block of `colonnes` x `lignes` points: scanner at the origin, then the
// transformation, its rows as written.
std::string EnTetePTX(int colonnes, int lignes, const std::string& transformation) {
    return std::to_string(colonnes) + "\n" + std::to_string(lignes) +
           "\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n" + transformation;
}

const std::string Identite = "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n";

} // namespace

TEST(LecturePTS, LesQuatreDispositionsEtPlusieursBlocs) {
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("r.pts"), "3\r\n1 2 3\r\n4 5 6 -120\r\n7 8 9 10 20 30\r\n"
                                           "1\r\n1.5 2.5 3.5 0.4 200 100 50\r\nbruit\r\n");
    Verifier(LirePTS, dossier.Chemin("r.pts"),
             {{{1, 2, 3}, {}},
              {{4, 5, 6}, {}},
              {{7, 8, 9}, {10, 20, 30, 0}},
              {{1.5, 2.5, 3.5}, {200, 100, 50, 0}}},
             1);
    // A number alone inside a block is a line that is no point, not a count.
    EcrireFichier(dossier.Chemin("n.pts"), "3\n1 2 3\n7\n4 5 6\n");
    Verifier(LirePTS, dossier.Chemin("n.pts"), {{{1, 2, 3}, {}}, {{4, 5, 6}, {}}}, 1);
}

// A block's count above its lines is a cut file, as for the other formats.
TEST(LecturePTS, FichiersTronquesRefuses) {
    VerifierRefus({
        {"moitie.pts", "4\n1 2 3\n4 5 6\n",
         "fichier PTS tronqué : le bloc 1 annonce 4 points, le fichier n'en a que 2"},
        {"second.pts", "1\n1 2 3\n3\n4 5 6\n",
         "fichier PTS tronqué : le bloc 2 annonce 3 points, le fichier n'en a que 1"},
        {"geant.pts", "1099511627776\n1 2 3\n",
         "fichier PTS tronqué : le bloc 1 annonce 1099511627776 points, plus que le fichier n'en "
         "peut tenir"},
    });
}

TEST(LecturePTX, TransformationDeChaqueBlocEtRetoursManquants) {
    TDossierTemporaire dossier;
    // Block 1: identity, one missing return. Block 2: a quarter turn about Z and a translation.
    EcrireFichier(dossier.Chemin("r.ptx"),
                  EnTetePTX(2, 1, Identite) + "1 2 3 0.5 10 20 30\n0 0 0 0.5 0 0 0\n" +
                      EnTetePTX(1, 2, "0 1 0 0\n-1 0 0 0\n0 0 1 0\n100 200 300 1\n") +
                      "1 2 3 0.5\n0 0 0 0.5\n");
    Verifier(LirePTX, dossier.Chemin("r.ptx"), {{{1, 2, 3}, {10, 20, 30, 0}}, {{98, 201, 303}, {}}},
             0);
}

TEST(LecturePTX, FichiersRefuses) {
    VerifierRefus({
        {"court.ptx", EnTetePTX(2, 2, Identite) + "1 2 3 0.5\n",
         "fichier PTX tronqué (bloc 1 incomplet)"},
        {"entete.ptx", "2\n2\n0 0\n", "en-tête de bloc PTX invalide à la ligne 3"},
        {"dimension.ptx", "-2\n2\n", "dimension de bloc PTX invalide à la ligne 1"},
        {"geant.ptx", EnTetePTX(2000000000, 2000000000, Identite),
         "fichier PTX tronqué (bloc 1 de 2000000000 x 2000000000 points, plus que le fichier n'en "
         "peut tenir)"},
    });
    // The 3 x 3 part of a pose is a rotation; a zero row, a flattening, a stretch or a mirror
    // are not.
    for (const char* m :
         {"1 0 0 0\n0 0 0 0\n0 0 1 0\n0 0 0 1\n", "1 0 0 0\n0 1 0 0\n0 0 0.5 0\n0 0 0 1\n",
          "2 0 0 0\n0 2 0 0\n0 0 2 0\n0 0 0 1\n", "-1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n",
          "1 0 0 0\n0 1 0 0\n0 0 1.001 0\n0 0 0 1\n"})
        VerifierRefus(
            {{"pose.ptx", EnTetePTX(1, 1, Identite) + "1 2 3\n" + EnTetePTX(1, 1, m) + "1 2 3\n",
              "matrice du bloc PTX 2 (lignes 18 à 21) : ce n'est pas la pose d'un "
              "scanner (une rotation et une translation)"}});
}

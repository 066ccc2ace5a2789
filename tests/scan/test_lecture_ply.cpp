#include "LecteursEssai.h"
#include "scan/ChargementScan.h"
#include "scan/LecturePLY.h"
#include "support/PlateformeScriptee.h"
#include "support/Temporaire.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// The bytes of `v` as type T, in the file's order.
template <class T> std::string Octets(double v, bool grand) {
    const T t = static_cast<T>(v);
    std::string o(sizeof t, '\0');
    std::memcpy(o.data(), &t, sizeof t);
    if (grand) std::reverse(o.begin(), o.end());
    return o;
}

std::string Valeur(const std::string& type, double v, bool grand) {
    if (type == "uchar") return Octets<std::uint8_t>(v, grand);
    if (type == "short") return Octets<std::int16_t>(v, grand);
    if (type == "ushort") return Octets<std::uint16_t>(v, grand);
    if (type == "int") return Octets<std::int32_t>(v, grand);
    if (type == "float") return Octets<float>(v, grand);
    return Octets<double>(v, grand);
}

// A PLY file whose vertices have x y z of `typeXYZ`, an intensity, and colours of `typeCouleur`
// (none when empty); a "face" element with a list comes before them.
std::string FichierPLY(const std::string& format, const std::string& typeXYZ,
                       const std::string& typeCouleur,
                       const std::vector<std::array<double, 6>>& sommets) {
    std::string o = "ply\nformat " + format +
                    " 1.0\ncomment essai\nelement face 1\n"
                    "property list uchar int vertex_indices\nelement vertex " +
                    std::to_string(sommets.size()) + "\nproperty " + typeXYZ + " x\nproperty " +
                    typeXYZ + " y\nproperty " + typeXYZ + " z\nproperty float intensity\n";
    if (!typeCouleur.empty())
        for (const char* c : {"red", "green", "blue"})
            o += "property " + typeCouleur + " " + c + "\n";
    o += "end_header\n";
    const bool ascii = format == "ascii", grand = format == "binary_big_endian";
    o += ascii ? "3 0 1 2\n"
               : Valeur("uchar", 3, grand) + Valeur("int", 0, grand) + Valeur("int", 1, grand) +
                     Valeur("int", 2, grand);
    for (const auto& s : sommets) {
        std::string ligne;
        for (int k = 0; k < (typeCouleur.empty() ? 3 : 6); ++k) {
            if (k == 3) ligne += ascii ? "0.5 " : Valeur("float", 0.5, grand);
            const std::string& type = k < 3 ? typeXYZ : typeCouleur;
            ligne += ascii ? std::to_string(s[std::size_t(k)]) + " "
                           : Valeur(type, s[std::size_t(k)], grand);
        }
        if (typeCouleur.empty()) ligne += ascii ? "0.5" : Valeur("float", 0.5, grand);
        o += ligne + (ascii ? "\n" : "");
    }
    return o;
}

std::string SansDerniereLigne(const std::string& t) {
    return t.substr(0, t.rfind('\n', t.size() - 2) + 1);
}

} // namespace

TEST(LecturePLY, CodagesTypesEtCouleurs) {
    struct Cas {
        const char* format;
        const char* typeXYZ;
        const char* typeCouleur;
        std::array<double, 6> sommet;
        TV3R coo;
        TV4By couleur;
    };
    const Cas cas[] = {
        {"binary_little_endian",
         "float",
         "uchar",
         {1.5, -2.25, 3, 10, 20, 255},
         {1.5, -2.25, 3},
         {10, 20, 255, 0}},
        {"binary_big_endian",
         "double",
         "uchar",
         {651000.125, 6860000.5, 40, 1, 2, 3},
         {651000.125, 6860000.5, 40},
         {1, 2, 3, 0}},
        {"binary_little_endian",
         "int",
         "ushort",
         {-7, 8, 9, 0xAB00, 0x1234, 0xFFFF},
         {-7, 8, 9},
         {0xAB, 0x12, 0xFF, 0}},
        {"binary_big_endian",
         "short",
         "float",
         {1, 2, 3, 1.0, 0.5, 0},
         {1, 2, 3},
         {255, 128, 0, 0}},
        {"ascii", "float", "uchar", {1.5, 2.5, 3.5, 4, 5, 6}, {1.5, 2.5, 3.5}, {4, 5, 6, 0}},
        {"binary_little_endian", "float", "", {1, 2, 3, 0, 0, 0}, {1, 2, 3}, {}},
    };
    TDossierTemporaire dossier;
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.format) + " " + c.typeXYZ + " " + c.typeCouleur);
        EcrireFichier(dossier.Chemin("n.ply"),
                      FichierPLY(c.format, c.typeXYZ, c.typeCouleur, {c.sommet, c.sommet}));
        const TLuEssai lu = LirePoints(LirePLY, dossier.Chemin("n.ply"));
        ASSERT_EQ(lu.Points.size(), 2u);
        for (const TPointLu& p : lu.Points) {
            EXPECT_EQ(p.Coo, c.coo);
            EXPECT_EQ(p.Couleur, c.couleur);
        }
    }
}

// Any number of properties a vertex: x, y and z after 67 others.
TEST(LecturePLY, AsciiAuxNombreusesProprietes) {
    std::string entete = "ply\nformat ascii 1.0\nelement vertex 2\n", ligne;
    for (int k = 0; k < 67; ++k)
        entete += "property float p" + std::to_string(k) + "\n", ligne += "7 ";
    entete += "property float x\nproperty float y\nproperty float z\nend_header\n";
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("n.ply"), entete + ligne + "1 2 3\n" + ligne + "4 5 6\n");
    const TLuEssai lu = LirePoints(LirePLY, dossier.Chemin("n.ply"));
    ASSERT_EQ(lu.Points.size(), 2u);
    EXPECT_EQ(lu.Points[0].Coo, (TV3R{1, 2, 3}));
    EXPECT_EQ(lu.Points[1].Coo, (TV3R{4, 5, 6}));
}

// Binary 32-bit reals in a national grid fell on a half-metre lattice before they were read: the
// load says it beside the shift. Text keeps its digits; 64-bit reals keep their precision.
TEST(LecturePLY, ReelsTrenteDeuxBitsLoinDeLOrigine) {
    const std::array<double, 6> loin{651652.4, 6858203.6, 40, 0, 0, 0};
    const std::string decalage =
        "origine des coordonnées déplacée en X = 651652 m, Y = 6858203 m, Z = 40 m";
    const struct {
        const char *format, *type;
        std::array<double, 6> sommet;
        std::string bilan;
    } cas[] = {
        {"binary_little_endian", "float", loin,
         decalage + " ; coordonnées en réels 32 bits : pas de 0,5 m à cette distance de l'origine"},
        {"binary_big_endian",
         "float",
         {40000.5, 2, 3, 0, 0, 0},
         "origine des coordonnées déplacée en X = 40000 m, Y = 2 m, Z = 3 m ; coordonnées en réels "
         "32 bits : pas de 0,00391 m à cette distance de l'origine"},
        {"binary_little_endian", "double", loin, decalage},
        {"ascii", "float", loin, decalage},
        {"binary_little_endian", "float", {1, 2, 3, 0, 0, 0}, ""},
    };
    TDossierTemporaire dossier;
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.format) + " " + c.type);
        EcrireFichier(dossier.Chemin("n.ply"), FichierPLY(c.format, c.type, "", {c.sommet}));
        TEtatScan scan;
        EXPECT_EQ(ChargerFichierScan(scan, dossier.Chemin("n.ply"), {}).Bilan, c.bilan);
    }
}

TEST(LecturePLY, FichiersRefuses) {
    const std::string bon =
        FichierPLY("binary_little_endian", "float", "uchar", {{1, 2, 3, 4, 5, 6}});
    auto remplace = [&](const std::string& avant, const std::string& apres) {
        std::string o = bon;
        o.replace(o.find(avant), avant.size(), apres);
        return o;
    };
    VerifierRefus({
        {"signature.ply", "plx\n" + bon.substr(4),
         "ce n'est pas un fichier PLY (« ply » absent en tête)"},
        {"fin.ply", remplace("end_header", "end"), "ligne d'en-tête PLY invalide (« end »)"},
        {"format.ply", remplace("binary_little_endian", "binary_middle"),
         "format PLY inconnu (« binary_middle »)"},
        {"type.ply", remplace("float x", "float128 x"),
         "type de propriété PLY inconnu (« float128 »)"},
        {"sans-x.ply", remplace("float x", "float w"),
         "les sommets PLY n'ont pas de propriétés x, y et z"},
        {"sans-sommets.ply", remplace("element vertex", "element point"),
         "aucun élément « vertex » dans le PLY"},
        {"nombre.ply", remplace("element vertex 1", "element vertex 1099511627776"),
         "fichier PLY tronqué (1099511627776 « vertex » annoncés, le fichier est plus court)"},
        {"court.ply", bon.substr(0, bon.size() - 2), "fichier PLY tronqué"},
        {"ascii.ply",
         SansDerniereLigne(
             FichierPLY("ascii", "float", "", {{1, 2, 3, 0, 0, 0}, {1, 2, 3, 0, 0, 0}})),
         "fichier PLY tronqué (2 sommets annoncés, 1 lus)"},
    });
}

TEST(LecturePLY, UnSommetAuxCoordonneesNonNumeriquesEstIgnoreEtDit) {
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("n.ply"),
                  FichierPLY("binary_little_endian", "float", "uchar",
                             {{1, 2, 3, 0, 0, 0}, {NAN, 2, 3, 0, 0, 0}, {1.5, 2, 3, 0, 0, 0}}));
    TBancEssai banc;
    ASSERT_TRUE(banc.Travail.ChargerScan(dossier.Chemin("n.ply")));
    EXPECT_EQ(banc.Travail.Scan.NbPoints, 2);
    EXPECT_EQ(banc.Travail.BilanChargement, "1 point aux coordonnées non numériques ignoré");
}

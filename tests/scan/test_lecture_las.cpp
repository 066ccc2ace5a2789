#include "LecteursEssai.h"
#include "scan/ChargementScan.h"
#include "scan/LectureLAS.h"
#include "support/Temporaire.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace {

struct TPointLAS {
    std::int32_t X, Y, Z;
    std::uint16_t R, G, B;
};

// Where the colour of each point format lies (0: none), and its record's size.
constexpr std::size_t PlaceCouleur[11] = {0, 0, 20, 28, 0, 28, 0, 30, 30, 0, 30};
constexpr std::size_t TailleFormat[11] = {20, 28, 26, 34, 57, 63, 30, 36, 38, 59, 67};

template <class T> void Poser(std::string& o, std::size_t place, T v) {
    std::memcpy(o.data() + place, &v, sizeof v);
}

// A LAS file: its header (version 1.`mineure`), one variable-length record of 60 bytes, the
// points with `supplement` extra bytes each, scale 0.01 and offset (1000, 2000, 0). Version 1.4
// counts the points only in its 64-bit field, and puts an extended record after them.
std::string FichierLAS(int mineure, int format, const std::vector<TPointLAS>& points,
                       std::size_t supplement = 3) {
    const std::size_t entete = mineure >= 4 ? 375 : mineure == 3 ? 235 : 227;
    const std::size_t longueur = TailleFormat[format] + supplement;
    std::string o(entete + 60, '\0');
    std::memcpy(o.data(), "LASF", 4);
    o[24] = 1;
    o[25] = char(mineure);
    Poser<std::uint16_t>(o, 94, std::uint16_t(entete));
    Poser<std::uint32_t>(o, 96, std::uint32_t(entete + 60));
    Poser<std::uint32_t>(o, 100, 1);
    o[104] = char(format);
    Poser<std::uint16_t>(o, 105, std::uint16_t(longueur));
    if (mineure >= 4)
        Poser<std::uint64_t>(o, 247, points.size());
    else
        Poser<std::uint32_t>(o, 107, std::uint32_t(points.size()));
    const double echelle[3] = {0.01, 0.01, 0.01}, origine[3] = {1000, 2000, 0};
    for (std::size_t a = 0; a < 3; ++a) {
        Poser(o, 131 + 8 * a, echelle[a]);
        Poser(o, 155 + 8 * a, origine[a]);
    }
    for (const TPointLAS& p : points) {
        std::string r(longueur, '\x7f');
        Poser(r, 0, p.X);
        Poser(r, 4, p.Y);
        Poser(r, 8, p.Z);
        if (PlaceCouleur[format] != 0) {
            Poser(r, PlaceCouleur[format], p.R);
            Poser(r, PlaceCouleur[format] + 2, p.G);
            Poser(r, PlaceCouleur[format] + 4, p.B);
        }
        o += r;
    }
    if (mineure >= 4) o += std::string(80, 'E');
    return o;
}

const std::string Formats = ARKALUNE_RELEVES_EXTERNES;

} // namespace

TEST(LectureLAS, ChaqueFormatDePointsDonneSesCoordonneesEtSesCouleurs) {
    TDossierTemporaire dossier;
    const std::vector<TPointLAS> points = {{100, -250, 4000, 0xAB00, 0x1234, 0xFFFF},
                                           {-7, 0, 1, 0x0100, 0, 0x8000}};
    for (int format = 0; format <= 10; ++format) {
        SCOPED_TRACE(format);
        const std::string chemin = dossier.Chemin("f.las");
        EcrireFichier(chemin, FichierLAS(format >= 6 ? 4 : 2 + format % 2, format, points));
        const TLuEssai lu = LirePoints(LireLAS, chemin);
        ASSERT_EQ(lu.Points.size(), 2u);
        EXPECT_EQ(lu.Points[0].Coo, (TV3R{1001, 1997.5, 40}));
        EXPECT_EQ(lu.Points[1].Coo, (TV3R{999.93, 2000, 0.01}));
        const bool couleur = PlaceCouleur[format] != 0;
        EXPECT_EQ(lu.Points[0].Couleur, couleur ? (TV4By{0xAB, 0x12, 0xFF, 0}) : TV4By{});
        EXPECT_EQ(lu.Points[1].Couleur, couleur ? (TV4By{0x01, 0, 0x80, 0}) : TV4By{});
        EXPECT_EQ(lu.Bilan.Ignores, 0);
    }
}

TEST(LectureLAS, DesCouleursHuitBitsDansDesChampsDeSeizeRestentTellesQuelles) {
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("f.las"),
                  FichierLAS(2, 3, {{0, 0, 0, 200, 7, 255}, {1, 1, 1, 0, 0, 0}}));
    const TLuEssai lu = LirePoints(LireLAS, dossier.Chemin("f.las"));
    ASSERT_EQ(lu.Points.size(), 2u);
    EXPECT_EQ(lu.Points[0].Couleur, (TV4By{200, 7, 255, 0}));
    // One true 16-bit colour, first or last in the file: every colour is then its high byte.
    for (const bool enTete : {true, false}) {
        std::vector<TPointLAS> points(70000, {1, 1, 1, 200, 7, 255});
        (enTete ? points.front() : points.back()) = {2, 2, 2, 0x1234, 0, 0};
        EcrireFichier(dossier.Chemin("f.las"), FichierLAS(2, 3, points));
        TEtatScan scan;
        ChargerFichierScan(scan, dossier.Chemin("f.las"), {});
        std::set<std::uint8_t> rouges;
        scan.PourChaqueCubeDuNiveau(scan.NivMax,
                                    [&](const TCube* c) { rouges.insert(c->ColCube[0]); });
        EXPECT_EQ(rouges, (std::set<std::uint8_t>{0, 0x12}));
    }
}

// A coloured file is read once, its colours' width decided as it goes (where the system counts
// what a process reads).
TEST(LectureLAS, LuEnUnSeulPassage) {
    const auto octetsLus = [] {
        std::ifstream io("/proc/self/io");
        std::string nom;
        std::int64_t n = -1;
        while (io >> nom >> n)
            if (nom == "rchar:") return n;
        return std::int64_t(-1);
    };
    if (octetsLus() < 0) GTEST_SKIP() << "le système ne compte pas les octets lus";
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("f.las"),
                  FichierLAS(2, 3, std::vector<TPointLAS>(200000, {1, 2, 3, 200, 7, 255})));
    const std::int64_t taille = std::int64_t(std::filesystem::file_size(dossier.Chemin("f.las")));
    const std::int64_t avant = octetsLus();
    LireLAS(dossier.Chemin("f.las"), [](const TPointLu*, std::size_t) {}, {});
    EXPECT_LT(octetsLus() - avant, taille + taille / 2);
}

// Version 1.4: the 64-bit count is the count, even beside a smaller legacy one.
TEST(LectureLAS, LeNombreSur64BitsPrimeSurLAncien) {
    TDossierTemporaire dossier;
    std::string f = FichierLAS(4, 6, std::vector<TPointLAS>(7, {1, 2, 3, 0, 0, 0}));
    Poser<std::uint32_t>(f, 107, 5);
    EcrireFichier(dossier.Chemin("f.las"), f);
    EXPECT_EQ(LirePoints(LireLAS, dossier.Chemin("f.las")).Points.size(), 7u);
}

TEST(LectureLAS, FichiersRefuses) {
    const std::string bon = FichierLAS(2, 3, {{0, 0, 0, 0, 0, 0}});
    auto modifie = [&](std::size_t place, std::string octets, std::string base = {}) {
        std::string o = base.empty() ? bon : base;
        o.replace(place, octets.size(), octets);
        return o;
    };
    std::string milliard(8, '\0');
    Poser<std::uint64_t>(milliard, 0, std::uint64_t(1) << 40);
    std::string court(2, '\0');
    Poser<std::uint16_t>(court, 0, 33);
    std::string loin(4, '\0');
    Poser<std::uint32_t>(loin, 0, 1u << 30);
    const std::string zero(8, '\0');
    const std::string las14 = FichierLAS(4, 6, {{0, 0, 0, 0, 0, 0}});
    VerifierRefus({
        {"signature.las", modifie(0, "LASX"),
         "ce n'est pas un fichier LAS (signature « LASF » absente)"},
        {"vide.las", "", "ce n'est pas un fichier LAS (signature « LASF » absente)"},
        {"entete.las", bon.substr(0, 200), "en-tête LAS tronqué"},
        {"version.las", modifie(24, std::string("\x02\x00", 2)),
         "version LAS 2.0 non lue (1.0 à 1.4 attendues)"},
        {"compresse.laz", modifie(104, "\x83"),
         "LAS compressé (LAZ), que le programme ne lit pas : décompressez-le en LAS non compressé "
         "avec le logiciel qui l'a produit ou un outil de conversion LAZ vers LAS, puis ouvrez le "
         "fichier .las obtenu"},
        {"format.las", modifie(104, "\x0b"), "format de points LAS 11 inconnu (0 à 10 attendus)"},
        {"longueur.las", modifie(105, court),
         "longueur des points (33 octets) trop courte pour le format 3 (34 octets)"},
        {"nombre.las", modifie(247, milliard, las14),
         "fichier LAS tronqué (1099511627776 points annoncés à partir de l'octet 435, fichier de " +
             std::to_string(las14.size()) + " octets)"},
        {"debut.las", modifie(96, loin),
         "fichier LAS tronqué (1 points annoncés à partir de l'octet 1073741824, fichier de " +
             std::to_string(bon.size()) + " octets)"},
        {"echelle.las", modifie(139, zero), "échelle ou origine des coordonnées LAS invalide"},
    });
}

TEST(LectureLAS, FichiersDAutresLogiciels) {
    struct Cas {
        const char* nom;
        std::size_t nb;
        double mini[3], maxi[3];
    };
    const Cas cas[] = {
        {"simple.las", 1065, {635619.85, 848899.70, 406.59}, {638982.55, 853535.43, 586.38}},
        {"1_4_w_evlr.las",
         1000,
         {1694038.4456374517, 1816492.7062700584, 5592.7499174683535},
         {1694539.677014474, 1816497.9762624602, 5599.069686751426}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TLuEssai lu = LirePoints(LireLAS, Formats + c.nom);
        ASSERT_EQ(lu.Points.size(), c.nb);
        // The box the header gives is the points' own.
        for (int a = 0; a < 3; ++a) {
            double mini = 1e300, maxi = -1e300;
            for (const TPointLu& p : lu.Points) {
                mini = std::min(mini, p.Coo[a]);
                maxi = std::max(maxi, p.Coo[a]);
            }
            EXPECT_NEAR(mini, c.mini[a], 1e-6);
            EXPECT_NEAR(maxi, c.maxi[a], 1e-6);
        }
    }
    // Its colours are 8-bit values in the 16-bit fields: they are kept, not darkened to 0.
    int clairs = 0;
    for (const TPointLu& p : LirePoints(LireLAS, Formats + "simple.las").Points)
        clairs += p.Couleur[0] > 100;
    EXPECT_GT(clairs, 100);
}

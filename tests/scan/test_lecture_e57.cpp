// The E57 reader: real files from other tools, files of our own writer in every coding, and
// damaged files, each refused with its message before any point is given.

#include "EcritureE57.h"
#include "LecteursEssai.h"
#include "scan/LectureE57.h"
#include "support/AttendreErreur.h"
#include "support/Temporaire.h"
#include "util/Crc32c.h"
#include "util/Erreurs.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const fs::path DossierFormats = ARKALUNE_RELEVES_EXTERNES;

// A point of the scan's frame moved by the unit quaternion (w, x, y, z) and the translation.
TV3R Placer(const TV3R& p, const std::array<double, 4>& q, const TV3R& t) {
    const auto [w, x, y, z] = q;
    return {(1 - 2 * (y * y + z * z)) * p.X + 2 * (x * y - w * z) * p.Y +
                2 * (x * z + w * y) * p.Z + t.X,
            2 * (x * y + w * z) * p.X + (1 - 2 * (x * x + z * z)) * p.Y +
                2 * (y * z - w * x) * p.Z + t.Y,
            2 * (x * z - w * y) * p.X + 2 * (y * z + w * x) * p.Y +
                (1 - 2 * (x * x + y * y)) * p.Z + t.Z};
}

// The scan's points: a small cloud spread over a few metres, one record in `invalides` flagged.
std::vector<TPointE57> Nuage(int n, int invalides, unsigned graine) {
    std::vector<TPointE57> v;
    for (int i = 0; i < n; ++i) {
        TPointE57 p;
        const double u = std::sin(i * 12.9898 + graine) * 43758.5453;
        const double f = u - std::floor(u);
        p.P = {3.25 * f - 1.1, 0.001 * i - 2.5, 4.75 * (1 - f) + 0.37};
        p.Couleur = {std::uint8_t(i * 7 + graine), std::uint8_t(255 - i % 256),
                     std::uint8_t(i * 13 % 256), 0};
        p.Invalide = invalides > 0 && i % invalides == 3;
        if (p.Invalide) p.P = {-9.5, 9.25, 0}; // read only when the flags are not written
        v.push_back(p);
    }
    return v;
}

TScanE57Ecrit ScanDe(const std::vector<TPointE57>& points, TCodageE57Ecrit codage) {
    TScanE57Ecrit s;
    s.Codage = codage;
    s.Points = [&points](const TDonnerPointE57& donner) {
        for (const TPointE57& p : points)
            donner(p);
    };
    return s;
}

// The bytes of an E57 file without its page checksums, and back: the tests' way to damage the
// XML or a packet and still have pages that check.
constexpr std::size_t Page = 1024, Utiles = Page - 4;

std::string SansPages(const std::string& fichier) {
    std::string l;
    for (std::size_t p = 0; p < fichier.size(); p += Page)
        l += fichier.substr(p, Utiles);
    return l;
}

std::string EnPages(std::string logique) {
    const std::uint64_t physique = (logique.size() + Utiles - 1) / Utiles * Page;
    std::memcpy(logique.data() + 16, &physique, 8);
    logique.resize(std::size_t(physique / Page * Utiles), '\0');
    std::string f;
    for (std::size_t p = 0; p < logique.size(); p += Utiles) {
        f += logique.substr(p, Utiles);
        const std::uint32_t crc = Crc32c(logique.data() + p, Utiles);
        for (int k = 0; k < 4; ++k)
            f += char(crc >> (24 - 8 * k));
    }
    return f;
}

// The XML section of a file replaced by what `changer` makes of it.
std::string ChangerXml(const std::string& fichier,
                       const std::function<void(std::string&)>& changer) {
    std::string l = SansPages(fichier);
    std::uint64_t offset = 0, longueur = 0;
    std::memcpy(&offset, l.data() + 24, 8);
    std::memcpy(&longueur, l.data() + 32, 8);
    const std::size_t debut = std::size_t(offset / Page * Utiles + offset % Page);
    std::string xml = l.substr(debut, std::size_t(longueur));
    changer(xml);
    l.resize(debut);
    l += xml;
    longueur = xml.size();
    std::memcpy(l.data() + 32, &longueur, 8);
    return EnPages(l);
}

// A file written here byte by byte from the format's layout, apart from the generator's writer,
// so that a misunderstanding shared by the writer and the reader cannot pass: the 48-byte header,
// one compressed vector section (its 32-byte header, then one data packet holding a bytestream
// per field), the XML, all cut into pages of 1020 bytes and a CRC-32C. X, Y and Z are scaled
// integers of `bits` bits from `mini`, each record has a cartesianInvalidState of 0 to 2.
struct TRecordBrut {
    std::int64_t X, Y, Z;
    unsigned Etat;
};

std::string E57Entiers(const std::vector<TRecordBrut>& records, unsigned bits, std::int64_t mini,
                       const std::string& echelle, const std::string& decalage) {
    auto mot = [](std::string& s, auto v) {
        s.append(reinterpret_cast<const char*>(&v), sizeof v);
    };
    // Values packed from the least significant bit of the first byte, each `largeur` bits wide.
    auto ranger = [](const std::vector<std::uint64_t>& valeurs, unsigned largeur) {
        std::string o((valeurs.size() * largeur + 7) / 8, '\0');
        std::size_t bit = 0;
        for (const std::uint64_t v : valeurs)
            for (unsigned b = 0; b < largeur; ++b, ++bit)
                if ((v >> b) & 1) o[bit / 8] = char(o[bit / 8] | (1 << (bit % 8)));
        return o;
    };
    std::vector<std::uint64_t> x, y, z, etat;
    for (const TRecordBrut& r : records) {
        x.push_back(std::uint64_t(r.X) - std::uint64_t(mini));
        y.push_back(std::uint64_t(r.Y) - std::uint64_t(mini));
        z.push_back(std::uint64_t(r.Z) - std::uint64_t(mini));
        etat.push_back(r.Etat);
    }
    const std::string flux[4] = {ranger(x, bits), ranger(y, bits), ranger(z, bits),
                                 ranger(etat, 2)};
    std::string paquet;
    for (const std::string& f : flux)
        mot(paquet, std::uint16_t(f.size()));
    for (const std::string& f : flux)
        paquet += f;
    paquet.resize((6 + paquet.size() + 3) / 4 * 4 - 6, '\0');
    std::string section;
    mot(section, std::uint8_t(1)); // compressed vector
    section.append(7, '\0');
    mot(section, std::uint64_t(32 + 6 + paquet.size()));
    mot(section, std::uint64_t(48 + 32)); // first data packet, physical: still in page 0
    mot(section, std::uint64_t(0));       // no index packet
    mot(section, std::uint8_t(1));        // data packet
    mot(section, std::uint8_t(0));
    mot(section, std::uint16_t(6 + paquet.size() - 1));
    mot(section, std::uint16_t(4));
    section += paquet;
    const std::int64_t maxi = std::int64_t(std::uint64_t(mini) + ((std::uint64_t(1) << bits) - 1));
    std::string champs;
    for (const char* nom : {"cartesianX", "cartesianY", "cartesianZ"})
        champs += std::string("<") + nom + " type=\"ScaledInteger\" minimum=\"" +
                  std::to_string(mini) + "\" maximum=\"" + std::to_string(maxi) + "\" scale=\"" +
                  echelle + "\" offset=\"" + decalage + "\"/>";
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><e57Root type=\"Structure\" "
        "xmlns=\"http://www.astm.org/COMMIT/E57/2010-e57-v1.0\"><formatName type=\"String\">"
        "<![CDATA[ASTM E57 3D Imaging Data File]]></formatName><guid type=\"String\">"
        "<![CDATA[essai]]></guid><versionMajor type=\"Integer\">1</versionMajor><versionMinor "
        "type=\"Integer\">0</versionMinor><data3D type=\"Vector\" allowHeterogeneousChildren=\"1\">"
        "<vectorChild type=\"Structure\"><guid type=\"String\"><![CDATA[scan]]></guid>"
        "<points type=\"CompressedVector\" fileOffset=\"48\" recordCount=\"" +
        std::to_string(records.size()) + "\"><prototype type=\"Structure\">" + champs +
        "<cartesianInvalidState type=\"Integer\" minimum=\"0\" maximum=\"2\"/></prototype>"
        "<codecs type=\"Vector\" allowHeterogeneousChildren=\"1\"/></points></vectorChild>"
        "</data3D><images2D type=\"Vector\" allowHeterogeneousChildren=\"1\"/></e57Root>";
    std::string l = "ASTM-E57";
    mot(l, std::uint32_t(1));
    mot(l, std::uint32_t(0));
    mot(l, std::uint64_t(0)); // physical length: set by EnPages
    const std::uint64_t xmlLogique = 48 + section.size();
    mot(l, std::uint64_t(xmlLogique / Utiles * Page + xmlLogique % Utiles));
    mot(l, std::uint64_t(xml.size()));
    mot(l, std::uint64_t(Page));
    return EnPages(l + section + xml);
}

void Remplacer(std::string& s, const std::string& avant, const std::string& apres) {
    const std::size_t p = s.find(avant);
    ASSERT_NE(p, std::string::npos) << avant;
    s.replace(p, avant.size(), apres);
}

} // namespace

TEST(LectureE57, FichiersReelsColores) {
    for (const char* nom : {"ColouredCubeFloat.e57", "ColouredCubeDouble.e57"}) {
        SCOPED_TRACE(nom);
        const fs::path chemin = DossierFormats / nom;
        std::vector<std::string> textes;
        std::size_t points = 0;
        LireE57(
            chemin.string(), [&](const TPointLu*, std::size_t n) { points += n; },
            [&](const std::string& t) { textes.push_back(t); });
        EXPECT_EQ(points, 7680u);
        const TLuEssai l = LirePoints(LireE57, chemin.string());
        ASSERT_EQ(l.Points.size(), 7680u);
        EXPECT_EQ(l.Bilan.Ignores, 0);
        EXPECT_EQ(l.Bilan.Texte, "");
        bool couleurs = false;
        for (const TPointLu& p : l.Points) {
            for (int a = 0; a < 3; ++a)
                ASSERT_LE(std::fabs(p.Coo[a]), 0.5);
            couleurs |= p.Couleur[0] != p.Couleur[1] || p.Couleur[1] != p.Couleur[2];
            EXPECT_EQ(p.Couleur[3], 0);
        }
        EXPECT_TRUE(couleurs);
        // 76.8 records a percent: each percent once, the last at the last record.
        ASSERT_EQ(textes.size(), 100u);
        EXPECT_EQ(textes.front(), "lecture : 1%");
        EXPECT_EQ(textes.back(), "lecture : 100%");
    }
}

TEST(LectureE57, FichiersReelsSansPoint) {
    const fs::path chemin = DossierFormats / "ZeroPoints.e57";
    EXPECT_TRUE(LirePoints(LireE57, chemin.string()).Points.empty());
}

TEST(LectureE57, FichiersReelsRefuses) {
    const struct {
        const char* Nom;
        const char* Message;
    } cas[] = {
        {"bad-crc.e57", "page 0 (octet 0) abîmée : sa somme de contrôle CRC-32C ne correspond pas"},
        {"empty.e57", "aucun nuage de points (data3D vide)"},
        // Its compressed vector is said to start at the file's header.
        {"ZeroPointsInvalid.e57",
         "en-tête de vecteur de points invalide à l'octet 0 (section de type 65, 1 attendu)"},
        {"InvalidCVHeader.e57",
         "en-tête de vecteur de points invalide à l'octet 48 (section de type 182, 1 attendu)"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.Nom);
        const std::string chemin = (DossierFormats / c.Nom).string();
        AttendreErreur<EErreur>([&] { LirePoints(LireE57, chemin); },
                                "fichier « " + chemin + " » : " + c.Message);
    }
}

// The fuzzer's seeds are valid files up to the fault they carry, so that its mutations start
// from the refusal they must reach.
TEST(LectureE57, GrainesDuFuzzing) {
    const struct {
        const char* Nom;
        const char* Message;
    } cas[] = {
        {"prototype_profond.e57",
         "prototype trop imbriqué : plus de 8 niveaux de structures (« s/s/s/s/s/s/s/s/s »)"},
        {"trois_releves_une_section.e57",
         "les relevés n° 1 et n° 2 partagent des octets de leurs vecteurs de points"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.Nom);
        const std::string chemin = std::string(ARKALUNE_GRAINES_E57) + c.Nom;
        AttendreErreur<EErreur>([&] { LirePoints(LireE57, chemin); },
                                "fichier « " + chemin + " » : " + c.Message);
    }
}

// Two scans, each placed by its own pose, in every coding of the coordinates, with and without
// colours and records flagged invalid: the points come back in the file's frame, in order.
TEST(LectureE57, DeuxScansPlacesParLeurPose) {
    // Packets of 1005 records cut the 15-bit values of X across packets, and the reader stops
    // inside a byte when a packet ends; packets of 3 make it go through many.
    const struct {
        TCodageE57Ecrit Codage;
        bool Couleur, Invalides;
        double Tolerance;
        std::uint64_t ParPaquet;
    } cas[] = {
        {TCodageE57Ecrit::Reel64, true, false, 1e-12, 2048},
        {TCodageE57Ecrit::Reel32, true, true, 5e-7, 3},
        {TCodageE57Ecrit::EntierEchelonne, false, true, 0.5e-4 + 1e-12, 2048},
        {TCodageE57Ecrit::EntierEchelonne, true, false, 0.5e-4 + 1e-12, 1005},
    };
    TDossierTemporaire dossier;
    const std::vector<TPointE57> a = Nuage(5000, 7, 1), b = Nuage(3001, 11, 2);
    const double c45 = std::sqrt(0.5);
    for (const auto& c : cas) {
        SCOPED_TRACE(int(c.Codage) * 4 + c.Couleur * 2 + c.Invalides);
        std::vector<TScanE57Ecrit> scans{ScanDe(a, c.Codage), ScanDe(b, c.Codage)};
        scans[0].Rotation = {c45, 0, 0, c45}; // a quarter turn about Z
        scans[0].Translation = {1000.5, -20, 3};
        scans[1].Rotation = {0.5, 0.5, 0.5, 0.5};
        scans[1].Translation = {-7, 8.25, 0};
        for (auto& s : scans) {
            s.Couleur = c.Couleur;
            s.EtatInvalide = c.Invalides;
            s.RecordsParPaquet = c.ParPaquet;
        }
        const std::string chemin = dossier.Chemin("releve.e57");
        EcrireE57(chemin, scans);
        const TLuEssai l = LirePoints(LireE57, chemin);
        std::size_t i = 0;
        std::int64_t invalides = 0;
        for (std::size_t k = 0; k < 2; ++k)
            for (const TPointE57& p : k == 0 ? a : b) {
                if (c.Invalides && p.Invalide) {
                    ++invalides;
                    continue;
                }
                ASSERT_LT(i, l.Points.size());
                const TV3R attendu = Placer(p.P, scans[k].Rotation, scans[k].Translation);
                for (int x = 0; x < 3; ++x)
                    ASSERT_NEAR(l.Points[i].Coo[x], attendu[x], c.Tolerance) << i;
                const TV4By couleur =
                    c.Couleur ? TV4By{p.Couleur[0], p.Couleur[1], p.Couleur[2], 0} : TV4By{};
                ASSERT_EQ(l.Points[i].Couleur, couleur) << i;
                ++i;
            }
        EXPECT_EQ(i, l.Points.size());
        EXPECT_EQ(l.Bilan.Ignores, invalides);
        if (c.Invalides) {
            EXPECT_EQ(l.Bilan.Texte, std::to_string(invalides) +
                                         " points ignorés (marqués invalides dans le fichier ou "
                                         "de coordonnées non finies)");
        }
    }
}

// 32-bit reals lose their precision far from the origin, unless the scan's pose carries them
// there: a translation leaves them small.
TEST(LectureE57, CoordonneesEnReelsTrenteDeuxBits) {
    const struct {
        TCodageE57Ecrit Codage;
        TV3R Translation;
        bool Reels32;
    } cas[] = {
        {TCodageE57Ecrit::Reel32, {10, 0, 0}, true},
        {TCodageE57Ecrit::Reel32, {651000, 6858000, 40}, false},
        {TCodageE57Ecrit::Reel64, {0, 0, 0}, false},
        {TCodageE57Ecrit::EntierEchelonne, {0, 0, 0}, false},
    };
    TDossierTemporaire dossier;
    const std::vector<TPointE57> a = Nuage(10, 0, 1);
    for (const auto& c : cas) {
        TScanE57Ecrit s = ScanDe(a, c.Codage);
        s.Translation = c.Translation;
        EcrireE57(dossier.Chemin("r.e57"), {ScanDe(a, TCodageE57Ecrit::Reel64), s});
        EXPECT_EQ(LirePoints(LireE57, dossier.Chemin("r.e57")).Bilan.Reels32Bits, c.Reels32);
    }
}

// Scaled integers of 62 bits, whose values straddle nine bytes, with an offset; the three
// invalid states (0 a point, 1 a direction without a range, 2 no return): only the points remain.
TEST(LectureE57, EntiersEchelonnesDUnFichierEcritOctetParOctet) {
    TDossierTemporaire dossier;
    const std::int64_t g = std::int64_t(1) << 61, t = std::int64_t(1) << 40;
    const std::vector<TRecordBrut> records = {{g - 1024, -g, 0, 0},
                                              {5, 5, 5, 1},
                                              {g - 1024, -g + t, 3 * t, 0},
                                              {7, 7, 7, 2},
                                              {-g, g - t, -t, 0}};
    EcrireFichier(dossier.Chemin("r.e57"),
                  E57Entiers(records, 62, -g, "9.094947017729282379150390625e-13", "1000.5"));
    const TLuEssai l = LirePoints(LireE57, dossier.Chemin("r.e57"));
    ASSERT_EQ(l.Points.size(), 3u);
    EXPECT_EQ(l.Bilan.Ignores, 2);
    std::size_t i = 0;
    for (const TRecordBrut& r : records) {
        if (r.Etat != 0) continue;
        const std::int64_t brut[3] = {r.X, r.Y, r.Z};
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(l.Points[i].Coo[a], std::ldexp(double(brut[a]), -40) + 1000.5) << i;
        ++i;
    }
}

// What the XML says about the fields changes how the values are read.
TEST(LectureE57, SpheriquesEtLimitesDeCouleur) {
    TDossierTemporaire dossier;
    const double pi = 3.141592653589793;
    std::vector<TPointE57> points(3);
    // Range, azimuth, elevation.
    points[0].P = {2, pi / 2, 0};
    points[1].P = {4, 0, pi / 6};
    points[2].P = {1, pi, -pi / 2};
    points[1].Invalide = true;
    for (auto& p : points)
        p.Couleur = {200, 100, 0, 0};
    TScanE57Ecrit s = ScanDe(points, TCodageE57Ecrit::Reel64);
    s.EtatInvalide = true;
    s.Translation = {10, 20, 30};
    EcrireE57(dossier.Chemin("source.e57"), {s});
    const std::string fichier = ChangerXml(LireFichier(dossier.Chemin("source.e57")), [](auto& x) {
        Remplacer(x, "cartesianX", "sphericalRange");
        Remplacer(x, "cartesianY", "sphericalAzimuth");
        Remplacer(x, "cartesianZ", "sphericalElevation");
        Remplacer(x, "cartesianInvalidState", "sphericalInvalidState");
        // Red from 100 to 300, green from 0 to 400.
        Remplacer(x, "<colorRedMinimum type=\"Integer\"/>",
                  "<colorRedMinimum type=\"Integer\">100</colorRedMinimum>");
        Remplacer(x, "<colorRedMaximum type=\"Integer\">255",
                  "<colorRedMaximum type=\"Integer\">300");
        Remplacer(x, "<colorGreenMaximum type=\"Integer\">255",
                  "<colorGreenMaximum type=\"Integer\">400");
    });
    EcrireFichier(dossier.Chemin("spherique.e57"), fichier);
    const TLuEssai l = LirePoints(LireE57, dossier.Chemin("spherique.e57"));
    ASSERT_EQ(l.Points.size(), 2u);
    EXPECT_EQ(l.Bilan.Ignores, 1);
    EXPECT_EQ(l.Bilan.Texte,
              "1 point ignoré (marqué invalide dans le fichier ou de coordonnées non finies)");
    const TV3R attendus[2] = {{10, 22, 30}, {10, 20, 29}};
    for (int i = 0; i < 2; ++i)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(l.Points[std::size_t(i)].Coo[a], attendus[i][a], 1e-12);
    EXPECT_EQ(l.Points[0].Couleur, (TV4By{128, 64, 0, 0}));
}

TEST(LectureE57, UneErreurDuDestinataireArreteLaLecture) {
    TDossierTemporaire dossier;
    const std::vector<TPointE57> a = Nuage(200000, 0, 3);
    EcrireE57(dossier.Chemin("r.e57"), {ScanDe(a, TCodageE57Ecrit::Reel32)});
    int lots = 0;
    EXPECT_THROW(LireE57(dossier.Chemin("r.e57"),
                         [&](const TPointLu*, std::size_t n) {
                             ++lots;
                             EXPECT_LE(n, 65536u);
                             if (lots == 2) throw EStopError();
                         },
                         {}),
                 EStopError);
    EXPECT_EQ(lots, 2);
}

// An empty packet and an index packet before the first data packet are stepped over.
TEST(LectureE57, PaquetsVidesEtDIndexSautes) {
    TDossierTemporaire dossier;
    const std::vector<TPointE57> a = Nuage(96, 0, 5);
    EcrireE57(dossier.Chemin("bon.e57"), {ScanDe(a, TCodageE57Ecrit::Reel32)});
    std::string l = SansPages(LireFichier(dossier.Chemin("bon.e57")));
    std::string paquets("\2\0\3\0", 4);     // empty, 4 bytes
    paquets += std::string("\0\0\17\0", 4); // index, 16 bytes, no entry
    paquets += std::string(12, '\0');
    l.insert(48 + 32, paquets);
    // The section grows by as much, and the XML after it moves.
    std::uint64_t longueur = 0, xml = 0;
    std::memcpy(&longueur, l.data() + 48 + 8, 8);
    longueur += paquets.size();
    std::memcpy(l.data() + 48 + 8, &longueur, 8);
    std::memcpy(&xml, l.data() + 24, 8);
    const std::uint64_t xmlLogique = xml / Page * Utiles + xml % Page + paquets.size();
    xml = xmlLogique / Utiles * Page + xmlLogique % Utiles;
    std::memcpy(l.data() + 24, &xml, 8);
    EcrireFichier(dossier.Chemin("paquets.e57"), EnPages(l));
    const TLuEssai avec = LirePoints(LireE57, dossier.Chemin("paquets.e57"));
    const TLuEssai sans = LirePoints(LireE57, dossier.Chemin("bon.e57"));
    ASSERT_EQ(avec.Points.size(), 96u);
    for (std::size_t i = 0; i < 96; ++i) {
        EXPECT_EQ(avec.Points[i].Coo, sans.Points[i].Coo);
        EXPECT_EQ(avec.Points[i].Couleur, sans.Points[i].Couleur);
    }
}

// Damaged files: each refused with its message, before any point when the fault is in what comes
// before the points.
TEST(LectureE57, FichiersAbimesRefuses) {
    TDossierTemporaire dossier;
    const std::vector<TPointE57> a = Nuage(96, 0, 4);
    EcrireE57(dossier.Chemin("bon.e57"), {ScanDe(a, TCodageE57Ecrit::Reel32)});
    const std::string bon = LireFichier(dossier.Chemin("bon.e57"));
    ASSERT_EQ(bon.size(), 4 * Page);
    auto xml = [&](const std::function<void(std::string&)>& changer) {
        return ChangerXml(bon, changer);
    };
    auto octets = [&](std::size_t ou, const std::string& par) {
        std::string f = bon;
        f.replace(ou, par.size(), par);
        return f;
    };
    auto logique = [&](std::size_t ou, const std::string& par) {
        std::string l = SansPages(bon);
        l.replace(ou, par.size(), par);
        return EnPages(l);
    };
    const struct {
        const char* Quoi;
        std::string Fichier;
        std::string Message;
        // Given before the fault was met: only a fault among the points comes after some.
        std::size_t Donnes = 0;
    } cas[] = {
        {"vide", "", "trop court pour un fichier E57 (0 octets)"},
        {"signature", octets(0, "ASTM-E58"),
         "signature « ASTM-E57 » absente : ce n'est pas un fichier E57"},
        {"version", logique(8, std::string("\2", 1)),
         "version 2.0 non prise en charge (1.x attendue)"},
        {"tronqué", bon.substr(0, 2 * Page),
         "fichier tronqué : l'en-tête annonce 4096 octets, le fichier en a 2048"},
        {"page abîmée", octets(Page + 100, "?"),
         "page 1 (octet 1024) abîmée : sa somme de contrôle CRC-32C ne correspond pas"},
        {"taille de page", logique(40, std::string("\0\0\0\1", 4)),
         "taille de page invalide (16777216 octets)"},
        {"XML illisible", xml([](auto& x) { x.resize(x.size() / 2); }),
         "section XML illisible (erreur à l'octet 776 de la section)"},
        // 2^40 points in a file of 3 KiB: refused before anything is allocated.
        {"nombre de points", xml([](auto& x) { Remplacer(x, "\"96\"", "\"1099511627776\""); }),
         "vecteur de points à l'octet 48 : 1099511627776 points annoncés, la section ne peut en "
         "contenir que 99"},
        // Constant fields store no bit: still no more records than the section has bits.
        {"champs constants", xml([](auto& x) {
             const std::size_t debut = x.find('>', x.find("<prototype")) + 1;
             x.replace(debut, x.find("</prototype>") - debut,
                       "<cartesianX type=\"Integer\" minimum=\"5\" maximum=\"5\"/>"
                       "<cartesianY type=\"Integer\" minimum=\"5\" maximum=\"5\"/>"
                       "<cartesianZ type=\"Integer\" minimum=\"5\" maximum=\"5\"/>");
             Remplacer(x, "\"96\"", "\"2000000000\"");
         }),
         "vecteur de points à l'octet 48 : 2000000000 points annoncés, la section ne peut en "
         "contenir que 12992"},
        {"points manquants", xml([](auto& x) { Remplacer(x, "\"96\"", "\"97\""); }),
         "vecteur de points tronqué : il manque 1 des 97 points annoncés (octet 1676)", 96},
        {"type inconnu", xml([](auto& x) {
             Remplacer(x, "<cartesianX type=\"Float\"", "<cartesianX type=\"Matrix\"");
         }),
         "prototype inconnu : le champ « cartesianX » a le type « Matrix »"},
        {"texte",
         xml([](auto& x) { Remplacer(x, "\"Float\" precision=\"single\"", "\"String\""); }),
         "le champ « cartesianX » est un texte, pas un nombre"},
        {"codec", xml([](auto& x) {
             Remplacer(x, "allowHeterogeneousChildren=\"1\"/>\n</points>",
                       "allowHeterogeneousChildren=\"1\"><vectorChild type=\"Structure\"/>"
                       "</codecs></points>");
         }),
         "le relevé n° 1 utilise un codec de compression non pris en charge (seul le rangement par "
         "bits l'est)"},
        {"coordonnées", xml([](auto& x) { Remplacer(x, "cartesianZ", "cartesianW"); }),
         "un relevé n'a ni coordonnées cartésiennes (cartesianX, Y, Z) ni sphériques "
         "(sphericalRange, Azimuth, Elevation) complètes"},
        {"position", xml([](auto& x) { Remplacer(x, "fileOffset=\"48\"", "fileOffset=\"9999\""); }),
         "vecteur de points : offset 9999 hors des données du fichier"},
        {"somme de contrôle",
         xml([](auto& x) { Remplacer(x, "fileOffset=\"48\"", "fileOffset=\"1022\""); }),
         "vecteur de points : offset 1022 hors des données du fichier"},
        {"pose",
         xml([](auto& x) { Remplacer(x, "<w type=\"Float\">1</w>", "<w type=\"Float\">0</w>"); }),
         "rotation de la pose invalide (quaternion nul ou non fini)"},
        {"valeur", xml([](auto& x) { Remplacer(x, "maximum=\"255\"", "maximum=\"2x5\""); }),
         "valeur illisible « 2x5 » pour l'attribut maximum de « colorRed »"},
        // Every coordinate would land on the offset.
        {"échelle nulle", E57Entiers({{1, 2, 3, 0}}, 8, 0, "0", "0"),
         "échelle nulle pour le champ « cartesianX »"},
        // 20 000 nested structures: refused at a small depth, not by the stack.
        {"prototype profond", xml([](auto& x) {
             std::string profond;
             for (int k = 0; k < 20000; ++k)
                 profond += "<s type=\"Structure\">";
             for (int k = 0; k < 20000; ++k)
                 profond += "</s>";
             Remplacer(x, "<prototype type=\"Structure\">",
                       "<prototype type=\"Structure\">" + profond);
         }),
         "prototype trop imbriqué : plus de 8 niveaux de structures (« s/s/s/s/s/s/s/s/s »)"},
        // Twenty scans naming one section would give twenty times its points.
        {"section partagée", xml([](auto& x) {
             const std::size_t debut = x.find("<vectorChild");
             const std::size_t fin = x.find("</vectorChild>") + std::strlen("</vectorChild>");
             const std::string scan = x.substr(debut, fin - debut);
             for (int k = 0; k < 19; ++k)
                 x.insert(fin, scan);
         }),
         "les relevés n° 1 et n° 2 partagent des octets de leurs vecteurs de points"},
        {"paquet inconnu", logique(48 + 32, std::string("\7", 1)),
         "paquet de type inconnu (7) (octet 80)"},
        {"flux", logique(48 + 32 + 4, std::string("\3", 1)),
         "paquet de points malformé (octet 80) : 3 flux d'octets pour 7 champs"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.Quoi);
        // Through the load: the message, nothing applied, nothing left behind.
        VerifierRefus({{"abime.e57", c.Fichier, c.Message}});
        const std::string chemin = dossier.Chemin("abime.e57");
        EcrireFichier(chemin, c.Fichier);
        std::size_t donnes = 0;
        EXPECT_THROW(LireE57(chemin, [&](const TPointLu*, std::size_t n) { donnes += n; }, {}),
                     EErreur);
        EXPECT_EQ(donnes, c.Donnes);
    }
}

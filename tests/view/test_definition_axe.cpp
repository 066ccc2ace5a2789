#include "VueEssai.h"

#include "scan/ConstructionGrille.h"
#include "support/Temporaire.h"
#include "view/DefinitionAxe.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

namespace {

struct TRecord {
    float X, Y, Z;
    std::uint8_t Reste[8];
};
static_assert(sizeof(TRecord) == 20);

std::string Octets(const std::vector<TRecord>& records) {
    std::string t(records.size() * sizeof(TRecord), '\0');
    if (!records.empty()) std::memcpy(t.data(), records.data(), t.size());
    return t;
}

std::vector<TRecord> Records(const std::string& octets) {
    std::vector<TRecord> r(octets.size() / sizeof(TRecord));
    if (!r.empty()) std::memcpy(r.data(), octets.data(), r.size() * sizeof(TRecord));
    return r;
}

TRecord Record(float x, float y, float z, std::uint8_t marque = 0) {
    TRecord r{x, y, z, {}};
    for (int n = 0; n < 8; ++n)
        r.Reste[n] = std::uint8_t(marque + n);
    return r;
}

// The new frame computed apart: float operations round like the rule's double-then-round, the
// rotation keeps each product exact before its sum is rounded.
struct TTransformAttendu {
    std::vector<TRecord> Tournes, Finaux;
    TV3S Mini, Maxi;
};

TTransformAttendu Transformer(const std::vector<TRecord>& source, TV3S O, TV3S P) {
    const float dx = P.X - O.X, dy = P.Y - O.Y;
    const float L = std::sqrt(dx * dx + dy * dy);
    const float c = dx / L, s = dy / L;
    TTransformAttendu t;
    t.Mini = {PlusGrandReel, PlusGrandReel, PlusGrandReel};
    t.Maxi = {-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    for (TRecord r : source) {
        const float x = r.X, y = r.Y;
        r.X = float(double(float(double(c) * x)) + double(s) * y);
        r.Y = float(double(float(double(-s) * x)) + double(c) * y);
        t.Tournes.push_back(r);
        const float q[3] = {r.X, r.Y, r.Z};
        for (int a = 0; a < 3; ++a) {
            t.Mini[a] = std::min(t.Mini[a], q[a]);
            t.Maxi[a] = std::max(t.Maxi[a], q[a]);
        }
    }
    for (TRecord r : t.Tournes) {
        r.X -= t.Mini.X, r.Y -= t.Mini.Y, r.Z -= t.Mini.Z;
        t.Finaux.push_back(r);
    }
    return t;
}

std::vector<std::string> Progression(std::uint64_t n) {
    std::vector<std::string> textes;
    if (n < 20) return textes;
    for (const char* etape : {"rotation ", "translation "})
        for (int pas = 1; pas <= 20; ++pas)
            textes.push_back(etape + std::to_string(5 * pas) + "%");
    return textes;
}

bool EgauxOctetParOctet(const std::vector<TRecord>& a, const std::vector<TRecord>& b) {
    return Octets(a) == Octets(b);
}

struct TDefinitionAxe : TVueEssai {
    TDossierTemporaire Dossier;
    std::string Source;
    void SetUp() override {
        T.PFsansext = Dossier.Chemin("voute");
        Source = T.PFsansext + ".ANSCSRC";
        T.Scan.CooMin = {-1, -2, -3};
        T.Scan.CooMax = {1, 2, 3};
    }
    // The files in the folder: no working file may be left there.
    std::ptrdiff_t NbFichiers() const {
        return std::distance(std::filesystem::directory_iterator(Dossier.Dossier()),
                             std::filesystem::directory_iterator());
    }
    // A point of the loaded scan: the scan is built again with it as a load builds it, on one
    // level (each point the cube of its metre), and shown; its box stays the fixture's.
    std::vector<TPointScan> PointsScan;
    void AjouterPointScan(const TV3S& p) {
        PointsScan.push_back({p.X, p.Y, p.Z, {}});
        TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
        TV3S maxi{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
        for (const TPointScan& q : PointsScan)
            for (int a = 0; a < 3; ++a) {
                mini[a] = std::min(mini[a], TV3S{q.X, q.Y, q.Z}[a]);
                maxi[a] = std::max(maxi[a], TV3S{q.X, q.Y, q.Z}[a]);
            }
        const TV3S boiteMin = T.Scan.CooMin, boiteMax = T.Scan.CooMax;
        T.Scan.Vider();
        T.Scan.NivMax = 0;
        T.Scan.NbPoints = std::int32_t(PointsScan.size());
        ConstruireGrille(
            T.Scan, DimensionnerGrille(mini, maxi),
            [&](const TRecevoirLot& recevoir) { recevoir(PointsScan.data(), PointsScan.size()); },
            {});
        T.Scan.ChoisirNivAffiche(0);
        T.Scan.CooMin = boiteMin;
        T.Scan.CooMax = boiteMax;
        T.ScanPret = true;
    }
    std::vector<TV3S> PointsAffiches() const {
        std::vector<TV3S> points;
        for (const TCube* c : T.Scan.CubesAffiches)
            points.push_back(c->CooMoyPts);
        std::sort(points.begin(), points.end(), [](const TV3S& a, const TV3S& b) {
            return std::tie(a.X, a.Y, a.Z) < std::tie(b.X, b.Y, b.Z);
        });
        return points;
    }
    std::vector<TRecord> Hasard(int n) {
        std::mt19937 alea(2024);
        std::uniform_real_distribution<float> u(-50, 50);
        std::vector<TRecord> r;
        for (int k = 0; k < n; ++k)
            r.push_back(Record(u(alea), u(alea), u(alea) / 5, std::uint8_t(k)));
        return r;
    }
};

} // namespace

TEST_F(TDefinitionAxe, ExempleDeLAxeSuivantY) {
    EcrireFichier(Source,
                  Octets({Record(1, 1, 0, 10), Record(3, 2, 7, 20), Record(-1, 5, -2, 30)}));
    // The loaded scan holds the same three points.
    for (const TV3S& p : {TV3S{1, 1, 0}, TV3S{3, 2, 7}, TV3S{-1, 5, -2}})
        AjouterPointScan(p);
    T.RecalculerRepere({1, 1, 0}, {1, 3, 5});

    // c = 0, s = 1: (1, 1, 0) turns to (1, -1, 0); the X axis runs along the old +Y.
    const std::vector<TRecord> attendus = {Record(0, 2, 2, 10), Record(1, 0, 9, 20),
                                           Record(4, 4, 0, 30)};
    EXPECT_TRUE(EgauxOctetParOctet(Records(LireFichier(Source)), attendus));
    EXPECT_EQ(NbFichiers(), 1);
    // The scan is shown in the same new frame, framed in its first orientation, to be saved.
    EXPECT_EQ(PointsAffiches(), (std::vector<TV3S>{{0, 2, 2}, {1, 0, 9}, {4, 4, 0}}));
    EXPECT_EQ(T.Scan.CooMin, (TV3S{0, 0, 0}));
    EXPECT_EQ(T.Scan.CooMax, (TV3S{4, 4, 9}));
    EXPECT_EQ(T.Vue.CentreRotAbs, (TV3S{2, 2, 4.5f}));
    EXPECT_TRUE(T.Scan.ScanModifie);
    EXPECT_TRUE(T.ScanPret);
    EXPECT_TRUE(T.Vue.PointsPerimes);
    EXPECT_EQ(Banc.Plateforme.Messages, std::vector<std::string>{"3 points traités"});
    EXPECT_EQ(T.Vue.LongAbsDeg, -90); // first orientation
    EXPECT_EQ(T.Vue.LatAbsDeg, 0);
    EXPECT_EQ(Banc.Plateforme.Curseur, 0);
}

TEST(TRotationAxe, DirectionHorizontaleOuAucune) {
    const std::optional<TRotationAxe> y = RotationAxe({1, 1, 0}, {1, 3, 5});
    ASSERT_TRUE(y);
    EXPECT_EQ(y->c, 0);
    EXPECT_EQ(y->s, 1);
    EXPECT_EQ(y->Appliquer({1, 1, 7}), (TV3S{1, -1, 7}));
    // Same X and Y, or a distance beyond the reals: no direction.
    EXPECT_FALSE(RotationAxe({1, 1, 0}, {1, 1, 9}));
    EXPECT_FALSE(RotationAxe({-3e38f, 0, 0}, {3e38f, 0, 0}));
}

TEST_F(TDefinitionAxe, FichierGenereComparePointParPoint) {
    for (int n : {0, 19, 100, 1000}) {
        const std::vector<TRecord> source = Hasard(n);
        EcrireFichier(Source, Octets(source));
        const TV3S O{0.3f, 0.7f, 2}, P{5.1f, -2.9f, 3};
        std::vector<std::string> textes;
        const TRepereRecalcule r = RecrireSourceDansRepere(
            T.PFsansext, *RotationAxe(O, P), [&](const std::string& t) { textes.push_back(t); });

        const TTransformAttendu attendu = Transformer(source, O, P);
        EXPECT_TRUE(EgauxOctetParOctet(Records(LireFichier(Source)), attendu.Finaux)) << n;
        EXPECT_EQ(textes, Progression(std::uint64_t(n))) << n;
        EXPECT_EQ(r.NbPoints, std::uint64_t(n));
        if (n > 0) {
            EXPECT_EQ(r.Etendue, SubV3S(attendu.Maxi, attendu.Mini));
        }
        EXPECT_EQ(NbFichiers(), 1) << n;
    }
}

TEST_F(TDefinitionAxe, FichierVideSansEtendue) {
    EcrireFichier(Source, "");
    T.RecalculerRepere({0.3f, 0.7f, 2}, {5.1f, -2.9f, 3});
    EXPECT_TRUE(LireFichier(Source).empty());
    EXPECT_TRUE(Banc.Plateforme.Statuts.empty());
    EXPECT_EQ(Banc.Plateforme.Messages, std::vector<std::string>{"0 points traités"});
    // An empty file has no extent: the box stays.
    EXPECT_EQ(T.Scan.CooMin, (TV3S{-1, -2, -3}));
    EXPECT_EQ(T.Scan.CooMax, (TV3S{1, 2, 3}));
}

TEST_F(TDefinitionAxe, UnEchecNeLaissePasLaSourceTronquee) {
    const std::vector<TRecord> source = Hasard(100);
    const std::string octets = Octets(source);
    // A file of the user's named as the working copy once was: never touched.
    const std::string fichierUtilisateur = T.PFsansext + ".TMP";
    for (int echapAuTraitement : {5, 21}) { // during the rotation, during the translation
        EcrireFichier(Source, octets);
        EcrireFichier(fichierUtilisateur, "ancien");
        TBancEssai banc;
        banc.Plateforme.EchapAuTraitement = echapAuTraitement;
        banc.Plateforme.Reponses = {TReponse::Oui};
        banc.Travail.PFsansext = T.PFsansext;
        banc.Travail.ScanPret = true;
        banc.Travail.Scan.CooMax = {1, 2, 3};
        banc.Travail.RecalculerRepere({0, 0, 0}, {1, 2, 0});

        EXPECT_EQ(banc.Plateforme.Messages, std::vector<std::string>{"abandon"});
        EXPECT_TRUE(LireFichier(Source) == octets) << echapAuTraitement;
        EXPECT_EQ(LireFichier(fichierUtilisateur), "ancien") << echapAuTraitement;
        EXPECT_EQ(banc.Travail.Scan.CooMax, (TV3S{1, 2, 3}));
        EXPECT_TRUE(banc.Travail.ScanPret);
        EXPECT_EQ(banc.Plateforme.Curseur, 0);
        // Nothing but the two files in the folder: no leftover of an unfinished write.
        EXPECT_EQ(NbFichiers(), 2) << echapAuTraitement;
    }
}

TEST_F(TDefinitionAxe, SansFichierSourceLeScanSeulEstRecadre) {
    AjouterPointScan({1, 1, 0});
    AjouterPointScan({3, 2, 7});
    T.RecalculerRepere({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(Banc.Plateforme.Messages, std::vector<std::string>{"2 points traités"});
    EXPECT_EQ(PointsAffiches(), (std::vector<TV3S>{{0, 0, 0}, {2, 1, 7}}));
    EXPECT_TRUE(T.ScanPret);
    EXPECT_TRUE(T.Scan.ScanModifie);
    // No file made beside the scan, and none left.
    EXPECT_TRUE(std::filesystem::is_empty(Dossier.Dossier()));
}

TEST_F(TDefinitionAxe, DeuxPointsDesignesALaSouris) {
    const std::string octets = Octets({Record(1, 1, 0), Record(3, 2, 7)});
    EcrireFichier(Source, octets);
    VueDeDessusUnMetreParPixel(400, 300);
    AjouterCube(100, 100, 0);
    AjouterCube(100, 200, 5);
    AjouterCube(100, 100, 9, EtatMasque);
    T.MiDefinirAxeXClick();
    EXPECT_EQ(T.ModeDefinirAxeX, 1);
    EXPECT_EQ(Banc.Plateforme.Statuts.back(), "Saisir le point origine (échap pour annuler)");
    EXPECT_EQ(Banc.Plateforme.Menus, "FFFFF");
    EXPECT_EQ(T.svgetatmenu, "TTFTT");

    // A release on no point changes nothing, not even the picture.
    const int redessins = Banc.Plateforme.Redessins;
    T.VGLMouseDown(300, 100);
    T.VGLMouseUp(300, 100, true);
    EXPECT_EQ(T.ModeDefinirAxeX, 1);
    EXPECT_EQ(Banc.Plateforme.Redessins, redessins);

    // Mouse y counts from the top of the 300-pixel view.
    // A turn of the camera ending over a point, then a click of another button, designate
    // nothing.
    T.VGLMouseDown(60, 60);
    T.VGLMouseMove(TBoutonsSouris{false, true}, 102, 199);
    T.VGLMouseUp(102, 199, true);
    T.VGLMouseDown(102, 199);
    T.VGLMouseUp(102, 199, false);
    EXPECT_EQ(T.ModeDefinirAxeX, 1);
    T.VGLMouseDown(102, 199);
    T.VGLMouseUp(102, 199, true);
    EXPECT_EQ(T.ModeDefinirAxeX, 2);
    EXPECT_EQ(T.NvCooOrig, (TV3S{100, 100, 0}));
    EXPECT_EQ(Banc.Plateforme.Statuts.back(), "sélectionner le 2è point (échap pour annuler)");

    // A second point above the first gives no direction: refused, the mode waits on.
    T.PrendrePointAxe({100, 100, 9});
    EXPECT_EQ(T.ModeDefinirAxeX, 2);
    ASSERT_EQ(Banc.Plateforme.Messages.size(), 1u);
    EXPECT_NE(Banc.Plateforme.Messages[0].find("mêmes X et Y"), std::string::npos);
    EXPECT_EQ(Banc.Plateforme.Menus, "FFFFF");
    EXPECT_TRUE(LireFichier(Source) == octets);

    // A rubber band ending during the mode designates nothing.
    T.VGLMouseDown(90, 90);
    T.VGLMouseMove({true, false}, 110, 110);
    T.VGLMouseUp(110, 110, true);
    EXPECT_EQ(T.ModeDefinirAxeX, 2);

    T.VGLMouseDown(100, 100);
    T.VGLMouseUp(100, 100, true);
    EXPECT_EQ(T.ModeDefinirAxeX, 0);
    EXPECT_EQ(T.NvCooX, (TV3S{100, 200, 5}));
    const std::vector<std::string>& s = Banc.Plateforme.Statuts;
    EXPECT_EQ(s[s.size() - 2], "recalcul ...");
    EXPECT_EQ(s.back(), "");
    EXPECT_EQ(Banc.Plateforme.Messages.back(), "2 points traités");
    EXPECT_EQ(Banc.Plateforme.Menus, "TTFTT");
    EXPECT_TRUE(T.svgetatmenu.empty());
    EXPECT_TRUE(
        EgauxOctetParOctet(Records(LireFichier(Source)), {Record(0, 2, 0), Record(1, 0, 7)}));
}

TEST_F(TDefinitionAxe, EchapApresLePremierPoint) {
    const std::string octets = Octets({Record(1, 1, 0), Record(3, 2, 7)});
    EcrireFichier(Source, octets);
    T.MiDefinirAxeXClick();
    T.PrendrePointAxe({1, 1, 0});
    ASSERT_EQ(T.ModeDefinirAxeX, 2);

    T.ToucheEchap();
    EXPECT_EQ(T.ModeDefinirAxeX, 0);
    EXPECT_EQ(Banc.Plateforme.Menus, "TTFTT");
    EXPECT_TRUE(T.svgetatmenu.empty());
    // Nothing was running: no question, and the prompt goes; a later progress text is not
    // stopped by this Esc.
    EXPECT_TRUE(Banc.Plateforme.Questions.empty());
    EXPECT_EQ(Banc.Plateforme.Statuts.back(), "");
    EXPECT_FALSE(T.Echap);
    EXPECT_TRUE(LireFichier(Source) == octets);
    EXPECT_TRUE(Banc.Plateforme.Messages.empty());
}

TEST_F(TDefinitionAxe, EchapPendantLeRecalculLAnnule) {
    const std::vector<TRecord> points = Hasard(100);
    const std::string octets = Octets(points);
    EcrireFichier(Source, octets);
    for (const TRecord& r : points)
        AjouterPointScan({r.X, r.Y, r.Z});
    const TListeCubes affiches = T.Scan.CubesAffiches;
    T.MiDefinirAxeXClick();
    T.PrendrePointAxe({1, 1, 0});
    // Processings to come: the menus' restoring text, "recalcul ...", then "rotation 5%".
    Banc.Plateforme.EchapAuTraitement = Banc.Plateforme.Traitements + 3;
    Banc.Plateforme.Reponses = {TReponse::Oui};
    T.PrendrePointAxe({4, 5, 0});

    EXPECT_EQ(Banc.Plateforme.Questions, std::vector<std::string>{"Annuler?"});
    EXPECT_EQ(Banc.Plateforme.Messages, std::vector<std::string>{"abandon"});
    EXPECT_TRUE(LireFichier(Source) == octets);
    // The scan stopped while turning is the one it was, still shown and not to be saved.
    EXPECT_EQ(T.Scan.CubesAffiches, affiches);
    EXPECT_EQ(T.Scan.CooMax, (TV3S{1, 2, 3}));
    EXPECT_FALSE(T.Scan.ScanModifie);
    EXPECT_TRUE(T.ScanPret);
    EXPECT_EQ(Banc.Plateforme.Menus, "TTFTT");
    EXPECT_EQ(T.ModeDefinirAxeX, 0);
}

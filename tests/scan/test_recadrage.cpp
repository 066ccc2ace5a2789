#include "ScanEssai.h"
#include "scan/RecadrageScan.h"
#include "util/Erreurs.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// A quarter turn about Z, exact in floats: the new X runs along the old +Y.
TV3S QuartDeTour(const TV3S& p) {
    return {p.Y, -p.X, p.Z};
}

using TPointCouleur = std::tuple<float, float, float, std::uint8_t, std::uint8_t, std::uint8_t>;

// The scan's points as a save writes them: the deepest level's cubes that are not deleted.
std::vector<TPointCouleur> Points(const TEtatScan& scan) {
    std::vector<TPointCouleur> points;
    scan.PourChaqueCubeDuNiveau(scan.NivMax, [&](const TCube* c) {
        if (c->etatSP & EtatSupprime) return;
        const TV3S& p = c->CooMoyPts;
        points.emplace_back(p.X, p.Y, p.Z, c->ColCube[0], c->ColCube[1], c->ColCube[2]);
    });
    std::sort(points.begin(), points.end());
    return points;
}

std::size_t NbFichiers(const TDossierTemporaire& dossier) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(dossier.Dossier()),
                                     std::filesystem::directory_iterator()));
}

struct Recadrage : TScanSeul {
    std::string Prefixe() const { return Dossier.Chemin("scan.recadrage"); }
};

} // namespace

TEST_F(Recadrage, PointsTournesPuisCoinBasALOrigine) {
    // Three deleted points are left out, as a save leaves them; states go with the old grid.
    int supprimes = 0;
    Scan.PourChaqueCubeDuNiveau(Scan.NivMax, [&](TCube* c) {
        if (supprimes == 3) return;
        ++supprimes;
        c->etatSP |= EtatSupprime;
    });
    Scan.CubesAffiches[0]->etatSP |= EtatSelectionne | EtatMasque;
    const int niveauAffiche = Scan.NivAffiche;
    Scan.ScanModifie = true;

    std::vector<TPointCouleur> attendus;
    TV3S mini{PlusGrandReel, PlusGrandReel, PlusGrandReel};
    for (const auto& [x, y, z, r, v, b] : Points(Scan)) {
        const TV3S q = QuartDeTour({x, y, z});
        for (int a = 0; a < 3; ++a)
            mini[a] = std::min(mini[a], q[a]);
    }
    TV3S maxi{-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
    for (const auto& [x, y, z, r, v, b] : Points(Scan)) {
        const TV3S q = SubV3S(QuartDeTour({x, y, z}), mini);
        for (int a = 0; a < 3; ++a)
            maxi[a] = std::max(maxi[a], q[a]);
        attendus.emplace_back(q.X, q.Y, q.Z, r, v, b);
    }
    std::sort(attendus.begin(), attendus.end());
    Textes.clear();
    // A survey's shift has no meaning in the new frame, whose corner is the origin.
    Scan.Decalage = {651000, 6858000, 0};
    const std::uint64_t versionAvant = Scan.VersionAffiches;

    const TRecadrage r = RecadrerScan(Scan, QuartDeTour, Prefixe(), Sortie);
    EXPECT_EQ(r.NbPoints, 2997);
    EXPECT_EQ(r.Coin, mini); // for what must follow the points into their frame
    EXPECT_EQ(Scan.Decalage, (TDecalage{0, 0, 0}));
    EXPECT_EQ(Points(Scan), attendus);
    EXPECT_EQ(Scan.NbPoints, 2997);
    EXPECT_EQ(Scan.CooMin, (TV3S{0, 0, 0}));
    EXPECT_EQ(Scan.CooMax, maxi);
    EXPECT_EQ(Scan.NivAffiche, niveauAffiche);
    EXPECT_EQ(Scan.CubesAffiches.size(), std::size_t(Scan.NbCubesNiv[niveauAffiche]));
    for (const TCube* c : Scan.CubesAffiches)
        EXPECT_EQ(c->etatSP, 0);
    EXPECT_TRUE(Scan.ScanModifie);
    EXPECT_EQ(Scan.VersionAffiches, versionAvant + 1); // indexes of the old list are stale
    // The turn's progress by twentieths, then the sort of the paths and the grid's construction
    // as a load shows them.
    ASSERT_GE(Textes.size(), 21u);
    EXPECT_EQ(Textes[0], "rotation 5%");
    EXPECT_EQ(Textes[19], "rotation 100%");
    EXPECT_EQ(Textes[20].rfind("tri : ", 0), 0u);
    const auto finTri = std::find(Textes.begin(), Textes.end(), "tri : 100%");
    ASSERT_LT(finTri + 1, Textes.end());
    EXPECT_EQ(finTri[1].rfind("construction : ", 0), 0u);
    EXPECT_EQ(NbFichiers(Dossier), 1u); // the scan file alone: the turned points are gone
}

TEST_F(Recadrage, UnArretOuUnScanVideLaisseLeScanIntact) {
    const std::vector<TPointCouleur> avant = Points(Scan);
    const TListeCubes affiches = Scan.CubesAffiches;
    const TV3S mini = Scan.CooMin, maxi = Scan.CooMax;
    // Stopped during the turn, then during the sort of the paths, then during the new grid's
    // construction.
    for (const char* arret : {"rotation 50%", "tri : ", "construction : "}) {
        const TSortieProgression sortie = [arret](const std::string& t) {
            if (t.rfind(arret, 0) == 0) throw EStopError();
        };
        EXPECT_THROW(RecadrerScan(Scan, QuartDeTour, Prefixe(), sortie), EStopError) << arret;
        EXPECT_EQ(Points(Scan), avant);
        EXPECT_EQ(Scan.CubesAffiches, affiches);
        EXPECT_EQ(Scan.CooMin, mini);
        EXPECT_EQ(Scan.CooMax, maxi);
        EXPECT_EQ(NbFichiers(Dossier), 1u);
    }

    TEtatScan vide;
    EXPECT_EQ(RecadrerScan(vide, QuartDeTour, Prefixe(), Sortie).NbPoints, 0);
    EXPECT_EQ(vide.NbPoints, 0);
    EXPECT_EQ(NbFichiers(Dossier), 1u);
}

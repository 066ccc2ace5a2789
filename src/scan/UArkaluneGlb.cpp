#include "scan/UArkaluneGlb.h"

#include "scan/CoinsCubes.h"
#include "scan/PasEntretien.h"

#include <algorithm>
#include <utility>

void TEtatScan::InstallerCubes(std::array<TNiveauCubes, NbNiveaux>&& niveaux,
                               std::vector<TCellule>&& cellules) {
    niveaux_ = std::move(niveaux);
    CellulesGrille = std::move(cellules);
    Grille.clear();
    for (TCube& c : niveaux_[0].Cubes)
        Grille.push_back(&c);
    teteChaine_ = {};
    for (int n = 0; n < NbNiveaux; ++n) {
        const TNiveauCubes& niv = niveaux_[n];
        NbCubesNiv[n] = static_cast<std::int32_t>(niv.Cubes.size());
        PremierCubeNiv[n] = niv.Chaine.empty() ? nullptr : &niveaux_[n].Cubes[niv.Chaine[0]];
    }
}

TCube* TEtatScan::CubeParent(const TCube* c) const {
    return c->NivCube == 0 ? nullptr : &niveaux_[c->NivCube - 1].Cubes[c->parent_];
}

TV3S TEtatScan::CooOriCube(const TCube* c) const {
    if (c->NivCube == 0) {
        const TCellule& cellule = CellulesGrille[Place(c)];
        return CoinCellule(OrigGrille, cellule[0], cellule[1], cellule[2]);
    }
    const int slot = c->indexParent - 1;
    return CoinEnfant(CooOriCube(CubeParent(c)), c->NivCube - 1, slot / 25, slot / 5 % 5, slot % 5);
}

TCube* TEtatScan::Enfant(const TCube* c, int slot) const {
    TCube* trouve = nullptr;
    PourChaqueEnfant(c, [&](TCube* e) {
        if (e->indexParent == slot + 1) trouve = e;
    });
    return trouve;
}

int TEtatScan::NbEnfants(const TCube* c) const {
    int n = 0;
    PourChaqueEnfant(c, [&](TCube*) { ++n; });
    return n;
}

void TEtatScan::MarquerSupprime(TCube* c, bool supp) {
    if (supp)
        c->etatSP |= EtatSupprime;
    else
        c->etatSP &= static_cast<std::uint8_t>(~(EtatSelectionne | EtatMasque | EtatSupprime));
    PourChaqueEnfant(c, [&](TCube* enfant) { MarquerSupprime(enfant, supp); });
}

bool TEtatScan::Compacter(TCube* c) {
    if (c->NivCube >= NivMax) return (c->etatSP & EtatSupprime) != 0;
    if (c->etatSP & EtatSupprime) {
        PourChaqueEnfant(c, [this](TCube* enfant) { DetruireCube(enfant); });
        return true;
    }
    bool resultat = true;
    PourChaqueEnfant(c, [&](TCube* enfant) {
        if (Compacter(enfant))
            DetruireCube(enfant);
        else
            resultat = false;
    });
    return resultat;
}

void TEtatScan::DetruireSousArbre(TCube* cube) {
    PourChaqueEnfant(cube, [this](TCube* enfant) { DetruireSousArbre(enfant); });
    cube->detruit_ = true;
    const int n = cube->NivCube;
    NbCubesNiv[n] -= 1;
    if (PremierCubeNiv[n] != cube) return;
    const TNiveauCubes& niv = niveaux_[n];
    std::size_t& tete = teteChaine_[n];
    while (tete < niv.Chaine.size() && niveaux_[n].Cubes[niv.Chaine[tete]].detruit_)
        ++tete;
    PremierCubeNiv[n] = tete < niv.Chaine.size() ? &niveaux_[n].Cubes[niv.Chaine[tete]] : nullptr;
}

void TEtatScan::DetruireCube(TCube* cube) {
    if (cube->NivCube == 0) Grille[Place(cube)] = nullptr;
    DetruireSousArbre(cube);
}

void TEtatScan::ChoisirNivAffiche(int niveau, const std::function<void()>& entretenir) {
    NivAffiche = niveau;
    ++VersionAffiches;
    CubesAffiches.clear();
    CubesAffiches.reserve(std::size_t(NbCubesNiv[niveau]));
    PourChaqueCubeDuNiveau(niveau, [&](TCube* c) {
        CubesAffiches.push_back(c);
        if (CubesAffiches.size() % PasEntretien == 0 && entretenir) entretenir();
    });
}

std::int64_t TEtatScan::NbCubesTotal() const {
    std::int64_t total = 0;
    for (int n = 0; n <= NivMax && n < NbNiveaux; ++n)
        total += NbCubesNiv[n];
    return total;
}

void TEtatScan::ReinitialiserBoiteEnglobante() {
    CooMin = {PlusGrandReel, PlusGrandReel, PlusGrandReel};
    CooMax = {-PlusGrandReel, -PlusGrandReel, -PlusGrandReel};
}

void TEtatScan::Vider() {
    niveaux_ = {};
    teteChaine_ = {};
    Grille.clear();
    Grille.shrink_to_fit();
    CellulesGrille.clear();
    CellulesGrille.shrink_to_fit();
    DimGrille = {};
    PremierCubeNiv = {};
    NbCubesNiv = {};
    NbPoints = 0;
    ++VersionAffiches;
    CubesAffiches.clear();
    CubesAffiches.shrink_to_fit();
}

void TEtatScan::Echanger(TEtatScan& autre) {
    std::swap(NivMax, autre.NivMax);
    std::swap(NbPoints, autre.NbPoints);
    std::swap(CooMin, autre.CooMin);
    std::swap(CooMax, autre.CooMax);
    std::swap(OrigGrille, autre.OrigGrille);
    std::swap(DimGrille, autre.DimGrille);
    std::swap(PremierCubeNiv, autre.PremierCubeNiv);
    std::swap(NbCubesNiv, autre.NbCubesNiv);
    std::swap(NivAffiche, autre.NivAffiche);
    std::swap(CubesAffiches, autre.CubesAffiches);
    std::swap(ScanModifie, autre.ScanModifie);
    std::swap(ModifieSansRetour, autre.ModifieSansRetour);
    std::swap(CellulesGrille, autre.CellulesGrille);
    std::swap(Grille, autre.Grille);
    std::swap(niveaux_, autre.niveaux_);
    std::swap(teteChaine_, autre.teteChaine_);
    std::swap(Decalage, autre.Decalage);
    // Both displayed lists changed: what was built on them must be built again.
    ++VersionAffiches;
    ++autre.VersionAffiches;
}

void TEtatScan::Reinitialiser() {
    Vider();
    ReinitialiserBoiteEnglobante();
    Decalage = {};
    NivMax = 4;
}

#include "scan/UArkaluneGlb.h"

#include "scan/CoinsCubes.h"

#include <algorithm>

void TEtatScan::InstallerCubes(std::array<TNiveauCubes, NbNiveaux>&& niveaux,
                               std::vector<TCellule>&& cellules) {
    niveaux_ = std::move(niveaux);
    CellulesGrille = std::move(cellules);
    Grille.clear();
    for (std::uint32_t place : niveaux_[0].Enfants)
        Grille.push_back(&niveaux_[0].Cubes[place]);
    for (int n = 0; n < NbNiveaux; ++n) {
        std::vector<TCube>& cubes = niveaux_[n].Cubes;
        NbCubesNiv[n] = static_cast<std::int32_t>(cubes.size());
        PremierCubeNiv[n] = cubes.empty() ? nullptr : cubes.data();
    }
}

TCube* TEtatScan::CubeParent(const TCube* c) const {
    return c->NivCube == 0 ? nullptr : &niveaux_[c->NivCube - 1].Cubes[c->parent_];
}

TCube* TEtatScan::SvtNiv(const TCube* c) const {
    std::vector<TCube>& cubes = niveaux_[c->NivCube].Cubes;
    for (std::size_t n = Place(c) + 1; n < cubes.size(); ++n)
        if (!cubes[n].detruit_) return &cubes[n];
    return nullptr;
}

TV3S TEtatScan::CooOriCube(const TCube* c) const {
    if (c->NivCube == 0) {
        const TCellule& cellule = CellulesGrille[c->parent_];
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
    return c->NivCube >= NivMax ? 0 : niveaux_[c->NivCube].NbEnfants[Place(c)];
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
    const TNiveauCubes& niv = niveaux_[c->NivCube];
    const std::size_t n = Place(c);
    TNiveauCubes& enf = niveaux_[c->NivCube + 1];
    // Walk a copy: destroying a child shifts the list.
    std::uint32_t copie[125];
    const int nb = niv.NbEnfants[n];
    std::copy_n(enf.Enfants.begin() + niv.PremierEnfant[n], nb, copie);
    if (c->etatSP & EtatSupprime) {
        for (int q = nb - 1; q >= 0; --q)
            DetruireCube(&enf.Cubes[copie[q]]);
        return true;
    }
    bool resultat = true;
    for (int q = 0; q < nb; ++q) {
        TCube* enfant = &enf.Cubes[copie[q]];
        if (Compacter(enfant))
            DetruireCube(enfant);
        else
            resultat = false;
    }
    return resultat;
}

void TEtatScan::DetruireSousArbre(TCube* cube) {
    PourChaqueEnfant(cube, [this](TCube* enfant) { DetruireSousArbre(enfant); });
    if (cube->NivCube < NivMax) niveaux_[cube->NivCube].NbEnfants[Place(cube)] = 0;
    cube->detruit_ = true;
    if (PremierCubeNiv[cube->NivCube] == cube) PremierCubeNiv[cube->NivCube] = SvtNiv(cube);
    NbCubesNiv[cube->NivCube] -= 1;
}

void TEtatScan::DetruireCube(TCube* cube) {
    if (TCube* parent = CubeParent(cube)) {
        const TNiveauCubes& niv = niveaux_[parent->NivCube];
        const std::size_t p = Place(parent);
        std::vector<std::uint32_t>& liste = niveaux_[cube->NivCube].Enfants;
        const auto debut = liste.begin() + niv.PremierEnfant[p];
        const auto fin = debut + niv.NbEnfants[p];
        const auto place = std::find(debut, fin, std::uint32_t(Place(cube)));
        std::copy(place + 1, fin, place);
        niveaux_[parent->NivCube].NbEnfants[p] -= 1;
    } else {
        Grille[cube->parent_] = nullptr;
    }
    DetruireSousArbre(cube);
}

void TEtatScan::ChoisirNivAffiche(int niveau) {
    NivAffiche = niveau;
    CubesAffiches.clear();
    CubesAffiches.reserve(std::size_t(NbCubesNiv[niveau]));
    PourChaqueCubeDuNiveau(niveau, [this](TCube* c) { CubesAffiches.push_back(c); });
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
    Grille.clear();
    Grille.shrink_to_fit();
    CellulesGrille.clear();
    CellulesGrille.shrink_to_fit();
    DimGrille = {};
    PremierCubeNiv = {};
    NbCubesNiv = {};
    NbPoints = 0;
    CubesAffiches.clear();
    CubesAffiches.shrink_to_fit();
}

void TEtatScan::Reinitialiser() {
    Vider();
    ReinitialiserBoiteEnglobante();
    NivMax = 4;
}

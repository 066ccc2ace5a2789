#include "scan/UArkaluneGlb.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

int IndiceEnfant(float coo, float ori, double pas) {
    const double q = (double(coo) - double(ori)) / pas;
    // A point on the upper face goes into the last slice; the test also keeps NaN out.
    if (!(q < 4.0)) return 4;
    if (!(q > 0.0)) return 0;
    return static_cast<int>(q);
}

std::uint8_t MoyenneGlissante(std::uint8_t ancien, std::int32_t nb, std::uint8_t nouveau) {
    // (ancien*nb - nouveau) div (nb - 1), nb negative: the running mean rounded down.
    return static_cast<std::uint8_t>((std::int64_t(ancien) * nb - nouveau) /
                                     (std::int64_t(nb) - 1));
}

} // namespace

int TCube::RangDuSlot(int slot) const {
    if (slot < 64) return std::popcount(occupes_[0] & ((std::uint64_t(1) << slot) - 1));
    return std::popcount(occupes_[0]) +
           std::popcount(occupes_[1] & ((std::uint64_t(1) << (slot - 64)) - 1));
}

TCube* TCube::Enfant(int slot) const {
    return SlotOccupe(slot) ? enfants_[RangDuSlot(slot)] : nullptr;
}

void TCube::EnregistrerUnPoint(TEtatScan& scan, float x, float y, float z, const TV4By& couleur) {
    TCube* c = this;
    while (c->possedeEnfants_) {
        const double pas = TailleNiv[c->NivCube + 1];
        const int i = IndiceEnfant(x, c->CooOriCube.X, pas);
        const int j = IndiceEnfant(y, c->CooOriCube.Y, pas);
        const int k = IndiceEnfant(z, c->CooOriCube.Z, pas);
        const int slot = i * 25 + j * 5 + k;
        TCube* enfant = c->Enfant(slot);
        if (!enfant) {
            const TV3S coin{static_cast<float>(double(c->CooOriCube.X) + i * pas),
                            static_cast<float>(double(c->CooOriCube.Y) + j * pas),
                            static_cast<float>(double(c->CooOriCube.Z) + k * pas)};
            enfant = scan.CreerCube(c, static_cast<std::uint8_t>(slot + 1),
                                    static_cast<std::uint8_t>(c->NivCube + 1), coin);
        }
        c = enfant;
    }
    if (c->nbptscube == 0) {
        c->ColCube = couleur;
        c->CooMoyPts = {x, y, z};
        c->nbptscube = -1;
        return;
    }
    for (int n = 0; n < 4; ++n)
        c->ColCube[n] = MoyenneGlissante(c->ColCube[n], c->nbptscube, couleur[n]);
    c->nbptscube -= 1;
    c->CooMoyPts = AddV3S(c->CooMoyPts, {x, y, z});
}

void TCube::CalculerLesMoyennes(TV3S& sommeCoo, std::array<std::int64_t, 4>& sommeCouleurs,
                                std::int32_t& nbPoints) {
    if (possedeEnfants_) {
        nbptscube = 0;
        TV3S somme{};
        std::array<std::int64_t, 4> couleurs{};
        // The children lie anywhere in memory: ask for all of them before visiting the first.
        PourChaqueEnfant([](TCube* enfant) { __builtin_prefetch(enfant); });
        PourChaqueEnfant([&](TCube* enfant) {
            TV3S s;
            std::array<std::int64_t, 4> cs;
            std::int32_t n;
            enfant->CalculerLesMoyennes(s, cs, n);
            somme = AddV3S(somme, s);
            for (int q = 0; q < 4; ++q)
                couleurs[q] += cs[q];
            nbptscube += n;
        });
        if (nbptscube != 0) {
            const double n = nbptscube;
            CooMoyPts = {static_cast<float>(somme.X / n), static_cast<float>(somme.Y / n),
                         static_cast<float>(somme.Z / n)};
            for (int q = 0; q < 4; ++q)
                ColCube[q] = static_cast<std::uint8_t>(couleurs[q] / nbptscube);
        }
        sommeCoo = somme;
        sommeCouleurs = couleurs;
        nbPoints = nbptscube;
        return;
    }
    if (nbptscube < 0) {
        nbptscube = -nbptscube;
        sommeCoo = CooMoyPts;
        if (nbptscube > 1) {
            const double n = nbptscube;
            CooMoyPts = {static_cast<float>(CooMoyPts.X / n), static_cast<float>(CooMoyPts.Y / n),
                         static_cast<float>(CooMoyPts.Z / n)};
        }
    } else {
        const double n = nbptscube;
        sommeCoo = {static_cast<float>(CooMoyPts.X * n), static_cast<float>(CooMoyPts.Y * n),
                    static_cast<float>(CooMoyPts.Z * n)};
    }
    for (int q = 0; q < 4; ++q)
        sommeCouleurs[q] = std::int64_t(ColCube[q]) * nbptscube;
    nbPoints = nbptscube;
}

void TCube::MarquerSupprime(bool supp) {
    if (supp)
        etatSP |= EtatSupprime;
    else
        etatSP &= static_cast<std::uint8_t>(~(EtatSelectionne | EtatMasque | EtatSupprime));
    PourChaqueEnfant([supp](TCube* enfant) { enfant->MarquerSupprime(supp); });
}

bool TCube::Compacter(TEtatScan& scan) {
    if (!possedeEnfants_) return (etatSP & EtatSupprime) != 0;
    if (etatSP & EtatSupprime) {
        while (nbEnfants_ > 0)
            scan.DetruireCube(enfants_[nbEnfants_ - 1]);
        return true;
    }
    bool resultat = true;
    // Walk a copy: destroying a child shifts the array.
    TCube* copie[125];
    const int n = nbEnfants_;
    std::memcpy(copie, enfants_, sizeof(TCube*) * std::size_t(n));
    for (int q = 0; q < n; ++q) {
        if (copie[q]->Compacter(scan))
            scan.DetruireCube(copie[q]);
        else
            resultat = false;
    }
    return resultat;
}

void TEtatScan::AjouterEnfant(TCube* parent, int slot, TCube* enfant) {
    const int rang = parent->RangDuSlot(slot);
    if (parent->nbEnfants_ == parent->capacite_) {
        int capacite = parent->capacite_ == 0 ? 1 : parent->capacite_ * 2;
        TCube** nouveau = reserve_.NouveauTableau(capacite);
        if (parent->nbEnfants_ > 0) {
            std::memcpy(nouveau, parent->enfants_, sizeof(TCube*) * parent->nbEnfants_);
            reserve_.RendreTableau(parent->enfants_, parent->capacite_);
        }
        parent->enfants_ = nouveau;
        parent->capacite_ = static_cast<std::uint8_t>(capacite);
    }
    std::memmove(parent->enfants_ + rang + 1, parent->enfants_ + rang,
                 sizeof(TCube*) * std::size_t(parent->nbEnfants_ - rang));
    parent->enfants_[rang] = enfant;
    parent->nbEnfants_ += 1;
    parent->occupes_[slot >> 6] |= std::uint64_t(1) << (slot & 63);
}

void TEtatScan::RetirerEnfant(TCube* parent, int slot) {
    if (!parent->SlotOccupe(slot)) return;
    const int rang = parent->RangDuSlot(slot);
    std::memmove(parent->enfants_ + rang, parent->enfants_ + rang + 1,
                 sizeof(TCube*) * std::size_t(parent->nbEnfants_ - rang - 1));
    parent->nbEnfants_ -= 1;
    parent->occupes_[slot >> 6] &= ~(std::uint64_t(1) << (slot & 63));
}

TCube* TEtatScan::CreerCube(TCube* parent, std::uint8_t index1, std::uint8_t niveau,
                            const TV3S& coOri) {
    TCube* c = reserve_.NouveauCube();
    c->NivCube = niveau;
    c->CubeParent = parent;
    c->indexParent = index1;
    c->CooOriCube = coOri;
    c->possedeEnfants_ = niveau < NivMax;
    c->SvtNiv = PremierCubeNiv[niveau];
    if (c->SvtNiv) c->SvtNiv->precNiv_ = c;
    PremierCubeNiv[niveau] = c;
    NbCubesNiv[niveau] += 1;
    if (parent) AjouterEnfant(parent, index1 - 1, c);
    return c;
}

void TEtatScan::DetruireSousArbre(TCube* cube) {
    cube->PourChaqueEnfant([this](TCube* enfant) { DetruireSousArbre(enfant); });
    if (cube->enfants_) reserve_.RendreTableau(cube->enfants_, cube->capacite_);
    if (cube->precNiv_)
        cube->precNiv_->SvtNiv = cube->SvtNiv;
    else
        PremierCubeNiv[cube->NivCube] = cube->SvtNiv;
    if (cube->SvtNiv) cube->SvtNiv->precNiv_ = cube->precNiv_;
    NbCubesNiv[cube->NivCube] -= 1;
    reserve_.RendreCube(cube);
}

void TEtatScan::DetruireCube(TCube* cube) {
    if (cube->CubeParent) RetirerEnfant(cube->CubeParent, cube->indexParent - 1);
    DetruireSousArbre(cube);
}

void TEtatScan::AllouerGrille() {
    Grille.assign(std::size_t(DimGrille[0]) * std::size_t(DimGrille[1]) * std::size_t(DimGrille[2]),
                  nullptr);
}

void TEtatScan::ChoisirNivAffiche(int niveau) {
    NivAffiche = niveau;
    ++VersionAffiches;
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
    // Every cube lives in the reserve: releasing it destroys them all at once.
    reserve_.ToutLiberer();
    Grille.clear();
    Grille.shrink_to_fit();
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
    std::swap(Grille, autre.Grille);
    std::swap(reserve_, autre.reserve_);
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

// The "Sélection" menu, the displayed level, the compaction and "Propriétés".

#include "shell/TEspaceTravail.h"
#include "util/Format.h"
#include "util/Progression.h"

#include <algorithm>

namespace {
constexpr std::uint8_t SansSelection = static_cast<std::uint8_t>(~EtatSelectionne);
}

void TEspaceTravail::FixerNiveauAffiche(int niveau) {
    niveau = std::clamp(niveau, 0, Scan.NivMax);
    Scan.ChoisirNivAffiche(niveau);
    RetracerPoints();
}

void TEspaceTravail::Deselectionner() {
    for (TCube* c : Scan.CubesAffiches)
        c->etatSP &= SansSelection;
    RetracerPoints();
}

void TEspaceTravail::MasquerSelection() {
    for (TCube* c : Scan.CubesAffiches)
        if (c->etatSP & EtatSelectionne) c->etatSP = (c->etatSP & SansSelection) | EtatMasque;
    RetracerPoints();
}

void TEspaceTravail::Demasquer() {
    for (TCube* c : Scan.CubesAffiches)
        if (!(c->etatSP & EtatSupprime)) c->etatSP &= static_cast<std::uint8_t>(~EtatMasque);
    RetracerPoints();
}

void TEspaceTravail::InverserMasque() {
    for (TCube* c : Scan.CubesAffiches)
        c->etatSP = (c->etatSP & SansSelection) ^ EtatMasque;
    RetracerPoints();
}

void TEspaceTravail::SupprimerSelection() {
    for (TCube* c : Scan.CubesAffiches)
        if (c->etatSP & EtatSelectionne) c->MarquerSupprime(true);
    Scan.ScanModifie = true;
    RetracerPoints();
}

void TEspaceTravail::SupprimerPointsMasques() {
    for (TCube* c : Scan.CubesAffiches)
        if (c->etatSP & EtatMasque) c->MarquerSupprime(true);
    Scan.ScanModifie = true;
    RetracerPoints();
}

void TEspaceTravail::AnnulerSuppressions() {
    for (TCube* c : Scan.Grille)
        if (c) c->MarquerSupprime(false);
    Scan.ScanModifie = false;
    RetracerPoints();
}

void TEspaceTravail::CompacterScan() {
    if (!Scan.ScanModifie) return;
    CurseurAttente();
    try {
        const std::size_t nbCellules = Scan.Grille.size();
        TProgression progression =
            TProgression::Pourcentage([this](const std::string& t) { AffiInfo(1, t); },
                                      "compactage ", std::int64_t(nbCellules));
        for (std::size_t n = 0; n < nbCellules; ++n) {
            progression.Avancer(std::int64_t(n + 1));
            TCube*& cellule = Scan.Grille[n];
            if (cellule && cellule->Compacter(Scan)) {
                TCube* c = cellule;
                cellule = nullptr;
                Scan.DetruireCube(c);
            }
        }
    } catch (...) {
        // What was compacted stays so; the displayed list must only name cubes that still exist.
        FinCurseurAttente();
        Scan.ChoisirNivAffiche(Scan.NivAffiche);
        RetracerTout();
        throw;
    }
    FinCurseurAttente();
    CalculerEncombrement();
    Scan.ChoisirNivAffiche(Scan.NivAffiche);
    RetracerTout();
    OrienterVue(1);
}

std::string TEspaceTravail::Proprietes() const {
    std::string t =
        Formater("Définition du scan : %.1f mm\r\n", double(TailleNiv[Scan.NivMax]) * 1000);
    t += "Nombre de points : " + std::to_string(Scan.NbPoints) + "\r\n";
    t += "Nombre de cubes : " + std::to_string(Scan.NbCubesTotal()) + "\r\n";
    for (int n = 0; n < NbNiveaux; ++n)
        t += std::string("  - ") + ItemsNivAff[n] + " : " + std::to_string(Scan.NbCubesNiv[n]) +
             "\r\n";
    t += "Dimensions :\r\n";
    t += Formater(" - sur X : %.3f < %.3f\r\n - sur Y : %.3f < %.3f\r\n - sur Z : %.3f < %.3f",
                  double(Scan.CooMin.X), double(Scan.CooMax.X), double(Scan.CooMin.Y),
                  double(Scan.CooMax.Y), double(Scan.CooMin.Z), double(Scan.CooMax.Z));
    return t;
}

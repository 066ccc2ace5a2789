#include "scan/EditionPoints.h"

#include "scan/Decalage.h"
#include "scan/Encombrement.h"
#include "util/Format.h"

#include <algorithm>

namespace {
constexpr std::uint8_t SansSelection = static_cast<std::uint8_t>(~EtatSelectionne);
}

void FixerNiveauAffiche(TEtatScan& scan, int niveau) {
    scan.ChoisirNivAffiche(std::clamp(niveau, 0, scan.NivMax));
}

void Deselectionner(TEtatScan& scan) {
    for (TCube* c : scan.CubesAffiches)
        c->etatSP &= SansSelection;
}

void MasquerSelection(TEtatScan& scan) {
    for (TCube* c : scan.CubesAffiches)
        if (c->etatSP & EtatSelectionne) c->etatSP = (c->etatSP & SansSelection) | EtatMasque;
}

void Demasquer(TEtatScan& scan) {
    for (TCube* c : scan.CubesAffiches)
        if (!(c->etatSP & EtatSupprime)) c->etatSP &= static_cast<std::uint8_t>(~EtatMasque);
}

void InverserMasque(TEtatScan& scan) {
    for (TCube* c : scan.CubesAffiches)
        c->etatSP = (c->etatSP & SansSelection) ^ EtatMasque;
}

void SupprimerAffiches(TEtatScan& scan, std::uint8_t etat) {
    for (TCube* c : scan.CubesAffiches)
        if (c->etatSP & etat) scan.MarquerSupprime(c, true);
    scan.ScanModifie = true;
}

void AnnulerSuppressions(TEtatScan& scan) {
    for (TCube* c : scan.Grille)
        if (c) scan.MarquerSupprime(c, false);
    scan.ScanModifie = scan.ModifieSansRetour;
}

void CompacterScan(TEtatScan& scan, const TSortieProgression& sortie) {
    try {
        const std::size_t nbCellules = scan.Grille.size();
        TProgression progression =
            TProgression::Pourcentage(sortie, "compactage ", std::int64_t(nbCellules));
        for (std::size_t n = 0; n < nbCellules; ++n) {
            progression.Avancer(std::int64_t(n + 1));
            TCube*& cellule = scan.Grille[n];
            if (cellule && scan.Compacter(cellule)) {
                TCube* c = cellule;
                cellule = nullptr;
                scan.DetruireCube(c);
                scan.ModifieSansRetour = true;
            }
        }
    } catch (...) {
        // What was compacted stays so; the displayed list must only name cubes that still exist.
        scan.ChoisirNivAffiche(scan.NivAffiche);
        AjusterEncombrement(scan);
        throw;
    }
    scan.ChoisirNivAffiche(scan.NivAffiche);
    AjusterEncombrement(scan);
}

std::string Proprietes(const TEtatScan& scan) {
    std::string t =
        Formater("Définition du scan : %.1f mm\r\n", double(TailleNiv[scan.NivMax]) * 1000);
    t += "Nombre de points : " + std::to_string(scan.NbPoints) + "\r\n";
    t += "Nombre de cubes : " + std::to_string(scan.NbCubesTotal()) + "\r\n";
    for (int n = 0; n < NbNiveaux; ++n)
        t += std::string("  - ") + ItemsNivAff[n] + " : " + std::to_string(scan.NbCubesNiv[n]) +
             "\r\n";
    t += "Dimensions :\r\n";
    t += Formater(" - sur X : %.3f < %.3f\r\n - sur Y : %.3f < %.3f\r\n - sur Z : %.3f < %.3f",
                  double(scan.CooMin.X), double(scan.CooMax.X), double(scan.CooMin.Y),
                  double(scan.CooMax.Y), double(scan.CooMin.Z), double(scan.CooMax.Z));
    if (EstDecale(scan.Decalage))
        t += "\r\nOrigine des coordonnées : " + TexteDecalage(scan.Decalage);
    return t;
}

#include "scan/EditionPoints.h"

#include "scan/Decalage.h"
#include "scan/Encombrement.h"
#include "scan/PasEntretien.h"
#include "util/Format.h"

#include <algorithm>

namespace {
constexpr std::uint8_t SansSelection = static_cast<std::uint8_t>(~EtatSelectionne);
}

void FixerNiveauAffiche(TEtatScan& scan, int niveau, const std::function<void()>& entretenir) {
    scan.ChoisirNivAffiche(std::clamp(niveau, 0, scan.NivMax), entretenir);
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

void SupprimerAffiches(TEtatScan& scan, std::uint8_t etat,
                       const std::function<void()>& entretenir) {
    std::size_t vus = 0;
    for (TCube* c : scan.CubesAffiches) {
        if (c->etatSP & etat) scan.MarquerSupprime(c, true);
        if (++vus % PasEntretien == 0 && entretenir) entretenir();
    }
    ++scan.VersionAffiches;
    scan.ScanModifie = true;
}

void AnnulerSuppressions(TEtatScan& scan) {
    for (TCube* c : scan.Grille)
        if (c) scan.MarquerSupprime(c, false);
    ++scan.VersionAffiches;
    scan.ScanModifie = scan.ModifieSansRetour;
}

namespace {

// A level-0 cube to compact, and how many cubes its subtree holds: the destruction's progress
// follows them.
struct TCelluleACompacter {
    std::size_t Place;
    std::int64_t NbCubes;
};

// Counts the cubes of a subtree into `nbCubes`; true when one of them is deleted.
bool TientUnSupprime(const TEtatScan& scan, const TCube* c, std::int64_t& nbCubes,
                     TProgression& progression, std::int64_t& vus) {
    ++nbCubes;
    if ((++vus & 255) == 0) progression.Avancer(vus);
    bool supprime = (c->etatSP & EtatSupprime) != 0;
    scan.PourChaqueEnfant(c, [&](const TCube* enfant) {
        supprime = TientUnSupprime(scan, enfant, nbCubes, progression, vus) || supprime;
    });
    return supprime;
}

// The search: every cube visited, nothing changed.
std::vector<TCelluleACompacter> CellulesACompacter(const TEtatScan& scan,
                                                   const TSortieProgression& sortie) {
    TProgression progression =
        TProgression::Pourcentage(sortie, "compactage : recherche ", scan.NbCubesTotal());
    std::vector<TCelluleACompacter> cellules;
    std::int64_t vus = 0;
    for (std::size_t n = 0; n < scan.Grille.size(); ++n) {
        std::int64_t nbCubes = 0;
        if (scan.Grille[n] && TientUnSupprime(scan, scan.Grille[n], nbCubes, progression, vus))
            cellules.push_back({n, nbCubes});
    }
    progression.Avancer(vus);
    return cellules;
}

// The displayed list and the box follow the cubes that remain, each stage with its percentage:
// the box goes through every cube of the finest level, the longest stage of a compaction. Both
// call `entretenir` after each PasEntretien cubes.
void SuivreLesCubesRestants(TEtatScan& scan, const TSortieProgression& sortie) {
    const auto etape = [&](const char* nom, int niveau, const auto& travail) {
        const std::int64_t total = scan.NbCubesNiv[std::size_t(niveau)];
        TProgression progression =
            TProgression::Pourcentage(sortie, std::string("compactage : ") + nom + " ", total);
        std::int64_t vus = 0;
        travail([&] {
            progression.Avancer(vus += std::int64_t(PasEntretien));
            progression.Entretenir();
        });
        progression.Avancer(total);
    };
    etape("liste des cubes affichés", scan.NivAffiche,
          [&](const auto& entretenir) { scan.ChoisirNivAffiche(scan.NivAffiche, entretenir); });
    etape("boîte englobante", scan.NivMax,
          [&](const auto& entretenir) { AjusterEncombrement(scan, entretenir); });
}

} // namespace

void CompacterScan(TEtatScan& scan, const TSortieProgression& sortie,
                   const TSortieProgression& sortieDefinitive) {
    const std::vector<TCelluleACompacter> cellules = CellulesACompacter(scan, sortie);
    if (cellules.empty()) return;
    std::int64_t total = 0;
    for (const TCelluleACompacter& c : cellules)
        total += c.NbCubes;
    const TSortieProgression definitive = [&](const std::string& texte) {
        if (sortieDefinitive) sortieDefinitive(texte + SuffixeDefinitif);
    };
    TProgression progression = TProgression::Pourcentage(definitive, "compactage ", total);
    std::int64_t faits = 0;
    try {
        for (const TCelluleACompacter& c : cellules) {
            TCube*& cellule = scan.Grille[c.Place];
            if (scan.Compacter(cellule)) {
                TCube* cube = cellule;
                cellule = nullptr;
                scan.DetruireCube(cube);
            }
            scan.ModifieSansRetour = true;
            progression.Avancer(faits += c.NbCubes);
            progression.Entretenir();
        }
    } catch (...) {
        SuivreLesCubesRestants(scan, definitive);
        throw;
    }
    SuivreLesCubesRestants(scan, definitive);
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
    // In the survey's own coordinates, as the user knows them.
    const TV3R mini = CoordonneesDuLeve(scan.CooMin, scan.Decalage);
    const TV3R maxi = CoordonneesDuLeve(scan.CooMax, scan.Decalage);
    t += Formater(" - sur X : %.3f < %.3f\r\n - sur Y : %.3f < %.3f\r\n - sur Z : %.3f < %.3f",
                  mini.X, maxi.X, mini.Y, maxi.Y, mini.Z, maxi.Z);
    if (EstDecale(scan.Decalage))
        t += "\r\nOrigine des coordonnées : " + TexteDecalage(scan.Decalage);
    return t;
}

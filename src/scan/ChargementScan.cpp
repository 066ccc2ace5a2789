// Loading a scan: the reader chosen by the extension, then the grid and its means.

#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Progression.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

bool TEspaceTravail::ChargerScan(const std::string& chemin) {
    FixerTitre(chemin);
    OngletActif = 0;
    ScanPret = false;
    CurseurAttente();
    const fs::path p(chemin);
    PFsansext = (p.parent_path() / p.stem()).string();
    DernierScan = p.parent_path().string();
    Scan.ReinitialiserBoiteEnglobante();
    Scan.NivMax = 4;
    ReinitialiserTravail();
    // The scan that had deletions pending has been dropped (saved or not): the new one has none.
    Scan.ScanModifie = false;

    int niveauAffiche = 2;
    std::string bilan;
    bool reussi = true;
    try {
        reussi = ChargerScanSansReprise(chemin, niveauAffiche, bilan);
    } catch (const std::exception& e) {
        reussi = false;
        Plateforme.AfficherMessage(e.what());
        ReinitialiserTravail();
        Scan.ReinitialiserBoiteEnglobante();
        Scan.NivMax = 4;
        niveauAffiche = 2;
    }
    TerminerChargement(niveauAffiche);
    if (!bilan.empty()) Plateforme.AfficherStatut(1, bilan);
    return reussi;
}

void TEspaceTravail::TerminerChargement(int niveauAffiche) {
    TV3S somme;
    std::array<std::int64_t, 4> couleurs;
    std::int32_t n;
    for (TCube* c : Scan.Grille)
        if (c) c->CalculerLesMoyennes(somme, couleurs, n);
    FixerNiveauAffiche(niveauAffiche);
    ScanPret = true;
    OrienterVue(1);
    FinCurseurAttente();
    RetracerTout();
}

bool TEspaceTravail::ChargerScanSansReprise(const std::string& chemin, int& niveauAffiche,
                                            std::string& bilan) {
    const std::string ext = MajusculesAscii(fs::path(chemin).extension().string());
    if (ext == ".XYZ") {
        const std::int64_t ignorees = ImporterXYZ(chemin);
        niveauAffiche = 2;
        Etude.RecModl.Q1a4 = 0;
        if (ignorees > 0)
            bilan = std::to_string(ignorees) +
                    (ignorees > 1 ? " lignes ignorées (ce ne sont pas des points X Y Z)"
                                  : " ligne ignorée (ce n'est pas un point X Y Z)");
    } else if (ext == ".XYB") {
        Plateforme.AfficherMessage("non supporté");
        return false;
    } else if (ext == ".ARKL") {
        const std::int64_t ignores = LireArkl(chemin, niveauAffiche);
        if (ignores > 0)
            bilan = std::to_string(ignores) + (ignores > 1
                                                   ? " points hors de la boîte englobante ignorés"
                                                   : " point hors de la boîte englobante ignoré");
    } else {
        throw EErreur("type de fichier non reconnu (extension .arkl ou .xyz attendue) : « " +
                      chemin + " »");
    }
    return true;
}

std::int64_t TEspaceTravail::ConstruireGrille(const TLireLot& lireLot) {
    CalculerEncombrement();
    Scan.AllouerGrille();
    TProgression progression = TProgression::ParPas(
        [this](const std::string& t) { AffiInfo(1, t); }, "construction : ", Scan.NbPoints / 100);
    std::vector<TPointScan> lot(std::size_t(std::min<std::int64_t>(Scan.NbPoints, RecordsParLot)));
    std::int64_t i = 0;
    std::int64_t horsGrille = 0;
    const std::int64_t total = Scan.NbPoints;
    while (i < total) {
        const std::size_t n =
            lireLot(lot.data(), std::size_t(std::min<std::int64_t>(total - i, RecordsParLot)));
        for (std::size_t q = 0; q < n; ++q) {
            ++i;
            const TPointScan& pt = lot[q];
            const double cx = std::floor(double(pt.X)) - Scan.OrigGrille[0];
            const double cy = std::floor(double(pt.Y)) - Scan.OrigGrille[1];
            const double cz = std::floor(double(pt.Z)) - Scan.OrigGrille[2];
            if (!(cx >= 0 && cx < Scan.DimGrille[0] && cy >= 0 && cy < Scan.DimGrille[1] &&
                  cz >= 0 && cz < Scan.DimGrille[2])) {
                ++horsGrille;
            } else {
                const int ix = int(cx), iy = int(cy), iz = int(cz);
                TCube*& cellule = Scan.Grille[Scan.IndiceCellule(ix, iy, iz)];
                if (!cellule)
                    cellule = Scan.CreerCube(nullptr, 0, 0,
                                             {float(Scan.OrigGrille[0] + ix),
                                              float(Scan.OrigGrille[1] + iy),
                                              float(Scan.OrigGrille[2] + iz)});
                try {
                    cellule->EnregistrerUnPoint(Scan, pt.X, pt.Y, pt.Z, pt.Couleur);
                } catch (const std::exception& e) {
                    throw EErreur(std::string("erreur enregistrement de point : ") + e.what());
                }
            }
            progression.Avancer(i);
        }
        if (n == 0) break;
    }
    return horsGrille;
}

#include "ChargementFuzz.h"

#include "support/PlateformeScriptee.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class TDossierPrive {
public:
    TDossierPrive() {
        std::string modele = (fs::temp_directory_path() / "arkalune-fuzz-XXXXXX").string();
        if (!::mkdtemp(modele.data())) std::abort();
        dossier_ = modele;
    }
    ~TDossierPrive() {
        std::error_code ec;
        fs::remove_all(dossier_, ec);
    }
    const fs::path& Dossier() const { return dossier_; }

private:
    fs::path dossier_;
};

void Verifier(bool condition, const char* quoi) {
    if (condition) return;
    std::fprintf(stderr, "incohérence après le chargement : %s\n", quoi);
    std::abort();
}

// The chains, their counts and the grid agree; a failed load leaves nothing.
void VerifierScan(const TEspaceTravail& t, bool charge) {
    const TEtatScan& s = t.Scan;
    Verifier(t.ScanPret, "ScanPret");
    for (int n = 0; n < NbNiveaux; ++n) {
        std::int64_t longueur = 0;
        s.PourChaqueCubeDuNiveau(n, [&](const TCube* c) {
            Verifier(c->NivCube == n, "niveau d'un cube");
            Verifier(c->nbptscube > 0, "cube sans point");
            ++longueur;
        });
        Verifier(longueur == s.NbCubesNiv[std::size_t(n)], "longueur d'une chaîne");
        Verifier(n <= s.NivMax || longueur == 0, "cube sous le niveau le plus fin");
    }
    std::int64_t cellules = 0;
    for (const TCube* c : s.Grille) cellules += c != nullptr;
    Verifier(cellules == s.NbCubesNiv[0], "cellules de la grille");
    Verifier(s.CubesAffiches.size() == std::size_t(s.NbCubesNiv[std::size_t(s.NivAffiche)]),
             "cubes affichés");
    if (!charge) Verifier(s.NbCubesTotal() == 0 && s.Grille.empty(), "scan non vidé après échec");
}

} // namespace

void ChargerOctets(const char* extension, const std::uint8_t* donnees, std::size_t taille) {
    static TDossierPrive prive;
    const std::string chemin = (prive.Dossier() / (std::string("scan") + extension)).string();
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f) std::abort();
    if (taille > 0 && std::fwrite(donnees, 1, taille, f) != taille) std::abort();
    std::fclose(f);

    TBancEssai banc;
    const bool charge = banc.Travail.ChargerScan(chemin);
    VerifierScan(banc.Travail, charge);

    fs::remove(chemin);
    Verifier(fs::is_empty(prive.Dossier()), "fichier temporaire laissé sur le disque");
}

#include "EcritureVoute.h"

#include "EcritureReleves.h"
#include "EcritureVouteE57.h"
#include "PlateformeConsole.h"
#include "scan/Decalage.h"
#include "scan/FormatXYZ.h"
#include "scan/LectureE57.h"
#include "shell/EspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void EcrireXYZ(const TParametresVoute& parametres, const std::string& chemin) {
    TFichierTemporaire fichier(chemin);
    std::string texte;
    PointsDuReleve(parametres, [&](const TV3R& p, const TV4By& couleur) {
        AjouterLigneXYZ(texte, p, couleur);
        if (texte.size() >= (std::size_t(1) << 20)) {
            fichier.Ecrire(texte.data(), texte.size());
            texte.clear();
        }
    });
    fichier.Ecrire(texte.data(), texte.size());
    fichier.Valider();
}

// The XYZ text the binary file is made from, removed whatever happens.
struct TTexteIntermediaire {
    std::string Chemin;
    ~TTexteIntermediaire() {
        std::error_code ec;
        fs::remove(Chemin, ec);
    }
};

void EcrireArkl(const TParametresVoute& parametres, const std::string& chemin) {
    const fs::path cible(chemin);
    const std::string sansExtension = (cible.parent_path() / cible.stem()).string();
    TTexteIntermediaire texte{sansExtension + ".generation-" + std::to_string(::getpid()) + ".xyz"};
    EcrireXYZ(parametres, texte.Chemin);
    TPlateformeConsole plateforme;
    TEspaceTravail travail(plateforme);
    if (!travail.ChargerScan(texte.Chemin))
        throw EErreur("la voûte générée n'a pas pu être chargée");
    travail.PFsansext = sansExtension;
    travail.ExtScan = cible.extension().string();
    travail.EnregistrerScan(FormatArkl(), travail.Scan.NivMax);
}

} // namespace

void EcrireVoute(const TParametresVoute& parametres, const std::string& chemin,
                 const TOptionsE57& e57) {
    const TFormatScan* format = FormatSelonExtension(chemin);
    if (format == &FormatXYZ())
        EcrireXYZ(parametres, chemin);
    else if (format == &FormatArkl())
        EcrireArkl(parametres, chemin);
    else if (format && format->Lecteur == &LireE57)
        EcrireVouteE57(parametres, chemin, e57);
    else if (const TEcrireReleve releve = EcrivainReleve(chemin))
        releve(parametres, chemin);
    else
        throw EErreur(
            "extension .xyz, .arkl, .csv, .txt, .pts, .ptx, .ply, .las ou .e57 attendue pour « " +
            chemin + " »");
}

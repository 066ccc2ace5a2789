#include "EcritureVoute.h"

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
    GenererVoute(parametres, [&](const TPointGenere& p) {
        AjouterLigneXYZ(texte, CoordonneesLevees(p.P), p.Couleur);
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

// A coordinate as a survey gives it: below the bound of the program's shift, the 32-bit value
// the program keeps for it (the files of local frames stay the same, byte for byte); beyond, in
// full, as a survey in a national grid has it.
TV3R CoordonneesLevees(const TV3R& p) {
    TV3R r;
    for (int a = 0; a < 3; ++a)
        r[a] = std::fabs(p[a]) < SeuilDecalage ? double(static_cast<float>(p[a])) : p[a];
    return r;
}

void EcrireVoute(const TParametresVoute& parametres, const std::string& chemin,
                 const TOptionsE57& e57) {
    const TFormatScan* format = FormatSelonExtension(chemin);
    if (format == &FormatXYZ())
        EcrireXYZ(parametres, chemin);
    else if (format == &FormatArkl())
        EcrireArkl(parametres, chemin);
    else if (format && format->Lecteur == &LireE57)
        EcrireVouteE57(parametres, chemin, e57);
    else
        throw EErreur("extension .xyz, .arkl ou .e57 attendue pour « " + chemin + " »");
}

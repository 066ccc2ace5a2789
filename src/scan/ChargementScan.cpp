#include "scan/ChargementScan.h"

#include "scan/Decalage.h"
#include "scan/ImportXYZ.h"
#include "scan/LectureArkl.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <filesystem>

namespace {

TScanLu LireSelonExtension(TEtatScan& scan, const std::string& chemin,
                           const TSortieProgression& sortie) {
    const std::string ext = MajusculesAscii(std::filesystem::path(chemin).extension().string());
    TScanLu lu;
    if (ext == ".XYZ") {
        const std::int64_t ignorees = ImporterXYZ(scan, chemin, sortie);
        lu.NbIgnores = ignorees;
        if (ignorees > 0)
            lu.Bilan = std::to_string(ignorees) +
                       (ignorees > 1 ? " lignes ignorées (ce ne sont pas des points X Y Z)"
                                     : " ligne ignorée (ce n'est pas un point X Y Z)");
    } else if (ext == ".XYB") {
        throw EFormatNonSupporte();
    } else if (ext == ".ARKL") {
        const TLectureArkl arkl = LireArkl(scan, chemin, sortie);
        lu.EnTete = arkl.EnTete;
        if (arkl.EnTete.Version >= 2)
            lu.NiveauAffiche = static_cast<int>(
                std::clamp<std::int64_t>(arkl.EnTete.NiveauAffiche, 0, NbNiveaux - 1));
        const std::int64_t ignores = arkl.HorsGrille;
        lu.NbIgnores = ignores;
        if (ignores > 0)
            lu.Bilan = std::to_string(ignores) +
                       (ignores > 1 ? " points hors de la boîte englobante ignorés"
                                    : " point hors de la boîte englobante ignoré");
    } else {
        throw EErreur("type de fichier non reconnu (extension .arkl ou .xyz attendue) : « " +
                      chemin + " »");
    }
    return lu;
}

} // namespace

TScanLu ChargerFichierScan(TEtatScan& scan, const std::string& chemin,
                           const TSortieProgression& sortie) {
    scan.Reinitialiser();
    try {
        TScanLu lu = LireSelonExtension(scan, chemin, sortie);
        if (EstDecale(scan.Decalage))
            lu.Bilan = "origine des coordonnées déplacée en " + TexteDecalage(scan.Decalage) +
                       (lu.Bilan.empty() ? "" : " ; " + lu.Bilan);
        return lu;
    } catch (...) {
        scan.Reinitialiser();
        throw;
    }
}

#include "scan/ChargementScan.h"

#include "scan/Decalage.h"
#include "scan/FormatsScan.h"
#include "scan/ImportPoints.h"
#include "scan/LectureArkl.h"
#include "scan/PointsEcartes.h"
#include "util/StringUtils.h"

#include <algorithm>

namespace {

TScanLu LireArklEtEnTete(TEtatScan& scan, const std::string& chemin,
                         const TSortieProgression& sortie) {
    TScanLu lu;
    const TLectureArkl arkl = LireArkl(scan, chemin, sortie);
    lu.EnTete = arkl.EnTete;
    if (arkl.EnTete.Version >= 2)
        lu.NiveauAffiche =
            static_cast<int>(std::clamp<std::int64_t>(arkl.EnTete.NiveauAffiche, 0, NbNiveaux - 1));
    const std::int64_t ignores = arkl.HorsGrille;
    if (ignores > 0)
        lu.Bilan =
            std::to_string(ignores) + (ignores > 1 ? " points hors de la boîte englobante ignorés"
                                                   : " point hors de la boîte englobante ignoré");
    return lu;
}

TScanLu LireSelonExtension(TEtatScan& scan, const std::string& chemin,
                           const TSortieProgression& sortie, const std::optional<TZonePlan>& zone) {
    const TFormatScan* format = FormatSelonExtension(chemin);
    if (format == nullptr)
        throw EErreur("type de fichier non reconnu (extensions lues : " + ExtensionsLues() +
                      ") : « " + chemin + " »");
    if (format->Lecteur == nullptr) {
        if (zone)
            throw EErreur("une zone se prend dans un relevé, pas dans un scan .arkl, déjà "
                          "découpé : « " +
                          chemin + " »");
        return LireArklEtEnTete(scan, chemin, sortie);
    }
    TScanLu lu;
    const TBilanLecture bilan = ImporterPoints(scan, chemin, format->Lecteur, sortie, zone);
    lu.Bilan = bilan.Texte;
    lu.NbIgnores = bilan.Ignores;
    lu.Reels32Bits = bilan.Reels32Bits;
    return lu;
}

} // namespace

TScanLu ChargerFichierScan(TEtatScan& scan, const std::string& chemin,
                           const TSortieProgression& sortie, const std::optional<TZonePlan>& zone) {
    scan.Reinitialiser();
    try {
        TScanLu lu = LireSelonExtension(scan, chemin, sortie, zone);
        // The shift of a local frame is the program's business; that of a national grid is
        // worth a word.
        if (DecalageNotable(scan.Decalage))
            lu.Bilan = "origine des coordonnées déplacée en " + TexteDecalage(scan.Decalage) +
                       (lu.Reels32Bits ? " ; " + TextePasReels32(scan.Decalage) : "") +
                       (lu.Bilan.empty() ? "" : " ; " + lu.Bilan);
        const std::string ecartes = TexteEcartes(CorpsDuLeve(scan));
        if (!ecartes.empty()) lu.Bilan += (lu.Bilan.empty() ? "" : " ; ") + ecartes;
        return lu;
    } catch (const EStopError&) {
        scan.Reinitialiser();
        throw;
    } catch (const EErreur& e) {
        scan.Reinitialiser();
        // Every refusal names the file, the grid's own ones too.
        const std::string message = e.what();
        if (message.find("« " + chemin + " »") != std::string::npos) throw;
        throw EErreur(message + " (fichier « " + chemin + " »)");
    } catch (...) {
        scan.Reinitialiser();
        throw;
    }
}

// The binary scan file reader: version word, header of that version, then the records.

#include "scan/FichierArkl.h"
#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <cmath>

std::int64_t TEspaceTravail::LireArkl(const std::string& chemin, int& niveauAffiche) {
    TFichierLecture fichier(chemin);
    std::int64_t motVersion = 0;
    fichier.LireExact(&motVersion, sizeof motVersion);
    const std::int32_t version = static_cast<std::int32_t>(motVersion);
    const std::size_t taille = TailleEnTete(version);
    if (taille == 0)
        throw EErreur("version de fichier inconnue (" + std::to_string(version) + ") : « " +
                      chemin + " »");
    std::array<std::byte, TailleEnTeteV3> octets{};
    fichier.LireExact(octets.data(), taille);
    const TEnTeteArkl e = DecoderEnTete(version, octets.data());
    const std::int32_t niveau = static_cast<std::int32_t>(e.NiveauPoints);
    const std::int32_t nb = static_cast<std::int32_t>(e.NbPoints);
    if (niveau < 0 || niveau >= NbNiveaux)
        throw EErreur("niveau des points invalide (" + std::to_string(niveau) + ") : « " + chemin +
                      " »");
    if (nb < 0 || std::uint64_t(nb) * sizeof(TPointScan) > fichier.Taille() - 8 - taille)
        throw EErreur("fichier tronqué : « " + chemin + " » annonce " + std::to_string(nb) +
                      " points");
    Scan.NivMax = niveau;
    Scan.NbPoints = nb;
    Scan.CooMin = e.CooMin;
    Scan.CooMax = e.CooMax;
    niveauAffiche = 2;
    if (version >= 2) {
        Etude.RecModl = e.RecModl;
        TaillePointsIndex = std::clamp(e.TaillePointsIndex, 0, 3);
        Champs.GEdLargeurAretier.EcrireValeurI(e.LargeurAretier);
        Champs.GEdNbArcsVoute.EcrireValeurI(e.NbArcsVoute);
        Champs.GEdMlinAretier.EcrireValeurI(e.MlinAretier);
        Champs.GEdMvolRemplissage.EcrireValeurI(e.MvolRemplissage);
        Champs.GEdMsurfVoute.EcrireValeurI(e.MsurfVoute);
        Champs.GEdNivRemplissage.EcrireValeurD(e.NivRemplissage);
        niveauAffiche = std::max(0, static_cast<std::int32_t>(e.NiveauAffiche));
        FixerCkBxEdFront(false);
    }
    if (version == 3) {
        Vue.AngRotZdeg = std::isfinite(e.AngRotZdeg) ? e.AngRotZdeg : 0.0;
        ActualiserRotZ();
    }
    if (nb == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    const std::int64_t horsGrille = ConstruireGrille([&](TPointScan* dest, std::size_t n) {
        fichier.LireExact(dest, n * sizeof(TPointScan));
        return n;
    });
    Scan.NbPoints -= static_cast<std::int32_t>(horsGrille);
    return horsGrille;
}

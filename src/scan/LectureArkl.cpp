// Version word, header of that version, then the records.

#include "scan/LectureArkl.h"

#include "scan/ConstructionGrille.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

TLectureArkl LireArkl(TEtatScan& scan, const std::string& chemin,
                      const TSortieProgression& sortie) {
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
    TLectureArkl lu{DecoderEnTete(version, octets.data())};
    const TEnTeteArkl& e = lu.EnTete;
    const std::int32_t niveau = static_cast<std::int32_t>(e.NiveauPoints);
    const std::int32_t nb = static_cast<std::int32_t>(e.NbPoints);
    if (niveau < 0 || niveau >= NbNiveaux)
        throw EErreur("niveau des points invalide (" + std::to_string(niveau) + ") : « " + chemin +
                      " »");
    if (nb < 0 || std::uint64_t(nb) * sizeof(TPointScan) > fichier.Taille() - 8 - taille)
        throw EErreur("fichier tronqué : « " + chemin + " » annonce " + std::to_string(nb) +
                      " points");
    if (nb == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    const TDimensionsGrille grille = DimensionnerGrille(e.CooMin, e.CooMax);

    scan.NivMax = niveau;
    scan.NbPoints = nb;
    scan.CooMin = e.CooMin;
    scan.CooMax = e.CooMax;
    lu.HorsGrille = ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture donnees(chemin);
            donnees.LireExact(octets.data(), sizeof motVersion);
            donnees.LireExact(octets.data(), taille);
            LireParLots(donnees, nb, recevoir);
        },
        sortie);
    scan.NbPoints -= static_cast<std::int32_t>(lu.HorsGrille);
    return lu;
}

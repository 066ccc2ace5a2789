// Version word, header of that version, then the records.

#include "scan/LectureArkl.h"

#include "scan/ConstructionGrille.h"
#include "scan/CubesArkl.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <cstdint>

TLectureArkl LireArkl(TEtatScan& scan, const std::string& chemin,
                      const TSortieProgression& sortie) {
    TFichierLecture fichier(chemin);
    // Every word of the header is checked at its full 64 bits before it is narrowed: 2^32 + 3
    // is not version 3.
    std::int64_t version = 0;
    fichier.LireExact(&version, sizeof version);
    const std::size_t taille = TailleEnTete(version);
    if (taille == 0)
        throw EErreur("version de fichier inconnue (" + std::to_string(version) + ") : « " +
                      chemin + " »");
    std::array<std::byte, TailleEnTeteMax> octets{};
    fichier.LireExact(octets.data(), taille);
    TLectureArkl lu{DecoderEnTete(static_cast<std::int32_t>(version), octets.data())};
    const TEnTeteArkl& e = lu.EnTete;
    if (e.NiveauPoints < 0 || e.NiveauPoints >= NbNiveaux)
        throw EErreur("niveau des points invalide (" + std::to_string(e.NiveauPoints) + ") : « " +
                      chemin + " »");
    if (e.NbPoints < 0 ||
        std::uint64_t(e.NbPoints) > (fichier.Taille() - 8 - taille) / sizeof(TPointScan))
        throw EErreur("fichier tronqué : « " + chemin + " » annonce " + std::to_string(e.NbPoints) +
                      " points");
    // A complete file may still hold more points than the grid can number.
    if (e.NbPoints > INT32_MAX)
        throw EErreur("trop de points dans le fichier « " + chemin + " » : " +
                      std::to_string(e.NbPoints) + " (au plus " + std::to_string(INT32_MAX) + ")");
    if (e.NbPoints == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
    for (const std::int64_t d : e.Decalage)
        if (d < -DecalageMax || d > DecalageMax)
            throw EErreur("décalage des coordonnées invalide (" + std::to_string(d) + " m) : « " +
                          chemin + " »");
    const std::int32_t niveau = static_cast<std::int32_t>(e.NiveauPoints);
    const std::int32_t nb = static_cast<std::int32_t>(e.NbPoints);
    const TDimensionsGrille grille = DimensionnerGrille(e.CooMin, e.CooMax);

    scan.NivMax = niveau;
    scan.NbPoints = nb;
    scan.CooMin = e.CooMin;
    scan.CooMax = e.CooMax;
    scan.Decalage = e.Decalage;
    if (e.AvecCubes) {
        TCubesArkl::Lire(scan, fichier, chemin, niveau, nb, 8 + taille, grille, sortie);
        return lu;
    }
    lu.HorsGrille = ConstruireGrille(
        scan, grille,
        [&](const TRecevoirLot& recevoir) {
            TFichierLecture donnees(chemin);
            donnees.LireExact(octets.data(), sizeof version);
            donnees.LireExact(octets.data(), taille);
            LireParLots(donnees, nb, recevoir);
        },
        sortie);
    scan.NbPoints -= static_cast<std::int32_t>(lu.HorsGrille);
    return lu;
}

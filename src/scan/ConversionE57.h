#pragma once
// From the decoded fields of an E57 scan to points in the file's frame: cartesian or spherical
// coordinates, the scan's pose, colours scaled to 0..255, records flagged invalid left out.

#include "scan/DescriptionE57.h"
#include "scan/PointsLus.h"
#include "scan/VecteurCompresseE57.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TConversionE57 {
public:
    // Chooses the fields to decode; refuses a scan without complete coordinates or whose
    // coordinates or colours are texts.
    explicit TConversionE57(const TScanE57& scan);

    // The fields to decode, by their place in the prototype.
    const std::vector<std::size_t>& ChampsUtiles() const { return utiles_; }
    // Cartesian coordinates stored as 32-bit reals in the file's frame: a scan placed by a
    // translation stores small ones, which keep their precision.
    bool CoordonneesReels32() const;
    // The `n` records just decoded as points, written to `points`; returns how many were kept
    // and adds the others to `ignores`.
    std::size_t Convertir(const TVecteurCompresseE57& valeurs, std::size_t n, TPointLu* points,
                          std::int64_t& ignores) const;

private:
    // Places in utiles_ of each role, -1 when the file has no such field.
    enum TRole { X, Y, Z, Rouge, Vert, Bleu, EtatInvalide, CouleurInvalide, NbRoles };
    int role_[NbRoles];
    bool spherique_ = false;
    std::vector<std::size_t> utiles_;
    const TScanE57& scan_;
    double rotation_[3][3];
    // Colour c = (v - mini) * 255 / etendue, per channel.
    double miniCouleur_[3] = {}, etendueCouleur_[3] = {};
};

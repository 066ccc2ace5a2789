#include "EcritureVouteE57.h"

#include "EcritureReleves.h"

#include <cmath>

namespace {

// The inverse of the pose: from the file's frame to the scan's.
TV3R VersScan(const TV3R& p, const std::array<double, 4>& q, const TV3R& t) {
    const auto [w, x, y, z] = q;
    const TV3R d{p.X - t.X, p.Y - t.Y, p.Z - t.Z};
    // Transposed rotation matrix of the unit quaternion.
    return {(1 - 2 * (y * y + z * z)) * d.X + 2 * (x * y + w * z) * d.Y + 2 * (x * z - w * y) * d.Z,
            2 * (x * y - w * z) * d.X + (1 - 2 * (x * x + z * z)) * d.Y + 2 * (y * z + w * x) * d.Z,
            2 * (x * z + w * y) * d.X + 2 * (y * z - w * x) * d.Y +
                (1 - 2 * (x * x + y * y)) * d.Z};
}

} // namespace

void EcrireVouteE57(const TParametresVoute& parametres, const std::string& chemin,
                    const TOptionsE57& options) {
    // The generator's two stations record half of the points each, on the bay's long axis; each
    // scan is turned about Z in its own way, as a scanner never stands square to the bay.
    const std::int64_t moitie = parametres.NbPoints / 2;
    std::vector<TScanE57Ecrit> scans(2);
    for (std::size_t s = 0; s < 2; ++s) {
        TScanE57Ecrit& scan = scans[s];
        scan.Codage = options.Codage;
        scan.Couleur = options.Couleur;
        scan.EtatInvalide = options.Invalides > 0;
        const double angle = s == 0 ? 0.6 : -2.1;
        scan.Rotation = {std::cos(angle / 2), 0, 0, std::sin(angle / 2)};
        const TV3R& o = parametres.Origine;
        scan.Translation = {o.X + parametres.PorteeX * double(s + 1) / 3,
                            o.Y + parametres.PorteeY / 2, o.Z - 4.4};
        const std::int64_t debut = s == 0 ? 0 : moitie;
        const std::int64_t fin = s == 0 ? moitie : parametres.NbPoints;
        scan.Points = [&parametres, &scan, debut, fin,
                       invalides = options.Invalides](const TDonnerPointE57& donner) {
            std::int64_t i = 0;
            PointsDuReleve(parametres, [&](const TV3R& coo, const TV4By& couleur) {
                if (i >= debut && i < fin) {
                    TPointE57 p;
                    p.P = VersScan(coo, scan.Rotation, scan.Translation);
                    p.Couleur = couleur;
                    donner(p);
                    if (invalides > 0 && (i - debut + 1) % invalides == 0) {
                        // What a scanner records for a beam that came back empty.
                        p.P = {0, 0, 0};
                        p.Invalide = true;
                        donner(p);
                    }
                }
                ++i;
            });
        };
    }
    EcrireE57(chemin, scans);
}

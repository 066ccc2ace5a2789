#include "ScanEssai.h"

#include "scan/ChargementScan.h"
#include "scan/ConstructionGrille.h"
#include "scan/EditionPoints.h"
#include "util/Format.h"

#include <algorithm>

std::string XYZGrille(int n, double x0, double y0) {
    std::string t;
    for (int k = 0; k < n; ++k) {
        const double x = x0 + 0.01 * (k % 300), y = y0 + 0.01 * (k / 300 % 200);
        t += Formater("%.3f %.3f %.3f %d %d %d\r\n", x, y, 40.0 + 0.001 * (k % 7), k % 256,
                      (k / 3) % 256, 128);
    }
    return t;
}

void TScanSeul::SetUp() {
    EcrireFichier(Dossier.Chemin("scan.xyz"), XYZGrille(3000));
    FixerNiveauAffiche(Scan,
                       ChargerFichierScan(Scan, Dossier.Chemin("scan.xyz"), {}).NiveauAffiche);
}

void ConstruireDepuisPoints(TEtatScan& scan, const std::vector<TPointScan>& points, int nivMax,
                            int parties) {
    scan.NivMax = nivMax;
    scan.NbPoints = static_cast<std::int32_t>(points.size());
    for (const TPointScan& p : points) {
        const float v[3] = {p.X, p.Y, p.Z};
        for (int a = 0; a < 3; ++a) {
            scan.CooMin[a] = std::min(scan.CooMin[a], v[a]);
            scan.CooMax[a] = std::max(scan.CooMax[a], v[a]);
        }
    }
    ConstruireGrille(
        scan, DimensionnerGrille(scan.CooMin, scan.CooMax),
        [&](const TRecevoirLot& recevoir) {
            for (std::size_t k = 0; k < points.size(); k += RecordsParLot)
                recevoir(points.data() + k, std::min(RecordsParLot, points.size() - k));
        },
        {}, parties);
}

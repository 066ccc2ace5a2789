#include "ScanEssai.h"

#include "scan/ChargementScan.h"
#include "scan/EditionPoints.h"
#include "util/Format.h"

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

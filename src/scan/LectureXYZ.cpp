#include "scan/LectureXYZ.h"

#include "scan/ConstructionGrille.h"
#include "scan/DecoupageLignes.h"
#include "scan/FormatXYZ.h"
#include "scan/LectureTexte.h"
#include "util/Erreurs.h"

TBilanLecture BilanLignesIgnorees(std::int64_t n) {
    TBilanLecture bilan;
    bilan.Ignores = n;
    if (n > 0)
        bilan.Texte =
            std::to_string(n) + (n > 1 ? " lignes ignorées (ce ne sont pas des points X Y Z)"
                                       : " ligne ignorée (ce n'est pas un point X Y Z)");
    return bilan;
}

TBilanLecture LireXYZ(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    std::int64_t ignores = 0;
    TLotPointsLus lot(recevoir);
    LireLignes(chemin, sortie, [&](std::string_view ligne, bool tropLongue) {
        TPointLu p;
        if (tropLongue || !LireLigneXYZ(ligne, p.Coo, p.Couleur))
            ++ignores;
        else
            lot.Ajouter(p);
    });
    lot.Vider();
    return BilanLignesIgnorees(ignores);
}

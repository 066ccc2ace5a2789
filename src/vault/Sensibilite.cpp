#include "vault/Sensibilite.h"

double ActionAffichee(const TV3R& efforts, int a) {
    return a == 2 ? -efforts.Z : efforts[a];
}

TEtendueEffort TSensibilite::Etendue(const TV3R& etude, int a) const {
    const double v = ActionAffichee(etude, a);
    TEtendueEffort e{v, v, "étude", "étude"};
    for (const TVarianteEtude& variante : Variantes) {
        if (!variante.Efforts) continue;
        const double w = ActionAffichee(*variante.Efforts, a);
        if (w < e.Min) {
            e.Min = w;
            e.NomMin = variante.Nom;
        }
        if (w > e.Max) {
            e.Max = w;
            e.NomMax = variante.Nom;
        }
    }
    return e;
}

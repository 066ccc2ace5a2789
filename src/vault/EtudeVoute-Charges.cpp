// Loads of the quarter: self-weight of the webs and of the rib, an optional fill with a
// horizontal top, the thrust of each arc by H = 1.25 M / f, the actions at the rib's springing.
// A step rounded to 32 bits is written as such: the report's numbers depend on it.

#include "util/Erreurs.h"
#include "util/Format.h"
#include "vault/EtudeVoute.h"
#include "vault/VerificationsEtude.h"

#include <cmath>

namespace {

// A rib rise below this (metres) is taken as none: the thrust M / f would be a figure of the
// survey's noise, millions of daN.
constexpr double FlecheMinimaleAretier = 0.001;

bool EffortFini(const TV3R& e) {
    return std::isfinite(e.X) && std::isfinite(e.Y) && std::isfinite(e.Z);
}

} // namespace

void TSommeEfforts::AjouterEffort(const TV3R& Fi, double d, double dz) {
    F = AddV3R(F, Fi);
    M = M - Fi.Z * d + Fi.X * dz;
}

void TEtudeVoute::CalculerCharges(const TChargesEtude& charges, const TV2x2R& McbRotZ2) {
    if (!StructureConstruite())
        RefuserCalcul("la structure n'est pas construite : passez par l'onglet « Structure » "
                      "avant de calculer les charges");
    static_cast<TChargesEtude&>(*this) = charges;
    Sensibilite.reset();
    for (int i = 0; i < NbArcsVoute; ++i)
        ChargerArc(Quartier1, i);
    for (int i = 0; i < NbArcsVoute; ++i)
        ChargerArc(Quartier2, i);
    CalculerAppuiAretier(McbRotZ2);
    if (!ResultatsFinis())
        RefuserCalcul("calcul impossible : les charges données mènent à des efforts qui ne sont "
                      "pas des nombres finis (vérifiez les masses et le niveau du remplissage)");
    if (AppuiCalculable)
        LbResultats = Formater("Actions à l'appui de l'arêtier (daN) : FX = %.0f, FY = %.0f , "
                               "FZ = %.0f",
                               EffortsSurAppui.X, EffortsSurAppui.Y, -EffortsSurAppui.Z);
    else
        LbResultats = Formater("Actions à l'appui de l'arêtier (daN) : FX et FY non calculables "
                               "(flèche de l'arc d'arêtier nulle), FZ = %.0f",
                               -EffortsSurAppui.Z);
    RedigerResultats();
}

bool TEtudeVoute::ResultatsFinis() const {
    for (const TQuartier* Q : {&Quartier1, &Quartier2})
        for (const TArc& A : Q->Arcs)
            if (!EffortFini(A.EffAppui)) return false;
    // X and Y of a rib without rise are not computed: they are no result.
    return AppuiCalculable ? EffortFini(EffortsSurAppui) : std::isfinite(EffortsSurAppui.Z);
}

void TEtudeVoute::RefuserCalcul(const std::string& raison) {
    OublierResultats();
    throw EErreur(raison);
}

void TEtudeVoute::RefuserQuartier(const std::string& raison) {
    OublierResultats();
    throw EQuartierVide(raison);
}

void TEtudeVoute::OublierResultats() {
    LbResultats = " ";
    ResulNdC.clear();
}

void TEtudeVoute::ChargerArc(TQuartier& Q, int index) const {
    TArc& A = Q.Arcs.at(std::size_t(index));
    const float qs = Arrondi32(double(Q.LargeurArcs) * MasseSurfVoute);
    const float qv = Arrondi32(double(Q.LargeurArcs) * MasseVolRemplissage);
    const float zr = Arrondi32(double(Z0) + NiveauRemplissage);
    A.EffAppui.Z = 0;
    float M = 0;
    const TV2R P0 = A.pts[0].XYarc;
    for (TClaveau& v : A.claveaux) {
        v.G = Arrondi32(double(v.lgrclav) * double(qs));
        const float h = Arrondi32(double(zr) - v.XYZclav.Z);
        // No fill adds nothing, whatever its level.
        if (h > 0 && qv != 0)
            v.G = Arrondi32(double(v.G) + double(v.lgrclav) * double(qv) * double(h));
        A.EffAppui.Z += v.G;
        const double x = NormV2R(SubV2R(V3RToV2R(v.XYZclav), P0));
        M = Arrondi32(double(M) - double(v.G) * x);
    }
    const double L = NormV2R(SubV2R(A.pts[std::size_t(A.nclav)].XYarc, P0));
    M = Arrondi32(double(M) + A.EffAppui.Z * L);
    double f = A.pts[0].Zarc - A.pts[std::size_t(A.nclav)].Zarc;
    // A flat or inverted arc: its rise is bounded below so that its thrust stays finite.
    if (f < 0.05) f = 0.05;
    const double H = double(M) * 1.25 / f;
    A.EffAppui.X = H * double(Q.kX);
    A.EffAppui.Y = H * double(Q.kY);
}

void TEtudeVoute::CalculerAppuiAretier(const TV2x2R& McbRotZ2) {
    const std::size_t n = std::size_t(NbArcsVoute);
    TArc& A = ArcAretier.AA;
    const TV2R K = A.pts[0].XYarc;
    const double z0 = A.pts[0].Zarc;
    TSommeEfforts somme;
    ArcAretier.ChargesDesVoutes.assign(n + 2, TV3R{});
    for (std::size_t k = 1; k <= n; ++k) {
        const TV3R C = AddV3R(Quartier1.Arcs[k - 1].EffAppui, Quartier2.Arcs[k - 1].EffAppui);
        ArcAretier.ChargesDesVoutes[k] = C;
        somme.AjouterEffort(C, NormV2R(SubV2R(A.pts[k].XYarc, K)), z0 - A.pts[k].Zarc);
    }
    for (TClaveau& v : A.claveaux) {
        v.G = Arrondi32(MasseLinAretier * double(v.lgrclav));
        somme.AjouterEffort({0, 0, double(v.G)}, NormV2R(SubV2R(V3RToV2R(v.XYZclav), K)), 0);
    }
    const double L = NormV2R(SubV2R(A.pts[n + 1].XYarc, K));
    const double f = z0 - A.pts[n + 1].Zarc;
    TV3R& F = somme.F;
    const double M = somme.M + F.Z * L - F.X * f;
    // With no rise the rib's thrust is undefined: X and Y are reported as not computable
    // rather than infinite; the weight Z still is.
    AppuiCalculable = std::fabs(f) >= FlecheMinimaleAretier;
    if (!AppuiCalculable) {
        EffortsSurAppui = EffortsSurAppuiNuage = {std::nan(""), std::nan(""), F.Z};
        return;
    }
    F.X = F.X + M * 1.25 / f;
    const TV2R nuage = MulTM2V2(RecModl.McbA, {F.X, F.Y});
    const TV2R vue = MulTM2V2(McbRotZ2, nuage);
    EffortsSurAppuiNuage = {nuage.X, nuage.Y, F.Z};
    EffortsSurAppui = {vue.X, vue.Y, F.Z};
}

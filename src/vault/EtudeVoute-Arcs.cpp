// The structure of the quarter: each half-quarter cut into arcs parallel to its wall line, the
// rib through the points where they rest, every height read from the displayed cubes.

#include "util/Erreurs.h"
#include "util/Format.h"
#include "vault/EtudeVoute.h"
#include "vault/QuartierOccupe.h"
#include "vault/ReleveHauteurs.h"
#include "vault/VerificationsEtude.h"

#include <algorithm>
#include <cmath>

namespace {

// A height read farther than this from its point has no survey under it: a few cubes of the
// displayed level, never less than half a metre (a sparse survey leaves a few decimetres between
// its points, more behind a rib).
double DistanceLointaine(float tailleCubes) {
    return std::max(3.0 * double(tailleCubes), 0.5);
}

// Beyond this, the heights under a springing point belong to different things.
constexpr float SeuilAmbiguiteAppui = 0.10f; // metres

std::string Metres(double d) {
    return Formater("%.2f", d);
}

// Lengths and centres of the voussoirs between consecutive points.
void CalculerClaveaux(TArc& A) {
    A.claveaux.resize(std::size_t(A.nclav));
    for (std::size_t j = 0; j < A.claveaux.size(); ++j) {
        const TV3R a = A.pts[j].XYZarc();
        const TV3R b = A.pts[j + 1].XYZarc();
        A.claveaux[j].lgrclav = static_cast<float>(NormV3R(SubV3R(b, a)));
        A.claveaux[j].XYZclav = ScaleV3R(AddV3R(a, b), 0.5);
    }
}

bool PointFini(const TV2R& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

} // namespace

bool TLectureHauteurs::AppuiAmbigu() const {
    return EtendueAppui > SeuilAmbiguiteAppui;
}

bool TEtudeVoute::StructureConstruite() const {
    const std::size_t n = std::size_t(NbArcsVoute);
    return NbArcsVoute >= 1 && Quartier1.Arcs.size() == n && Quartier2.Arcs.size() == n &&
           ArcAretier.AA.pts.size() == n + 2;
}

std::vector<std::string> TEtudeVoute::ConstruireStructure(const TScanEtudie& scan) {
    VerifierCubesAffiches(scan.CubesAffiches);
    if (NbArcsVoute < 1)
        throw EErreur("nombre d'arcs de voûte invalide (" + std::to_string(NbArcsVoute) +
                      ") : la structure ne peut pas être construite");
    static const char* const NomsFrontiere[4] = {"clé arc", "quartier 1", "appui arc",
                                                 "quartier 2"};
    for (int n = 1; n <= 4; ++n)
        if (!PointFini(RecModl.XYfront(n)))
            throw EErreur(std::string("le point de frontière « ") + NomsFrontiere[n - 1] +
                          " » n'a pas de coordonnées valides");
    // The results of the previous quarter are not this one's: none is shown.
    static const char* const Placer =
        " : placez-le sur la voûte (« déplacer le quart étudié » ou « Editer la frontière »)";
    if (!QuartierContientUnPoint(RecModl, scan.CubesAffiches))
        RefuserQuartier(std::string("le quart étudié ne contient aucun point du scan") + Placer);
    std::vector<std::string> avertissements;
    for (int n : {2, 4})
        if (NormV2R(SubV2R(RecModl.XYapp, RecModl.XYfront(n))) == 0)
            avertissements.push_back(std::string("le point « ") + NomsFrontiere[n - 1] +
                                     " » est à l'appui de l'arc : la direction de ses arcs de "
                                     "voûte n'est pas définie, leurs poussées sont comptées "
                                     "nulles");
    CalculerBordsAretier();
    // Every height read below lies between the edges of the rib and the wall lines' middle
    // points: the arcs join points of the triangles they make.
    scan.Releve.PreparerZone({RecModl.Bord1.Pori, RecModl.Bord1.Px, RecModl.XYL1,
                              RecModl.Bord2.Pori, RecModl.Bord2.Px, RecModl.XYL2});
    Lecture = {.DistanceLointaine = DistanceLointaine(scan.TailleCubes)};
    DecomposerQuartier(RecModl.Bord1, RecModl.XYL1, Quartier1, scan.Releve);
    DecomposerQuartier(RecModl.Bord2, RecModl.XYL2, Quartier2, scan.Releve);
    ConstruireArcAretier(scan.Releve, scan.TailleCubes);
    const std::string lointaines = std::to_string(Lecture.NbLointaines) +
                                   " hauteurs lues à plus de " + Metres(Lecture.DistanceLointaine) +
                                   " m de leur point";
    // Most heights from afar: the quarter lies beside the survey, or over a hole in it.
    if (2 * Lecture.NbLointaines > Lecture.NbHauteurs)
        RefuserQuartier("le quart étudié est presque vide : " + lointaines + " sur " +
                        std::to_string(Lecture.NbHauteurs) + Placer);
    if (Lecture.NbLointaines > 0) avertissements.push_back(lointaines);
    return avertissements;
}

float TEtudeVoute::LireHauteur(TReleveHauteurs& releve, const TV2R& p) {
    const THauteurLue h = releve.HauteurAuPoint(p);
    ++Lecture.NbHauteurs;
    if (!(h.Distance <= Lecture.DistanceLointaine)) ++Lecture.NbLointaines;
    return h.Z;
}

void TEtudeVoute::DecomposerQuartier(const TVecteur2D& B, const TV2R& L, TQuartier& Q,
                                     TReleveHauteurs& releve) {
    const int n = NbArcsVoute;
    Q.Arcs.resize(std::size_t(n));
    const TV2R v = SubV2R(RecModl.XYapp, L);
    const double a = NormV2R(v);
    const TV2R w = MulM2V2(RecModl.McbA, v);
    // A middle point at the springing leaves the direction undefined: no thrust direction
    // (ConstruireStructure warns of it).
    Q.kX = a > 0 ? static_cast<float>(w.X / a) : 0.0f;
    Q.kY = a > 0 ? static_cast<float>(w.Y / a) : 0.0f;
    const double t = 1.0 / (2.0 * n);
    const TV2R s1 = ScaleV2R(SubV2R(L, B.Pori), t);
    const TV2R s2 = ScaleV2R(SubV2R(B.Px, B.Pori), t);
    for (int i = 1; i <= n; ++i) {
        TArc& A = Q.Arcs[std::size_t(i - 1)];
        A.nclav = i;
        A.pts.resize(std::size_t(i) + 1);
        A.pts[0].XYarc = CombV2R(1, B.Pori, 2 * i - 1, s1);
        A.pts[std::size_t(i)].XYarc = CombV2R(1, B.Pori, 2 * i - 1, s2);
        const TV2R d = ScaleV2R(SubV2R(A.pts[std::size_t(i)].XYarc, A.pts[0].XYarc), 1.0 / i);
        for (std::size_t j = 1; j < std::size_t(i); ++j)
            A.pts[j].XYarc = AddV2R(A.pts[j - 1].XYarc, d);
        for (TPtArc& p : A.pts)
            p.Zarc = LireHauteur(releve, p.XYarc);
        CalculerClaveaux(A);
    }
    Q.LargeurArcs = static_cast<float>(2 * NormV2R(s1));
}

void TEtudeVoute::ConstruireArcAretier(TReleveHauteurs& releve, float tailleCubes) {
    const std::size_t n = std::size_t(NbArcsVoute);
    TArc& A = ArcAretier.AA;
    A.nclav = NbArcsVoute + 1;
    A.pts.resize(n + 2);
    for (std::size_t k = 1; k <= n; ++k)
        A.pts[k].FixerXYZarc(CombV3R(0.5, Quartier1.Arcs[k - 1].pts[k].XYZarc(), 0.5,
                                     Quartier2.Arcs[k - 1].pts[k].XYZarc()));
    A.pts[0].XYarc = RecModl.XYcle;
    Z0 = static_cast<float>((Quartier1.Arcs[0].pts[0].Zarc + Quartier2.Arcs[0].pts[0].Zarc) / 2);
    A.pts[0].Zarc = Z0;
    const TV2R& b1 = RecModl.Bord1.Px;
    const TV2R& b2 = RecModl.Bord2.Px;
    A.pts[n + 1].FixerXYZarc(CombV3R(0.5, {b1.X, b1.Y, LireHauteur(releve, b1)}, 0.5,
                                     {b2.X, b2.Y, LireHauteur(releve, b2)}));
    Lecture.NiveauAppuiLu = A.pts[n + 1].Zarc - Z0;
    // The cubes nearly as near as the nearest one: within one cube of the displayed level.
    for (const TV2R& b : {b1, b2}) {
        const TEtendueHauteurs e = releve.EtendueAuPoint(b, double(tailleCubes));
        if (e.NbCubes > 0) Lecture.EtendueAppui = std::max(Lecture.EtendueAppui, e.ZMax - e.ZMin);
    }
    if (NiveauAppuiImpose) A.pts[n + 1].Zarc = double(Z0) + *NiveauAppuiImpose;
    CalculerClaveaux(A);
}

// The spread of the study: the same quarter, loads and springing level studied again at the
// other levels of definition and on grids displaced by half a cube, the report then giving the
// range of each action beside it.

#include "scan/GrilleDeplacee.h"
#include "shell/EspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Format.h"

namespace {

// The levels the spread looks at: those fine enough for a vault's shape.
constexpr int PremierNiveauSensibilite = 2;

} // namespace

TV3R TEspaceTravail::EtudierVariante(const TListeCubes& cubes, const TV3S& mini, const TV3S& maxi,
                                     float tailleCubes, const TV2R& deplacement) {
    TEtudeVoute variante = Etude;
    if (deplacement.X != 0 || deplacement.Y != 0)
        variante.ChangerDeRepere([&deplacement](const TV2R& p) { return AddV2R(p, deplacement); });
    TReleveHauteurs releve(cubes);
    variante.ConstruireStructure({cubes, releve, mini, maxi, tailleCubes});
    variante.CalculerCharges(Etude, Vue.McbRotZ2);
    return variante.EffortsSurAppui;
}

void TEspaceTravail::CalculerSensibilite() {
    if (!Etude.StructureConstruite() || Etude.ResulNdC.empty())
        throw EErreur("aucun résultat : menez l'étude jusqu'à l'onglet « Résultats » avant d'en "
                      "chercher la sensibilité");
    TSensibilite sensibilite;
    const auto essayer = [&](const std::string& nom, const auto& etudier) {
        AffiInfo(1, "sensibilité : " + nom);
        TVarianteEtude v{nom, std::nullopt, {}};
        try {
            v.Efforts = etudier();
        } catch (const EStopError&) {
            throw;
        } catch (const EErreur& e) {
            v.Refus = e.what();
        }
        sensibilite.Variantes.push_back(std::move(v));
    };
    CurseurAttente();
    try {
        for (int n = PremierNiveauSensibilite; n <= Scan.NivMax; ++n) {
            if (n == Scan.NivAffiche) continue;
            essayer("niveau " + std::to_string(n), [&] {
                TListeCubes cubes;
                Scan.PourChaqueCubeDuNiveau(n, [&cubes](TCube* c) { cubes.push_back(c); });
                return EtudierVariante(cubes, Corps.Min, Corps.Max, TailleNiv[std::size_t(n)],
                                       {0, 0});
            });
        }
        // Half a displayed cube along each axis: the boundaries fall where the cubes' middles
        // were.
        const double demi = double(TailleNiv[std::size_t(Scan.NivAffiche)]) / 2;
        for (const auto& [nom, d] : {std::pair{"grille décalée en X", TV2R{demi, 0}},
                                     std::pair{"grille décalée en Y", TV2R{0, demi}}}) {
            essayer(nom, [&, d = d] {
                TEtatScan deplace;
                ConstruireGrilleDeplacee(Scan, {d.X, d.Y, 0}, deplace, SortieStatut());
                const auto decale = [&d](const TV3S& p) {
                    return TV3S{static_cast<float>(double(p.X) + d.X),
                                static_cast<float>(double(p.Y) + d.Y), p.Z};
                };
                return EtudierVariante(deplace.CubesAffiches, decale(Corps.Min), decale(Corps.Max),
                                       TailleNiv[std::size_t(deplace.NivAffiche)], d);
            });
        }
    } catch (...) {
        Plateforme.AfficherStatut(1, "");
        FinCurseurAttente();
        throw;
    }
    Plateforme.AfficherStatut(1, "");
    FinCurseurAttente();
    Etude.Sensibilite = std::move(sensibilite);
    Etude.RedigerResultats();
}

// Rebuilding the studied quarter's structure (ActualiserStructure) on a 1e6-point vault, at the
// displayed levels 2, 3 and 4: every height is the nearest displayed cube's, found by scanning
// them all, so the time grows with the number of cubes shown.

#include "EcritureVoute.h"
#include "PlateformeConsole.h"
#include "shell/TEspaceTravail.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The vault, generated and loaded once; its file is removed as soon as it is loaded.
TEspaceTravail& VouteChargee() {
    static TPlateformeConsole plateforme;
    static TEspaceTravail travail(plateforme);
    static const bool charge = [] {
        std::string modele = (fs::temp_directory_path() / "arkalune-structure-XXXXXX").string();
        if (!::mkdtemp(modele.data())) throw std::runtime_error("dossier temporaire : " + modele);
        const std::string chemin = (fs::path(modele) / "voute.arkl").string();
        TParametresVoute p;
        p.NbPoints = 1000000;
        EcrireVoute(p, chemin);
        const bool ok = travail.ChargerScan(chemin);
        std::error_code ec;
        fs::remove_all(modele, ec);
        return ok;
    }();
    if (!charge) throw std::runtime_error("la voûte générée n'a pas pu être chargée");
    return travail;
}

void ActualiserStructure(benchmark::State& etat) {
    TEspaceTravail& t = VouteChargee();
    t.FixerNiveauAffiche(int(etat.range(0)));
    t.ActualiserStructure(); // places the quarter the first time
    for (auto _ : etat)
        t.ActualiserStructure();
    etat.counters["cubes"] = double(t.Scan.CubesAffiches.size());
    etat.counters["recherches"] = double(t.Etude.NbArcsVoute * (t.Etude.NbArcsVoute + 3) + 2);
}

} // namespace

BENCHMARK(ActualiserStructure)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

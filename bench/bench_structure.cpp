// Rebuilding the studied quarter's structure (ActualiserStructure) with 20 arcs a half-quarter,
// the most the field allows (462 heights read), on generated vaults of 1e5, 1e6 and 1e7 points,
// at the displayed levels 2, 3 and 4; and, apart, building the index of all the displayed
// cubes' heights, which the rebuilds share while the displayed set stays the same (a rebuild
// indexes only the cubes around the quarter, and all of them when a search needs it).
// EtudeEnLot: the batch command's study of a saved scan of 5e6 and 1e7 points, in a fresh
// process as the command runs it: the four tabs gone through after the level is chosen, at
// level 0 and at level 4; the difference is what the finest level costs the study.
// One vault is loaded at a time, the sizes in increasing order: the 1e7-point one writes about
// 540 MB of XYZ text to the temporary folder ($ARKALUNE_BENCH_DOSSIER if set) and the whole
// program peaks at about 1.5 GB; the run takes a few minutes on two shared cores.

#include "EcritureVoute.h"
#include "MesureProcessus.h"
#include "PlateformeConsole.h"
#include "shell/EspaceTravail.h"
#include "vault/ReleveHauteurs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The vault of `points` points, generated and loaded; its file is removed as soon as it is
// loaded, the previous vault freed before.
TEspaceTravail& VouteChargee(std::int64_t points) {
    static TPlateformeConsole plateforme;
    static std::unique_ptr<TEspaceTravail> travail;
    static std::int64_t pointsCharges = 0;
    if (travail && pointsCharges == points) return *travail;
    travail.reset();
    const char* choisi = std::getenv("ARKALUNE_BENCH_DOSSIER");
    const fs::path parent = choisi ? fs::path(choisi) : fs::temp_directory_path();
    std::string modele = (parent / "arkalune-structure-XXXXXX").string();
    if (!::mkdtemp(modele.data())) throw std::runtime_error("dossier temporaire : " + modele);
    const std::string chemin = (fs::path(modele) / "voute.xyz").string();
    TParametresVoute p;
    p.NbPoints = points;
    EcrireVoute(p, chemin);
    travail = std::make_unique<TEspaceTravail>(plateforme);
    const bool charge = travail->ChargerScan(chemin);
    std::error_code ec;
    fs::remove_all(modele, ec);
    if (!charge) throw std::runtime_error("la voûte générée n'a pas pu être chargée");
    pointsCharges = points;
    return *travail;
}

TEspaceTravail& Preparer(benchmark::State& etat) {
    TEspaceTravail& t = VouteChargee(etat.range(0));
    t.FixerNiveauAffiche(int(etat.range(1)));
    etat.counters["cubes"] = double(t.Scan.CubesAffiches.size());
    return t;
}

void ConstruireIndex(benchmark::State& etat) {
    TEspaceTravail& t = Preparer(etat);
    for (auto _ : etat) {
        TReleveHauteurs releve(t.Scan.CubesAffiches);
        benchmark::DoNotOptimize(releve.HauteurAuPoint({0, 0})); // no zone: every cube indexed
    }
    etat.counters["cubes/s"] = benchmark::Counter(double(t.Scan.CubesAffiches.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void ActualiserStructure(benchmark::State& etat) {
    TEspaceTravail& t = Preparer(etat);
    t.Champs.GEdNbArcsVoute.TypeText("20");
    t.ActualiserStructure(); // places the quarter the first time and builds the index
    for (auto _ : etat)
        t.ActualiserStructure();
    etat.counters["recherches"] = double(t.Etude.NbArcsVoute * (t.Etude.NbArcsVoute + 3) + 2);
}

// The saved scan of `points` points, written once for the run; removed at its end.
const std::string& ScanEnregistre(std::int64_t points) {
    struct TScan {
        std::string dossier, chemin;
        ~TScan() {
            std::error_code ec;
            fs::remove_all(dossier, ec);
        }
    };
    static std::map<std::int64_t, TScan> scans;
    TScan& s = scans[points];
    if (s.chemin.empty()) {
        const char* choisi = std::getenv("ARKALUNE_BENCH_DOSSIER");
        const fs::path parent = choisi ? fs::path(choisi) : fs::temp_directory_path();
        s.dossier = (parent / "arkalune-lot-XXXXXX").string();
        if (!::mkdtemp(s.dossier.data()))
            throw std::runtime_error("dossier temporaire : " + s.dossier);
        TParametresVoute p;
        p.NbPoints = points;
        EcrireVoute(p, (fs::path(s.dossier) / "voute.arkl").string());
        s.chemin = (fs::path(s.dossier) / "voute.arkl").string();
    }
    return s.chemin;
}

void EtudeEnLot(benchmark::State& etat) {
    double secondes = 0, cpu = 0, pic = 0;
    try {
        const std::string& chemin = ScanEnregistre(etat.range(0));
        static TPlateformeConsole plateforme;
        std::unique_ptr<TEspaceTravail> travail;
        for (auto _ : etat) {
            const TMesure m = MesurerDansUnProcessus(
                [&] {
                    travail = std::make_unique<TEspaceTravail>(plateforme);
                    if (!travail->ChargerScan(chemin))
                        throw std::runtime_error("chargement impossible : " + chemin);
                    travail->FixerNiveauAffiche(int(etat.range(1)));
                },
                [&] {
                    for (int onglet : {1, 2, 3})
                        travail->ChangerOnglet(onglet);
                    return double(travail->Scan.CubesAffiches.size());
                });
            etat.SetIterationTime(m.Secondes);
            secondes += m.Secondes;
            cpu += m.SecondesCPU;
            pic = std::max(pic, m.OctetsPic);
        }
    } catch (const std::exception& e) {
        etat.SkipWithError(e.what());
        return;
    }
    const double n = double(etat.iterations());
    etat.counters["s"] = secondes / n;
    etat.counters["s_cpu"] = cpu / n;
    etat.counters["Mo_pic"] = pic / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Size by size, so that each vault is generated and loaded once.
    for (std::int64_t points : {100000, 1000000, 10000000}) {
        for (int niveau : {2, 3, 4})
            benchmark::RegisterBenchmark("ConstruireIndex", ConstruireIndex)
                ->Args({points, niveau})
                ->ArgNames({"points", "niveau"})
                ->Unit(benchmark::kMillisecond);
        for (int niveau : {2, 3, 4})
            benchmark::RegisterBenchmark("ActualiserStructure", ActualiserStructure)
                ->Args({points, niveau})
                ->ArgNames({"points", "niveau"})
                ->Unit(benchmark::kMillisecond);
    }
    for (std::int64_t points : {5000000, 10000000})
        for (int niveau : {0, 4})
            benchmark::RegisterBenchmark("EtudeEnLot", EtudeEnLot)
                ->Args({points, niveau})
                ->ArgNames({"points", "niveau"})
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

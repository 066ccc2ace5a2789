// The whole load (XYZ text, binary scan file, a scan saved by the program), the E57 reader, the
// grid's construction on one or two threads and the save (both kinds) of synthetic vaults:
// points per second and peak memory per point, each case in a fresh process.

#include "EcritureVoute.h"
#include "MesureProcessus.h"
#include "PlateformeConsole.h"
#include "scan/ConstructionGrille.h"
#include "scan/FichierArkl.h"
#include "scan/LectureE57.h"
#include "shell/EspaceTravail.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The generated vaults, made once per size in a private folder that goes at exit. The folder
// is $ARKALUNE_BENCH_DOSSIER if set (the 1e7-point cases write about 1.2 GB), else a new
// folder in the system's temporary folder.
class TDonnees {
public:
    static TDonnees& Instance() {
        static TDonnees d;
        return d;
    }
    ~TDonnees() {
        std::error_code ec;
        fs::remove_all(dossier_, ec);
    }
    const std::string& Fichier(std::int64_t points, const std::string& extension) {
        std::string& chemin = fichiers_[{points, extension}];
        if (chemin.empty()) {
            TParametresVoute p;
            p.NbPoints = points;
            const std::string nom =
                (dossier_ / ("voute-" + std::to_string(points) + extension)).string();
            EcrireVoute(p, nom);
            chemin = nom;
        }
        return chemin;
    }
    // The vault's XYZ text with its lines in a fixed random order: the cubes are then met in no
    // order of space at all.
    const std::string& FichierMelange(std::int64_t points) {
        std::string& chemin = fichiers_[{points, "melange"}];
        if (chemin.empty()) {
            std::ostringstream lu;
            lu << std::ifstream(Fichier(points, ".xyz"), std::ios::binary).rdbuf();
            const std::string texte = lu.str();
            std::vector<std::string_view> lignes;
            for (std::size_t debut = 0; debut < texte.size();) {
                const std::size_t fin = std::min(texte.find('\n', debut), texte.size() - 1);
                lignes.emplace_back(texte.data() + debut, fin + 1 - debut);
                debut = fin + 1;
            }
            std::shuffle(lignes.begin(), lignes.end(), std::mt19937_64(2024));
            const std::string nom =
                (dossier_ / ("voute-" + std::to_string(points) + "-melange.xyz")).string();
            std::ofstream sortie(nom, std::ios::binary);
            for (std::string_view l : lignes)
                sortie.write(l.data(), std::streamsize(l.size()));
            if (!sortie.flush()) throw std::runtime_error("écriture impossible : " + nom);
            chemin = nom;
        }
        return chemin;
    }
    // Where the saves write: a name without extension.
    std::string Sortie() const { return (dossier_ / "enregistre").string(); }

private:
    TDonnees() {
        const char* choisi = std::getenv("ARKALUNE_BENCH_DOSSIER");
        const fs::path parent = choisi ? fs::path(choisi) : fs::temp_directory_path();
        std::string modele = (parent / "arkalune-bench-XXXXXX").string();
        if (!::mkdtemp(modele.data())) throw std::runtime_error("dossier temporaire : " + modele);
        dossier_ = modele;
    }
    fs::path dossier_;
    std::map<std::pair<std::int64_t, std::string>, std::string> fichiers_;
};

struct TEspaceMesure {
    TPlateformeConsole Plateforme;
    TEspaceTravail Travail{Plateforme};
    void Charger(const std::string& chemin) {
        if (!Travail.ChargerScan(chemin))
            throw std::runtime_error("chargement impossible : " + chemin);
    }
};

void Mesurer(benchmark::State& etat, const std::function<void(TEspaceMesure&)>& preparer,
             const std::function<double(TEspaceMesure&)>& operation) {
    double secondes = 0, cpu = 0, points = 0, pic = 0;
    std::unique_ptr<TEspaceMesure> espace;
    for (auto _ : etat) {
        try {
            const TMesure m = MesurerDansUnProcessus(
                [&] {
                    espace = std::make_unique<TEspaceMesure>();
                    preparer(*espace);
                },
                [&] { return operation(*espace); });
            etat.SetIterationTime(m.Secondes);
            secondes += m.Secondes;
            cpu += m.SecondesCPU;
            points = m.Points;
            pic = std::max(pic, m.OctetsPic);
        } catch (const std::exception& e) {
            etat.SkipWithError(e.what());
            return;
        }
    }
    etat.counters["points"] = points;
    etat.counters["points/s"] = points * double(etat.iterations()) / secondes;
    etat.counters["points/s_cpu"] = points * double(etat.iterations()) / cpu;
    etat.counters["octets_pic/point"] = pic / points;
}

void ChargerFichier(benchmark::State& etat, const std::string& xyz) {
    Mesurer(
        etat, [](TEspaceMesure&) {},
        [&](TEspaceMesure& e) {
            e.Charger(xyz);
            return double(e.Travail.Scan.NbPoints);
        });
}

// Lines in scan order, as the generator writes them.
void ChargementXYZ(benchmark::State& etat) {
    ChargerFichier(etat, TDonnees::Instance().Fichier(etat.range(0), ".xyz"));
}

void ChargementXYZMelange(benchmark::State& etat) {
    ChargerFichier(etat, TDonnees::Instance().FichierMelange(etat.range(0)));
}

// The same vault as a survey of another tool: delimited text, PTS, PTX, binary PLY, LAS, E57.
void ChargementReleve(benchmark::State& etat, const char* extension) {
    ChargerFichier(etat, TDonnees::Instance().Fichier(etat.range(0), extension));
}

void ChargementArkl(benchmark::State& etat) {
    const std::string arkl = TDonnees::Instance().Fichier(etat.range(0), ".arkl");
    Mesurer(
        etat, [](TEspaceMesure&) {},
        [&](TEspaceMesure& e) {
            e.Charger(arkl);
            return double(e.Travail.Scan.NbPoints);
        });
}

// A scan saved by the program, its cubes after its records, opened again without building the
// grid: the vault's XYZ loaded and saved once, beforehand.
void OuvertureArklEnregistre(benchmark::State& etat) {
    const std::string xyz = TDonnees::Instance().Fichier(etat.range(0), ".xyz");
    const std::string sansExtension =
        TDonnees::Instance().Sortie() + "-" + std::to_string(etat.range(0));
    Mesurer(
        etat,
        [&](TEspaceMesure&) {
            if (fs::exists(sansExtension + ".arkl")) return;
            TEspaceMesure autre;
            autre.Charger(xyz);
            autre.Travail.PFsansext = sansExtension;
            autre.Travail.EnregistrerScan(FormatArkl(), autre.Travail.Scan.NivMax);
        },
        [&](TEspaceMesure& e) {
            e.Charger(sansExtension + ".arkl");
            return double(e.Travail.Scan.NbPoints);
        });
}

// The grid built from the vault's points held in memory, the work cut in 1 or 2 parts (one
// thread each): how the construction scales with the cores.
void ConstructionParFils(benchmark::State& etat) {
    const std::string arkl = TDonnees::Instance().Fichier(etat.range(0), ".arkl");
    std::vector<TPointScan> points;
    TEnTeteArkl enTete;
    Mesurer(
        etat,
        [&](TEspaceMesure&) {
            std::ifstream f(arkl, std::ios::binary);
            std::int64_t version = 0;
            f.read(reinterpret_cast<char*>(&version), sizeof version);
            std::array<std::byte, TailleEnTeteMax> octets{};
            f.read(reinterpret_cast<char*>(octets.data()), std::streamsize(TailleEnTete(version)));
            enTete = DecoderEnTete(std::int32_t(version), octets.data());
            points.resize(std::size_t(enTete.NbPoints));
            f.read(reinterpret_cast<char*>(points.data()),
                   std::streamsize(points.size() * sizeof(TPointScan)));
            if (!f) throw std::runtime_error("lecture impossible : " + arkl);
        },
        [&](TEspaceMesure&) {
            TEtatScan scan;
            scan.NivMax = std::int32_t(enTete.NiveauPoints);
            scan.NbPoints = std::int32_t(points.size());
            ConstruireGrille(
                scan, DimensionnerGrille(enTete.CooMin, enTete.CooMax),
                [&](const TRecevoirLot& recevoir) {
                    for (std::size_t k = 0; k < points.size(); k += RecordsParLot)
                        recevoir(points.data() + k, std::min(RecordsParLot, points.size() - k));
                },
                {}, int(etat.range(1)));
            return double(points.size());
        });
}

// The E57 reader alone (64-bit real coordinates, colours, two scans with their poses): pages and
// their checksums, decoding, poses; the points are only counted.
void LectureE57(benchmark::State& etat) {
    const std::string e57 = TDonnees::Instance().Fichier(etat.range(0), ".e57");
    Mesurer(
        etat, [](TEspaceMesure&) {},
        [&](TEspaceMesure&) {
            std::size_t points = 0;
            LireE57(e57, [&](const TPointLu*, std::size_t n) { points += n; }, {});
            return double(points);
        });
}

// The scan saved is the program's .arkl of the vault. The peak memory is the process's while it
// saves, the loaded scan included.
void Enregistrement(benchmark::State& etat, const TFormatScan& format) {
    const std::string arkl = TDonnees::Instance().Fichier(etat.range(0), ".arkl");
    const std::string sortie = TDonnees::Instance().Sortie();
    Mesurer(
        etat, [&](TEspaceMesure& e) { e.Charger(arkl); },
        [&](TEspaceMesure& e) {
            e.Travail.PFsansext = sortie;
            e.Travail.EnregistrerScan(format, e.Travail.Scan.NivMax);
            return double(e.Travail.Scan.NbCubesNiv[std::size_t(e.Travail.Scan.NivMax)]);
        });
}

void EnregistrementArkl(benchmark::State& etat) {
    Enregistrement(etat, FormatArkl());
}
void EnregistrementXYZ(benchmark::State& etat) {
    Enregistrement(etat, FormatXYZ());
}

void Tailles(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Arg(10000000)->UseManualTime()->Unit(benchmark::kMillisecond);
}

} // namespace

// 2e6 lines: the reference case of the load's speed; 5e6 and 1e7: of its memory.
BENCHMARK(ChargementXYZ)->Apply(Tailles)->Arg(2000000)->Arg(5000000);
BENCHMARK(ChargementXYZMelange)->Apply(Tailles)->Arg(2000000)->Arg(5000000);
BENCHMARK(ChargementArkl)->Apply(Tailles);
BENCHMARK(OuvertureArklEnregistre)->Apply(Tailles);
BENCHMARK(ConstructionParFils)
    ->ArgsProduct({{1000000, 10000000}, {1, 2}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LectureE57)->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, las, ".las")->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, ply, ".ply")->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, csv, ".csv")->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, pts, ".pts")->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, ptx, ".ptx")->Apply(Tailles);
BENCHMARK_CAPTURE(ChargementReleve, e57, ".e57")->Apply(Tailles);
BENCHMARK(EnregistrementArkl)->Apply(Tailles);
BENCHMARK(EnregistrementXYZ)->Apply(Tailles);

BENCHMARK_MAIN();

// Loading a scan: the XYZ import through its temporary file, the binary reader, the grid.

#include "scan/FichierArkl.h"
#include "scan/FormatXYZ.h"
#include "shell/TEspaceTravail.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t RecordsParLot = 65536;

// The import's temporary file: beside the scan, or in the system's temporary folder when the
// scan's folder is not writable. Removed whatever happens.
class TFichierImport {
public:
    explicit TFichierImport(const std::string& cheminXYZ) {
        chemin_ = cheminXYZ + ".tmp";
        try {
            ecriture_.emplace(chemin_);
        } catch (const EErreur&) {
            std::error_code ec;
            fs::path autre = fs::temp_directory_path(ec) / fs::path(cheminXYZ).filename();
            chemin_ = autre.string() + "." + std::to_string(::getpid()) + ".tmp";
            ecriture_.emplace(chemin_);
        }
    }
    ~TFichierImport() {
        ecriture_.reset();
        std::error_code ec;
        fs::remove(chemin_, ec);
    }
    TFichierEcriture& Ecriture() { return *ecriture_; }
    const std::string& Chemin() const { return chemin_; }
    void FermerEcriture() {
        ecriture_->Fermer();
        ecriture_.reset();
    }

private:
    std::string chemin_;
    std::optional<TFichierEcriture> ecriture_;
};

void Elargir(TV3S& mini, TV3S& maxi, const TPointScan& p) {
    const float v[3] = {p.X, p.Y, p.Z};
    for (int a = 0; a < 3; ++a) {
        if (v[a] < mini[a]) mini[a] = v[a];
        if (v[a] > maxi[a]) maxi[a] = v[a];
    }
}

} // namespace

bool TEspaceTravail::ChargerScan(const std::string& chemin) {
    FixerTitre(chemin);
    OngletActif = 0;
    ScanPret = false;
    CurseurAttente();
    const fs::path p(chemin);
    PFsansext = (p.parent_path() / p.stem()).string();
    DernierScan = p.parent_path().string();
    Scan.ReinitialiserBoiteEnglobante();
    Scan.NivMax = 4;
    ReinitialiserTravail();
    // The scan that had deletions pending has been dropped (saved or not): the new one has none.
    Scan.ScanModifie = false;

    int niveauAffiche = 2;
    std::string bilan;
    bool reussi = true;
    try {
        reussi = ChargerScanSansReprise(chemin, niveauAffiche, bilan);
    } catch (const std::exception& e) {
        reussi = false;
        Plateforme.AfficherMessage(e.what());
        ReinitialiserTravail();
        Scan.ReinitialiserBoiteEnglobante();
        Scan.NivMax = 4;
        niveauAffiche = 2;
    }
    TerminerChargement(niveauAffiche);
    if (!bilan.empty()) Plateforme.AfficherStatut(1, bilan);
    return reussi;
}

void TEspaceTravail::TerminerChargement(int niveauAffiche) {
    TV3S somme;
    std::array<std::int64_t, 4> couleurs;
    std::int32_t n;
    for (TCube* c : Scan.Grille)
        if (c) c->CalculerLesMoyennes(somme, couleurs, n);
    FixerNiveauAffiche(niveauAffiche);
    ScanPret = true;
    OrienterVue(1);
    FinCurseurAttente();
    RetracerTout();
}

bool TEspaceTravail::ChargerScanSansReprise(const std::string& chemin, int& niveauAffiche,
                                            std::string& bilan) {
    const std::string ext = MajusculesAscii(fs::path(chemin).extension().string());
    std::int64_t ignores = 0;
    const char* motIgnores = nullptr;

    // Builds the grid from point records read by `lireLot` (which returns how many it read).
    auto construireGrille = [&](auto&& lireLot) {
        CalculerEncombrement();
        Scan.AllouerGrille();
        const std::int64_t pas = Scan.NbPoints / 100;
        std::vector<TPointScan> lot(
            std::size_t(std::min<std::int64_t>(Scan.NbPoints, RecordsParLot)));
        std::int64_t i = 0;
        std::int64_t horsGrille = 0;
        const std::int64_t total = Scan.NbPoints;
        while (i < total) {
            const std::size_t n =
                lireLot(lot.data(), std::size_t(std::min<std::int64_t>(total - i, RecordsParLot)));
            for (std::size_t q = 0; q < n; ++q) {
                ++i;
                const TPointScan& pt = lot[q];
                const double cx = std::floor(double(pt.X)) - Scan.OrigGrille[0];
                const double cy = std::floor(double(pt.Y)) - Scan.OrigGrille[1];
                const double cz = std::floor(double(pt.Z)) - Scan.OrigGrille[2];
                if (!(cx >= 0 && cx < Scan.DimGrille[0] && cy >= 0 && cy < Scan.DimGrille[1] &&
                      cz >= 0 && cz < Scan.DimGrille[2])) {
                    ++horsGrille;
                } else {
                    const int ix = int(cx), iy = int(cy), iz = int(cz);
                    TCube*& cellule = Scan.Grille[Scan.IndiceCellule(ix, iy, iz)];
                    if (!cellule)
                        cellule = Scan.CreerCube(nullptr, 0, 0,
                                                 {float(Scan.OrigGrille[0] + ix),
                                                  float(Scan.OrigGrille[1] + iy),
                                                  float(Scan.OrigGrille[2] + iz)});
                    try {
                        cellule->EnregistrerUnPoint(Scan, pt.X, pt.Y, pt.Z, pt.Couleur);
                    } catch (const std::exception& e) {
                        throw EErreur(std::string("erreur enregistrement de point : ") + e.what());
                    }
                }
                if (pas != 0 && i % pas == 0)
                    AffiInfo(1, "construction : " + std::to_string(i / pas) + "%");
            }
            if (n == 0) break;
        }
        return horsGrille;
    };

    if (ext == ".XYZ") {
        TFichierLecture texte(chemin);
        const std::int64_t pas = std::int64_t(texte.Taille() / 3900);
        TFichierImport import(chemin);
        // Small enough to stay in cache between the read and the parsing.
        std::vector<char> tampon(
            std::size_t(std::clamp<std::uint64_t>(texte.Taille(), 1, 256 << 10)));
        std::string reste;
        std::vector<TPointScan> lot;
        lot.reserve(RecordsParLot);
        std::int64_t lignes = 0;
        TV3S mini = Scan.CooMin, maxi = Scan.CooMax;
        auto traiterLigne = [&](std::string_view ligne) {
            ++lignes;
            if (pas != 0 && lignes % pas == 0)
                AffiInfo(1, "lecture : " + std::to_string(lignes / pas) + "%");
            TPointScan pt;
            if (!LireLigneXYZ(ligne, pt)) {
                ++ignores;
                return;
            }
            if (Scan.NbPoints == INT32_MAX)
                throw EErreur("trop de points dans le fichier (plus de 2 147 483 647)");
            ++Scan.NbPoints;
            Elargir(mini, maxi, pt);
            lot.push_back(pt);
            if (lot.size() == RecordsParLot) {
                import.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
                lot.clear();
            }
        };
        for (;;) {
            const std::size_t n = texte.Lire(tampon.data(), tampon.size());
            if (n == 0) break;
            std::string_view bloc(tampon.data(), n);
            std::size_t debut = 0;
            for (;;) {
                const std::size_t fin = bloc.find('\n', debut);
                if (fin == std::string_view::npos) break;
                if (!reste.empty()) {
                    reste.append(bloc.substr(debut, fin - debut));
                    traiterLigne(reste);
                    reste.clear();
                } else {
                    traiterLigne(bloc.substr(debut, fin - debut));
                }
                debut = fin + 1;
            }
            reste.append(bloc.substr(debut));
        }
        if (!reste.empty()) traiterLigne(reste);
        import.Ecriture().Ecrire(lot.data(), lot.size() * sizeof(TPointScan));
        import.FermerEcriture();
        Scan.CooMin = mini;
        Scan.CooMax = maxi;
        if (Scan.NbPoints == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
        TFichierLecture relecture(import.Chemin());
        construireGrille([&](TPointScan* dest, std::size_t n) {
            return relecture.Lire(dest, n * sizeof(TPointScan)) / sizeof(TPointScan);
        });
        niveauAffiche = 2;
        RecModl.Q1a4 = 0;
        motIgnores = ignores > 1 ? "lignes ignorées (ce ne sont pas des points X Y Z)"
                                 : "ligne ignorée (ce n'est pas un point X Y Z)";
    } else if (ext == ".XYB") {
        Plateforme.AfficherMessage("non supporté");
        return false;
    } else if (ext == ".ARKL") {
        TFichierLecture fichier(chemin);
        std::int64_t motVersion = 0;
        fichier.LireExact(&motVersion, sizeof motVersion);
        const std::int32_t version = static_cast<std::int32_t>(motVersion);
        const std::size_t taille = TailleEnTete(version);
        if (taille == 0)
            throw EErreur("version de fichier inconnue (" + std::to_string(version) + ") : « " +
                          chemin + " »");
        std::array<std::byte, TailleEnTeteV3> octets{};
        fichier.LireExact(octets.data(), taille);
        const TEnTeteArkl e = DecoderEnTete(version, octets.data());
        const std::int32_t niveau = static_cast<std::int32_t>(e.NiveauPoints);
        const std::int32_t nb = static_cast<std::int32_t>(e.NbPoints);
        if (niveau < 0 || niveau >= NbNiveaux)
            throw EErreur("niveau des points invalide (" + std::to_string(niveau) + ") : « " +
                          chemin + " »");
        if (nb < 0 || std::uint64_t(nb) * sizeof(TPointScan) > fichier.Taille() - 8 - taille)
            throw EErreur("fichier tronqué : « " + chemin + " » annonce " + std::to_string(nb) +
                          " points");
        Scan.NivMax = niveau;
        Scan.NbPoints = nb;
        Scan.CooMin = e.CooMin;
        Scan.CooMax = e.CooMax;
        niveauAffiche = 2;
        if (version >= 2) {
            RecModl = e.RecModl;
            TaillePointsIndex = std::clamp(e.TaillePointsIndex, 0, 3);
            Champs.GEdLargeurAretier.EcrireValeurI(e.LargeurAretier);
            Champs.GEdNbArcsVoute.EcrireValeurI(e.NbArcsVoute);
            Champs.GEdMlinAretier.EcrireValeurI(e.MlinAretier);
            Champs.GEdMvolRemplissage.EcrireValeurI(e.MvolRemplissage);
            Champs.GEdMsurfVoute.EcrireValeurI(e.MsurfVoute);
            Champs.GEdNivRemplissage.EcrireValeurD(e.NivRemplissage);
            niveauAffiche = std::max(0, static_cast<std::int32_t>(e.NiveauAffiche));
            FixerCkBxEdFront(false);
        }
        if (version == 3) {
            Vue.AngRotZdeg = std::isfinite(e.AngRotZdeg) ? e.AngRotZdeg : 0.0;
            ActualiserRotZ();
        }
        if (nb == 0) throw EErreur("aucun point dans le fichier « " + chemin + " »");
        ignores = construireGrille([&](TPointScan* dest, std::size_t n) {
            fichier.LireExact(dest, n * sizeof(TPointScan));
            return n;
        });
        Scan.NbPoints -= static_cast<std::int32_t>(ignores);
        motIgnores = ignores > 1 ? "points hors de la boîte englobante ignorés"
                                 : "point hors de la boîte englobante ignoré";
    } else {
        throw EErreur("type de fichier non reconnu (extension .arkl ou .xyz attendue) : « " +
                      chemin + " »");
    }
    if (ignores > 0) bilan = std::to_string(ignores) + " " + motIgnores;
    return true;
}

// How long the window's thread stays away from its events during the long commands: a timer
// ticks every 10 ms while the window loads a survey, changes the displayed level, deletes and
// compacts half of it, reframes and saves; for each command, the longest interval between two
// ticks and the status texts shown at its two ends, then every other interval above 0.2 s and
// every text shown for more than a second.
// Run under Xvfb:
//   tests/ihm/sous-xvfb.sh bench_fluidite [--points N] [--dossier D]
// (N points, 2 000 000 by default, written as .xyz and .arkl in D, a temporary folder by default).

#include "EcritureVoute.h"
#include "shell/FArkalune.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

// The ticks of one command: the longest interval and the texts around it.
struct TMesure {
    qint64 Debut = -1, Precedent = -1, PlusLong = 0;
    int Ticks = 0;
    QString TexteAvant, TexteApres, TextePrecedent;
    QStringList Longs; // the intervals above the bound
    // Since when the status shows its text: a text held long says nothing of the work done.
    qint64 DepuisTexte = 0;
    QStringList Tenus; // the texts held above TenuLong
};

constexpr qint64 Borne = 200;     // ms
constexpr qint64 TenuLong = 1000; // ms

class TBanc {
public:
    explicit TBanc(TFArkalune& f) : f_(f), statut_(*f.findChild<QLabel*>("SBinfo1")) {
        QObject::connect(&minuterie_, &QTimer::timeout, [this] { Tick(); });
        horloge_.start();
        minuterie_.start(10);
    }

    void Mesurer(const char* nom, const std::function<void()>& commande) {
        mesure_ = TMesure{};
        mesure_.Debut = mesure_.Precedent = mesure_.DepuisTexte = horloge_.elapsed();
        mesure_.TextePrecedent = statut_.text();
        commande();
        // The work left queued by the command (the view's batch) belongs to it.
        for (int n = 0; n < 3; ++n)
            QApplication::processEvents();
        Tick();
        FinDuTexte(horloge_.elapsed());
        std::printf("%-28s %8lld ms  %5d ticks  plus long : %6lld ms  entre « %s » et « %s »\n",
                    nom, horloge_.elapsed() - mesure_.Debut, mesure_.Ticks, mesure_.PlusLong,
                    mesure_.TexteAvant.toUtf8().constData(),
                    mesure_.TexteApres.toUtf8().constData());
        for (const QString& l : mesure_.Longs)
            std::printf("    %s\n", l.toUtf8().constData());
        for (const QString& l : mesure_.Tenus)
            std::printf("    %s\n", l.toUtf8().constData());
        std::fflush(stdout);
    }

    QAction& Action(const char* nom) { return *f_.findChild<QAction*>(nom); }

private:
    void FinDuTexte(qint64 t) {
        if (t - mesure_.DepuisTexte > TenuLong)
            mesure_.Tenus << QStringLiteral("« %1 » affiché %2 ms")
                                 .arg(mesure_.TextePrecedent)
                                 .arg(t - mesure_.DepuisTexte);
        mesure_.DepuisTexte = t;
    }

    void Tick() {
        if (mesure_.Debut < 0) return;
        const qint64 t = horloge_.elapsed();
        const QString texte = statut_.text();
        if (t - mesure_.Precedent > Borne)
            mesure_.Longs << QStringLiteral("%1 ms entre « %2 » et « %3 »")
                                 .arg(t - mesure_.Precedent)
                                 .arg(mesure_.TextePrecedent, texte);
        if (t - mesure_.Precedent > mesure_.PlusLong) {
            mesure_.PlusLong = t - mesure_.Precedent;
            mesure_.TexteAvant = mesure_.TextePrecedent;
            mesure_.TexteApres = texte;
        }
        if (texte != mesure_.TextePrecedent) FinDuTexte(t);
        mesure_.Precedent = t;
        mesure_.TextePrecedent = texte;
        ++mesure_.Ticks;
    }

    TFArkalune& f_;
    QLabel& statut_;
    QTimer minuterie_;
    QElapsedTimer horloge_;
    TMesure mesure_;
};

// Marks half of the displayed cubes selected, as a rubber band over half the view would.
void SelectionnerLaMoitie(TEspaceTravail& t) {
    for (std::size_t n = 0; n < t.Scan.CubesAffiches.size(); n += 2)
        t.Scan.CubesAffiches[n]->etatSP |= EtatSelectionne;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::int64_t points = 2000000;
    QString dossierChoisi;
    for (int n = 1; n + 1 < argc; n += 2) {
        const std::string option = argv[n];
        if (option == "--points")
            points = std::atoll(argv[n + 1]);
        else if (option == "--dossier")
            dossierChoisi = QString::fromLocal8Bit(argv[n + 1]);
    }
    QTemporaryDir temporaire;
    const QString dossier = dossierChoisi.isEmpty() ? temporaire.path() : dossierChoisi;
    TParametresVoute p;
    p.NbPoints = points;
    const std::string xyz = (dossier + "/voute.xyz").toStdString();
    const std::string arkl = (dossier + "/voute.arkl").toStdString();
    for (const std::string& chemin : {xyz, arkl})
        if (!QFile::exists(QString::fromStdString(chemin))) EcrireVoute(p, chemin);

    TFArkalune f;
    f.resize(1000, 700);
    f.show();
    while (!f.InitDone())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    TBanc banc(f);
    TEspaceTravail& t = f.Travail();
    std::printf("%lld points\n", static_cast<long long>(points));
    banc.Mesurer("chargement .xyz", [&] { f.OuvrirFichier(QString::fromStdString(xyz)); });
    banc.Mesurer("chargement .arkl", [&] { f.OuvrirFichier(QString::fromStdString(arkl)); });
    auto& niveau = *f.findChild<QComboBox*>("CmBxNivAff");
    for (int n : {4, 2}) {
        const std::string nom = "niveau " + std::to_string(n);
        banc.Mesurer(nom.c_str(), [&] { niveau.activated(n); });
    }
    banc.Mesurer("tout voir", [&] { banc.Action("MiToutVoir").trigger(); });
    SelectionnerLaMoitie(t);
    banc.Mesurer("suppression", [&] { banc.Action("MiSupprimerSelection").trigger(); });
    banc.Mesurer("compactage", [&] { banc.Action("MiCompacter").trigger(); });
    t.PFsansext = (dossier + "/copie").toStdString();
    QFile::remove(dossier + "/copie.arkl"); // no question to replace it
    banc.Mesurer("enregistrement", [&] { banc.Action("MiEnregistrer").trigger(); });
    t.Scan.ScanModifie = false;
    f.close();
    return 0;
}

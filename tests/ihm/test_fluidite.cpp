// The window keeps serving its events during a long load: timers fire and a resize is painted
// in each of its steps, not only once it is over.

#include "FenetreEssai.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <map>

namespace {

// A million points on a cube of 1 m in 1 cm steps: each point its own deepest cube.
void EcrireMillePoints(const std::string& chemin) {
    std::string texte;
    texte.reserve(40u * 1000000u);
    char ligne[80];
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j)
            for (int k = 0; k < 100; ++k) {
                const int n = std::snprintf(ligne, sizeof ligne, "%.2f %.2f %.2f %d %d %d\n",
                                            10 + i * 0.01, 20 + j * 0.01, 30 + k * 0.01, i, j, k);
                texte.append(ligne, std::size_t(n));
            }
    EcrireFichier(chemin, texte);
}

// Counts the paint events that reach the widgets of a window.
struct TCompteurPeintures : QObject {
    QWidget& Fenetre;
    int Peintures = 0;
    explicit TCompteurPeintures(QWidget& f) : Fenetre(f) { qApp->installEventFilter(this); }
    ~TCompteurPeintures() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (evenement->type() == QEvent::Paint && objet->isWidgetType() &&
            (objet == &Fenetre || Fenetre.isAncestorOf(static_cast<QWidget*>(objet))))
            ++Peintures;
        return false;
    }
};

} // namespace

TEST(Fluidite, LeChargementLaisseLaFenetreServirSesEvenements) {
    TDossierTemporaire dossier;
    const std::string chemin = dossier.Chemin("cube.xyz");
    EcrireMillePoints(chemin);
    auto f = FenetrePrete();
    const QLabel& statut = Enfant<QLabel>(*f, "SBinfo1");
    TCompteurPeintures compteur(*f);

    // Each tick during the load is counted under the step its status text names; at the first
    // tick of each step the window is resized, and the paints that follow before the next step
    // are counted for that step.
    std::map<QString, int> ticks, peintures;
    QString etape;
    int peinturesAuRedimensionnement = 0;
    QTimer minuterie;
    QObject::connect(&minuterie, &QTimer::timeout, [&] {
        if (!f->Occupe()) return;
        const QString e = statut.text().section(QLatin1Char(' '), 0, 0);
        if (e.isEmpty()) return;
        ++ticks[e];
        if (e != etape) {
            etape = e;
            peinturesAuRedimensionnement = compteur.Peintures;
            f->resize(f->width() + (ticks.size() % 2 ? 30 : -30), f->height());
        }
        peintures[e] = compteur.Peintures - peinturesAuRedimensionnement;
    });
    minuterie.start(10);
    f->OuvrirFichier(QString::fromStdString(chemin));
    minuterie.stop();

    EXPECT_EQ(f->Travail().Scan.NbPoints, 1000000);
    for (const char* e : {"lecture", "tri", "construction"}) {
        SCOPED_TRACE(e);
        EXPECT_GT(ticks[QString::fromLatin1(e)], 0);
        EXPECT_GT(peintures[QString::fromLatin1(e)], 0);
    }
    f->close();
}

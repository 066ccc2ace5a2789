#include "shell/FArkalune.h"

#include "fields/GenEdit.h"
#include "shell/CwinReg.h"
#include "shell/FenetreAide.h"
#include "shell/PlateformeQt.h"
#include "view/GLbox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

namespace {

// The settings' values for the points' colours.
constexpr const char* CleCouleursPoints = "CouleursPoints";
constexpr const char* ValeurCouleursReleve = "releve";
constexpr const char* ValeurCouleursNoir = "noir";

} // namespace

TFArkalune::TFArkalune(QWidget* parent)
    : QMainWindow(parent), plateforme_(std::make_unique<TPlateformeQt>(*this)),
      travail_(std::make_unique<TEspaceTravail>(*plateforme_)),
      reglages_(std::make_unique<TWinReg>(*this, QStringLiteral("FArkalune"))) {
    setObjectName(QStringLiteral("FArkalune"));
    setWindowTitle(QStringLiteral("Calcul de voûte nervurée"));
    setAcceptDrops(true);
    Travail().Vue.DistanceGlissement = QApplication::startDragDistance();
    ConstruireMenus();
    auto* centre = new QWidget;
    auto* colonne = new QVBoxLayout(centre);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(0);
    colonne->addWidget(ConstruireBarreHaut());
    colonne->addWidget(ConstruireOnglets());
    colonne->addWidget(ConstruireAffichage(), 1);
    colonne->addWidget(ConstruireBas());
    setCentralWidget(centre);
    ConstruireBarreEtat();
    resize(765, 472);

    reglages_->OnChargeReg = [this] {
        Travail().DernierScan = reglages_->GetStr("DernierScan");
        Travail().Projet = reglages_->GetStr("Projet");
        Travail().Auteur = reglages_->GetStr("Auteur");
        Travail().Verificateur = reglages_->GetStr("Verificateur");
        Travail().Recents.Lire([this](const std::string& nom) { return reglages_->GetStr(nom); });
        recentsRanges_ = Travail().Recents.Liste();
        // The survey's colours unless black was chosen: a dense survey drawn in black is a
        // solid mass, and a survey without colours is drawn black either way.
        const bool releve = reglages_->GetStr(CleCouleursPoints) != ValeurCouleursNoir;
        Travail().ChoisirCouleursReleve(releve);
        findChild<QAction*>(releve ? QStringLiteral("MiCouleursReleve")
                                   : QStringLiteral("MiCouleursNoir"))
            ->setChecked(true);
    };
    reglages_->OnRangeReg = [this] {
        reglages_->PutStr("DernierScan", Travail().DernierScan);
        reglages_->PutStr("Projet", Travail().Projet);
        reglages_->PutStr("Auteur", Travail().Auteur);
        reglages_->PutStr("Verificateur", Travail().Verificateur);
        reglages_->PutStr(CleCouleursPoints,
                          Travail().CouleursReleve ? ValeurCouleursReleve : ValeurCouleursNoir);
        Travail().Recents.Ecrire([this](const std::string& nom, const std::string& valeur) {
            reglages_->PutStr(nom, valeur);
        });
    };
    // Esc counts only when typed to this window, whatever widget of it has the focus.
    qApp->installEventFilter(this);
    // The first idle moment.
    QTimer::singleShot(0, this, &TFArkalune::PremierRepos);
}

TFArkalune::~TFArkalune() {
    qApp->removeEventFilter(this);
    delete aide_;
    // The fields drive the workspace's field logic: they go while the workspace is still there.
    delete takeCentralWidget();
}

void TFArkalune::PremierRepos() {
    if (initDone_) return;
    initDone_ = true;
    reglages_->ChargeReg();
    VGL_->setCursor(Qt::CrossCursor);
    Commande([this] { Travail().ReinitialiserTravail(); });
    if (!reglages_->Illisible.empty()) Travail().AffiInfo(0, reglages_->Illisible);
    if (!fichierAOuvrir_.isEmpty()) OuvrirFichier(std::exchange(fichierAOuvrir_, QString()));
}

void TFArkalune::OuvrirApresInit(const QString& chemin) {
    // A file dropped while a command lets messages through waits for its end.
    if (initDone_ && !occupe_)
        OuvrirFichier(chemin);
    else
        fichierAOuvrir_ = chemin;
}

bool TFArkalune::Commande(const std::function<void()>& commande, bool actualiser) {
    if (occupe_) {
        QApplication::beep();
        return false;
    }
    occupe_ = true;
    const bool reussi = Travail().Executer(commande);
    occupe_ = false;
    // A file opened or saved is kept among the recent ones at once: a session ended without
    // closing the window must not lose it.
    if (Travail().Recents.Liste() != recentsRanges_) {
        recentsRanges_ = Travail().Recents.Liste();
        reglages_->RangeReg();
    }
    if (bloque_) DebloquerCommandes();
    if (actualiser) ActualiserControles();
    // A rebuild of the view asked for meanwhile waited for the command's end.
    if (preparationDemandee_) QTimer::singleShot(0, this, &TFArkalune::PreparerVue);
    if (initDone_ && !fichierAOuvrir_.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (!fichierAOuvrir_.isEmpty()) OuvrirApresInit(std::exchange(fichierAOuvrir_, {}));
        });
    return reussi;
}

void TFArkalune::AvantTraitementMessages() {
    if (!occupe_ || bloque_) return;
    bloque_ = true;
    focusAvantBlocage_ = QApplication::focusWidget();
    // The menu actions keep their own state (the frozen menus of a picking mode): the bar goes.
    for (QWidget* w :
         {static_cast<QWidget*>(menuBar()), PnTop_, static_cast<QWidget*>(PCavct_), PnBtns_})
        w->setEnabled(false);
}

void TFArkalune::DebloquerCommandes() {
    bloque_ = false;
    for (QWidget* w :
         {static_cast<QWidget*>(menuBar()), PnTop_, static_cast<QWidget*>(PCavct_), PnBtns_})
        w->setEnabled(true);
    if (focusAvantBlocage_) focusAvantBlocage_->setFocus();
}

void TFArkalune::ActualiserControles() {
    TEspaceTravail& t = Travail();
    {
        const QSignalBlocker bloqueur(PCavct_);
        PCavct_->setCurrentIndex(t.OngletActif);
    }
    PCaffi_->setCurrentWidget(t.AffichageNavigateur ? TSresul_ : TSvgl_);
    if (t.AffichageNavigateur) AfficherRapport();
    LbResultats_->setText(QString::fromStdString(t.Etude.LbResultats));
    CmBxNivAff_->setCurrentIndex(t.Scan.NivAffiche);
    if (!EdRotZ_->hasFocus()) EdRotZ_->setText(QString::fromStdString(t.TexteEdRotZ));
    CkBxVoirPoints_->setChecked(t.CkBxVoirPoints);
    CmBxTaillePoints_->setCurrentIndex(t.TaillePointsIndex);
    CkBxEdFront_->setChecked(t.CkBxEdFront);
    CkBxNivAppui_->setChecked(t.Champs.CkBxNivAppui);
    LbNiveauAppui_->setText(QString::fromStdString(t.TexteNiveauAppui()));
    CmBxPtFront_->setCurrentIndex(t.CmBxPtFrontIndex);
    for (TGenEdit* champ : champs_)
        champ->Actualiser();
}

void TFArkalune::AfficherStatut(int panneau, const QString& texte) {
    QLabel* panneauAffiche = panneaux_[panneau == 0 ? 0 : 1];
    panneauAffiche->setText(texte);
    panneauAffiche->setToolTip(texte);
}

void TFArkalune::AfficherAide() {
    if (!aide_) aide_ = new TFAide(VGL_->InfoSurMateriel(), VGL_->ObtenirResolutions());
    aide_->show();
    aide_->raise();
    aide_->activateWindow();
}

bool TFArkalune::eventFilter(QObject* objet, QEvent* evenement) {
    // The 3D view is a native window of its own, which Qt gives the files dropped on it: they
    // open as when dropped anywhere else on the window.
    if (objet == static_cast<QObject*>(VGL_->Surface())) {
        const QEvent::Type type = evenement->type();
        if (type == QEvent::DragEnter || type == QEvent::DragMove) {
            AccepterDepot(*static_cast<QDropEvent*>(evenement));
            return true;
        }
        if (type == QEvent::Drop) {
            dropEvent(static_cast<QDropEvent*>(evenement));
            return true;
        }
    }
    if (evenement->type() == QEvent::Wheel && objet->isWidgetType() &&
        static_cast<QWidget*>(objet)->window() == this)
        return ZoomerMolette(*static_cast<QWheelEvent*>(evenement));
    if (evenement->type() != QEvent::KeyPress || !objet->isWidgetType()) return false;
    auto* touche = static_cast<QKeyEvent*>(evenement);
    if (touche->key() != Qt::Key_Escape) return false;
    auto* w = static_cast<QWidget*>(objet);
    // Counted once, at the first widget the key reaches, and never in a dialog, a message box,
    // a popup or another window: answering "Annuler?" with Esc must not ask it again.
    QWidget* focus = QApplication::focusWidget();
    const bool premier = focus ? w == focus : w == this;
    if (premier && w->window() == this && !QApplication::activePopupWidget() &&
        (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == this))
        Travail().Executer([this] { Travail().ToucheEchap(); });
    return false;
}

void TFArkalune::closeEvent(QCloseEvent* evenement) {
    bool fermer = false;
    Commande([&] { fermer = Travail().DemanderEnregistrement(); });
    if (!fermer) {
        evenement->ignore();
        return;
    }
    reglages_->RangeReg();
    if (aide_) aide_->close();
    evenement->accept();
}

void TFArkalune::dragEnterEvent(QDragEnterEvent* evenement) {
    AccepterDepot(*evenement);
}

void TFArkalune::AccepterDepot(QDropEvent& evenement) {
    if (evenement.mimeData()->hasUrls() && !occupe_) evenement.acceptProposedAction();
}

void TFArkalune::dropEvent(QDropEvent* evenement) {
    const QList<QUrl> urls = evenement->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    evenement->acceptProposedAction();
    const QString chemin = urls.first().toLocalFile();
    // Not inside the drop: the question and the load run their own event loops.
    QTimer::singleShot(0, this, [this, chemin] { OuvrirApresInit(chemin); });
}

// The 3D view in the main window: its scene, the point batch rebuilt before the paint, the mouse,
// the wheel over the whole window, the rubber band, the focus and the copy of the picture.

#include "shell/FArkalune.h"
#include "shell/PlateformeQt.h"
#include "view/GLbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Without a move for this long, the motion has ended.
constexpr int PauseFinMouvementMs = 150;

} // namespace

TGLbox* TFArkalune::ConstruireVue(QWidget* parent) {
    auto* vue = new TGLbox(parent);
    vue->setObjectName(QStringLiteral("VGL"));
    TEspaceTravail& t = Travail();
    vue->FixerScene([&t](std::int32_t l, std::int32_t h) { return t.VGLDraw(l, h); });
    connect(vue, &TGLbox::LotARefaire, this, [&t] { t.RetracerPoints(); });
    connect(vue, &TGLbox::ErreurTrace, this,
            [this](const QString& message) { plateforme_->AfficherErreur(message.toStdString()); });
    connect(vue, &TGLbox::SourisEnfoncee, this,
            [this, &t](TPointEcran p, Qt::MouseButton, bool shift) {
                EvenementVue(
                    shift, [&t, p] { t.VGLMouseDown(p.X, p.Y); }, false);
            });
    connect(vue, &TGLbox::SourisDeplacee, this,
            [this, &t](TPointEcran p, TBoutonsSouris boutons, bool shift) {
                if (occupe_) return;
                if (t.ScanPret && !t.Drawing && !(p == t.Vue.mouseold)) DonnerFocusVue();
                EvenementVue(
                    shift, [&t, p, boutons] { t.VGLMouseMove(boutons, p.X, p.Y); }, false);
                // The band is laid over the picture, which is not drawn again meanwhile.
                VGL_->AfficherBande(t.BandeSelection);
            });
    connect(vue, &TGLbox::SourisRelachee, this,
            [this, &t](TPointEcran p, Qt::MouseButton bouton, bool shift, bool ctrl) {
                EvenementVue(shift, [&t, p, bouton, ctrl] {
                    t.VGLMouseUp(p.X, p.Y, bouton == Qt::LeftButton, ctrl);
                });
                VGL_->AfficherBande(t.BandeSelection);
            });
    // The full picture once the camera has not moved for a moment.
    finMouvement_ = new QTimer(this);
    finMouvement_->setSingleShot(true);
    finMouvement_->setInterval(PauseFinMouvementMs);
    connect(finMouvement_, &QTimer::timeout, this, [this, &t] {
        t.Vue.EnMouvement = false;
        VGL_->Redessiner();
    });
    return vue;
}

void TFArkalune::EvenementVue(bool shift, const std::function<void()>& commande, bool actualiser) {
    if (occupe_) return;
    plateforme_->PendantEvenement(shift, [&] { Commande(commande, actualiser); });
}

void TFArkalune::RedessinerVue() {
    if (Travail().Vue.EnMouvement && finMouvement_) finMouvement_->start();
    // No scan ready (a load running or failed): the view is painted blank at once, so that no
    // picture of the scan that was dropped stays on screen meanwhile.
    if (!Travail().ScanPret || !Travail().Vue.PointsPerimes) {
        VGL_->Redessiner();
        return;
    }
    // Its progress texts let messages through and may ask "Annuler?": never inside the paint, and
    // once for every request of the command.
    if (preparationDemandee_) return;
    preparationDemandee_ = true;
    QTimer::singleShot(0, this, &TFArkalune::PreparerVue);
}

void TFArkalune::PreparerVue() {
    // Asked again at the end of the running command.
    if (!preparationDemandee_ || occupe_) return;
    preparationDemandee_ = false;
    Commande([this] { Travail().PreparerScene(); }, false);
    VGL_->Redessiner();
}

void TFArkalune::DonnerFocusVue() {
    // A field being edited keeps the keyboard: the pointer only crosses the view.
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget())) return;
    VGL_->setFocus(Qt::MouseFocusReason);
}

bool TFArkalune::ZoomerMolette(const QWheelEvent& e) {
    if (PCaffi_->currentWidget() != TSvgl_) return false;
    // Some systems turn a wheel with a modifier into a horizontal one.
    const int delta = e.angleDelta().y() != 0 ? e.angleDelta().y() : e.angleDelta().x();
    if (delta == 0) return false;
    const QPoint p = VGL_->mapFromGlobal(e.globalPosition().toPoint());
    bool traite = false;
    EvenementVue(e.modifiers().testFlag(Qt::ShiftModifier), [&] {
        Travail().FormMouseWheel(delta, {p.x(), p.y()}, traite);
    });
    return true;
}

void TFArkalune::CopierImageVue() {
    VGL_->CopyToClipboard();
}

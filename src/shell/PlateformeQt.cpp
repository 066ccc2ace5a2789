#include "shell/PlateformeQt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

namespace {
// Every menu item, depth first in menu order: an item, then its sub-items, then the next item.
template <class F> void ParcourirMenus(const QList<QAction*>& actions, F&& f) {
    for (QAction* a : actions) {
        f(*a);
        if (QMenu* sousMenu = a->menu()) ParcourirMenus(sousMenu->actions(), f);
    }
}
} // namespace

TPlateformeQt::TPlateformeQt(QMainWindow& fenetre) : fenetre_(fenetre) {
    for (int n = 0; n < 2; ++n) {
        panneaux_[n] = new QLabel(&fenetre);
        fenetre.statusBar()->addWidget(panneaux_[n], n);
    }
    panneaux_[0]->setMinimumWidth(400);
}

void TPlateformeQt::AfficherStatut(int panneau, const std::string& texte) {
    panneaux_[panneau == 0 ? 0 : 1]->setText(QString::fromStdString(texte));
}

void TPlateformeQt::TraiterMessages() {
    QApplication::processEvents();
}

TReponse TPlateformeQt::Demander(const std::string& question) {
    const auto r =
        QMessageBox::question(&fenetre_, fenetre_.windowTitle(), QString::fromStdString(question),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (r == QMessageBox::Yes) return TReponse::Oui;
    if (r == QMessageBox::No) return TReponse::Non;
    return TReponse::Annulee;
}

void TPlateformeQt::AfficherMessage(const std::string& message) {
    QMessageBox::information(&fenetre_, fenetre_.windowTitle(), QString::fromStdString(message));
}

void TPlateformeQt::FixerTitre(const std::string& titre) {
    fenetre_.setWindowTitle(QString::fromStdString(titre));
}

void TPlateformeQt::FixerCurseur(int numero) {
    if (curseur_ != 0) QGuiApplication::restoreOverrideCursor();
    curseur_ = numero;
    if (numero != 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

bool TPlateformeQt::ShiftEnfonce() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

std::string TPlateformeQt::EtatMenus() {
    std::string etat;
    ParcourirMenus(fenetre_.menuBar()->actions(),
                   [&](QAction& a) { etat += a.isEnabled() ? 'T' : 'F'; });
    return etat;
}

void TPlateformeQt::FixerEtatMenus(const std::string& etat) {
    std::size_t n = 0;
    ParcourirMenus(fenetre_.menuBar()->actions(), [&](QAction& a) {
        a.setEnabled(n < etat.size() && etat[n] == 'T');
        ++n;
    });
}

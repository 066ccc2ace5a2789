#include "shell/PlateformeQt.h"

#include "shell/FArkalune.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Every menu item, depth first in menu order: an item, then its sub-items, then the next item.
template <class F> void ParcourirMenus(const QList<QAction*>& actions, F&& f) {
    for (QAction* a : actions) {
        f(*a);
        if (QMenu* sousMenu = a->menu()) ParcourirMenus(sousMenu->actions(), f);
    }
}

// A menu's own state is its widget's: while the menu bar is disabled (commands blocked during a
// long one), the menus follow it and their actions say disabled; given back, they would say
// enabled again whatever they had been given.
bool Actif(const QAction& a) {
    if (const QMenu* menu = a.menu()) return !menu->testAttribute(Qt::WA_ForceDisabled);
    return a.isEnabled();
}

void Activer(QAction& a, bool actif) {
    if (QMenu* menu = a.menu())
        menu->setEnabled(actif); // its action follows
    else
        a.setEnabled(actif);
}

// In UTF-8 like every file name of the program (on Windows, getenv would give the ANSI code
// page, which cannot name every folder).
std::string CheminJournal() {
    return qEnvironmentVariable("ARKALUNE_JOURNAL").toStdString();
}

const char* NomReponse(TReponse r) {
    return r == TReponse::Oui ? "Oui" : r == TReponse::Non ? "Non" : "sans réponse";
}
} // namespace

TPlateformeQt::TPlateformeQt(TFArkalune& fenetre) : fenetre_(fenetre), journal_(CheminJournal()) {}

void TPlateformeQt::AfficherStatut(int panneau, const std::string& texte) {
    journal_.Ecrire("statut " + std::to_string(panneau == 0 ? 0 : 1), texte);
    fenetre_.AfficherStatut(panneau, QString::fromStdString(texte));
}

void TPlateformeQt::TraiterMessages() {
    fenetre_.AvantTraitementMessages();
    QApplication::processEvents();
}

TReponse TPlateformeQt::Demander(const std::string& question, TReponse parDefaut) {
    QMessageBox boite(QMessageBox::Question, QString::fromLatin1(TitreMessages),
                      QString::fromStdString(question),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &fenetre_);
    // Esc and the close box press this hidden button: a dismissed question is no answer.
    boite.button(QMessageBox::Cancel)->hide();
    boite.setDefaultButton(parDefaut == TReponse::Non ? QMessageBox::No : QMessageBox::Yes);
    const int r = boite.exec();
    const TReponse reponse = r == QMessageBox::Yes  ? TReponse::Oui
                             : r == QMessageBox::No ? TReponse::Non
                                                    : TReponse::Annulee;
    journal_.Ecrire("question", question + " -> " + NomReponse(reponse));
    return reponse;
}

void TPlateformeQt::AfficherMessage(const std::string& message) {
    Montrer(QMessageBox::Information, message);
}

void TPlateformeQt::AfficherErreur(const std::string& message) {
    Montrer(QMessageBox::Warning, message);
}

void TPlateformeQt::Montrer(int icone, const std::string& message) {
    journal_.Ecrire("message", message);
    QMessageBox boite(QMessageBox::Icon(icone), QString::fromLatin1(TitreMessages),
                      QString::fromStdString(message), QMessageBox::Ok, &fenetre_);
    boite.exec();
}

void TPlateformeQt::FixerTitre(const std::string& titre) {
    fenetre_.setWindowTitle(QString::fromStdString(titre));
}

std::string TPlateformeQt::EnregistrerAilleurs(const std::string& cible) {
    return fenetre_.EnregistrerAilleurs(cible);
}

void TPlateformeQt::FixerCurseur(int numero) {
    if (curseur_ != 0) QGuiApplication::restoreOverrideCursor();
    curseur_ = numero;
    if (numero != 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

bool TPlateformeQt::ShiftEnfonce() {
    if (shiftEvenement_) return *shiftEvenement_;
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void TPlateformeQt::PendantEvenement(bool shift, const std::function<void()>& traitement) {
    struct TGarde {
        std::optional<bool>& valeur;
        std::optional<bool> avant;
        ~TGarde() { valeur = avant; }
    } garde{shiftEvenement_, shiftEvenement_};
    shiftEvenement_ = shift;
    traitement();
}

void TPlateformeQt::RedessinerVue() {
    fenetre_.RedessinerVue();
}

std::string TPlateformeQt::EtatMenus() {
    std::string etat;
    ParcourirMenus(fenetre_.menuBar()->actions(),
                   [&](QAction& a) { etat += Actif(a) ? 'T' : 'F'; });
    return etat;
}

void TPlateformeQt::FixerEtatMenus(const std::string& etat) {
    std::size_t n = 0;
    ParcourirMenus(fenetre_.menuBar()->actions(), [&](QAction& a) {
        Activer(a, n < etat.size() && etat[n] == 'T');
        ++n;
    });
}

#include "Modales.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

TReponsesModales::TReponsesModales(std::deque<TReponse> reponses) : reponses_(std::move(reponses)) {
    QObject::connect(&minuterie_, &QTimer::timeout, [this] {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale || reponses_.empty() || (modale == derniere_ && modale->isVisible())) return;
        if (!modale->isVisible()) return;
        derniere_ = modale;
        if (auto* boite = qobject_cast<QMessageBox*>(modale)) textes_ << boite->text();
        const TReponse reponse = reponses_.front();
        reponses_.pop_front();
        reponse(*modale);
    });
    minuterie_.start(20);
}

namespace {
void Cliquer(QWidget& boite, QMessageBox::StandardButton bouton) {
    static_cast<QMessageBox&>(boite).button(bouton)->click();
}
} // namespace

void Oui(QWidget& boite) {
    Cliquer(boite, QMessageBox::Yes);
}
void Non(QWidget& boite) {
    Cliquer(boite, QMessageBox::No);
}
void Echap(QWidget& boite) {
    QTest::keyClick(&boite, Qt::Key_Escape);
}
void Entree(QWidget& boite) {
    QTest::keyClick(&boite, Qt::Key_Return);
}
void CaseFermeture(QWidget& boite) {
    boite.close();
}
void Valider(QWidget& boite) {
    if (auto* b = qobject_cast<QMessageBox*>(&boite))
        b->defaultButton() ? b->defaultButton()->click() : b->accept();
    else
        static_cast<QDialog&>(boite).accept();
}

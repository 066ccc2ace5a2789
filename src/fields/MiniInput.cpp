#include "fields/MiniInput.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

QFont Arial(int hauteurPixels) {
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(hauteurPixels);
    return police;
}

bool EstValidationOuAbandon(const QKeyEvent& e) {
    return e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter || e.key() == Qt::Key_Escape;
}

} // namespace

TFMiniInput::TFMiniInput(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Pn_(new QWidget(this)),
      Label1_(new QLabel(QStringLiteral("expression ?"), Pn_)), Ed_(new QLineEdit(Pn_)) {
    setObjectName(QStringLiteral("FMiniInput"));
    setFont(Arial(14));
    Pn_->setObjectName(QStringLiteral("Pn"));
    Pn_->setAutoFillBackground(true);
    // The colours of an active window's caption.
    QPalette couleurs = Pn_->palette();
    couleurs.setColor(QPalette::Window, couleurs.color(QPalette::Active, QPalette::Highlight));
    couleurs.setColor(QPalette::WindowText,
                      couleurs.color(QPalette::Active, QPalette::HighlightedText));
    Pn_->setPalette(couleurs);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignCenter);
    Label1_->setFont(Arial(7));
    Ed_->setObjectName(QStringLiteral("Ed"));
    Ed_->installEventFilter(this);
    installEventFilter(this);
    Ed_->setToolTip(QStringLiteral("entrez une expression ; accepte +-*/()^\n"
                                   "et les fonctions sin cos tan arcsin,cos,tan, sinh, ..., "
                                   "log10, ln"));
}

void TFMiniInput::Placer(QPoint origine, int largeur, const QString& indice) {
    const QString aide =
        indice.isEmpty() ? QStringLiteral("tapez une expression à calculer") : indice;
    Pn_->setToolTip(aide);
    Label1_->setToolTip(aide);
    const int largeurPn = std::max(largeur + 6, 98);
    Pn_->setGeometry(0, 0, largeurPn, 47);
    Label1_->setGeometry(0, 0, largeurPn, 13);
    Ed_->setGeometry(4, 16, largeur, 26);
    Ed_->setMinimumWidth(largeur);
    setFixedSize(Pn_->size());
    move(origine - QPoint(4, 14));
}

// The popup sees Enter and Esc before its edit box, and acts on their release, so that no half of
// the key reaches the window under the popup once it has closed.
bool TFMiniInput::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(objet, e);
    auto* touche = static_cast<QKeyEvent*>(e);
    if (!EstValidationOuAbandon(*touche)) return QDialog::eventFilter(objet, e);
    if (e->type() == QEvent::KeyRelease && !touche->isAutoRepeat())
        done(touche->key() == Qt::Key_Escape ? Rejected : Accepted);
    return true;
}

bool SaisirExpression(QPoint origine, int largeur, const QString& indice, QString& texte,
                      QWidget* parent) {
    TFMiniInput popup(parent);
    popup.Placer(origine, largeur, indice);
    popup.Ed()->setText(texte);
    popup.Ed()->selectAll();
    if (popup.exec() != QDialog::Accepted) return false;
    texte = popup.Ed()->text();
    return true;
}

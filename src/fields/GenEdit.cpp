#include "fields/GenEdit.h"

TGenEdit::TGenEdit(TCustomGenEdit& logique, QWidget* parent)
    : QLineEdit(parent), logique_(logique) {
    setObjectName(QString::fromStdString(logique.Name()));
    Actualiser();
    connect(this, &QLineEdit::textEdited, this, [this](const QString& texte) {
        logique_.TypeText(texte.toStdString());
        emit Modifie();
    });
}

void TGenEdit::Actualiser() {
    const QString texte = QString::fromStdString(logique_.Text());
    if (texte != text()) setText(texte);
}

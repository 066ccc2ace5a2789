#include "shell/FenetreAide.h"

#include <QTextBrowser>
#include <QVBoxLayout>

TFAide::TFAide(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FAide"));
    setWindowTitle(QStringLiteral("Aide d'Arkalune"));
    navigateur_ = new QTextBrowser(this);
    navigateur_->setObjectName(QStringLiteral("NavigateurAide"));
    navigateur_->setSource(QUrl(QStringLiteral("qrc:/aide/aide.html")));
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(navigateur_);
    resize(640, 600);
}

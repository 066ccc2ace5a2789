#include "shell/FenetreAide.h"

#include <QTextBrowser>
#include <QTextCursor>
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

void TFAide::AfficherMateriel(const QStringList& info, const QStringList& modes) {
    const auto bloc = [](const QStringList& lignes) {
        return "<pre>" + lignes.join('\n').toHtmlEscaped() + "</pre>";
    };
    QTextCursor fin(navigateur_->document());
    fin.movePosition(QTextCursor::End);
    fin.insertHtml(QStringLiteral("<h2><a name=\"materiel\"></a>11. Matériel graphique</h2>") +
                   bloc(info) + QStringLiteral("<p><b>Modes d'affichage</b></p>") +
                   bloc(modes.isEmpty() ? QStringList{QStringLiteral("aucun mode connu")} : modes));
}

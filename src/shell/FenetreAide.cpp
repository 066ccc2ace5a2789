#include "shell/FenetreAide.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QUrl AdresseAide(QStringLiteral("qrc:/aide/aide.html"));

QString Bloc(const QStringList& lignes) {
    return "<pre>" + lignes.join('\n').toHtmlEscaped() + "</pre>";
}

// The document with its section of the moment; the browser asks for it again at each link into
// it, which would otherwise lose the section.
class TNavigateurAide : public QTextBrowser {
public:
    TNavigateurAide(QString document, QWidget* parent)
        : QTextBrowser(parent), document_(std::move(document)) {}

    QVariant loadResource(int genre, const QUrl& nom) override {
        if (genre == QTextDocument::HtmlResource &&
            nom.adjusted(QUrl::RemoveFragment) == AdresseAide)
            return document_;
        return QTextBrowser::loadResource(genre, nom);
    }

private:
    QString document_;
};

QString Document(const QStringList& materiel, const QStringList& modes) {
    QFile fichier(AdresseAide.path().prepend(':'));
    fichier.open(QIODevice::ReadOnly);
    QString document = QString::fromUtf8(fichier.readAll());
    const QString section =
        QStringLiteral("<h2><a name=\"materiel\"></a>11. Matériel graphique</h2>") +
        Bloc(materiel) + QStringLiteral("<p><b>Modes d'affichage</b></p>") +
        Bloc(modes.isEmpty() ? QStringList{QStringLiteral("aucun mode connu")} : modes);
    return document.replace(QStringLiteral("</body>"), section + QStringLiteral("</body>"));
}

} // namespace

TFAide::TFAide(const QStringList& materiel, const QStringList& modes, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FAide"));
    setWindowTitle(QStringLiteral("Aide d'Arkalune"));
    navigateur_ = new TNavigateurAide(Document(materiel, modes), this);
    navigateur_->setObjectName(QStringLiteral("NavigateurAide"));
    navigateur_->setSource(AdresseAide);
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(navigateur_);
    resize(640, 600);
}

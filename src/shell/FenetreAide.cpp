#include "shell/FenetreAide.h"

#include "shell/OptionsCalcul.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QUrl AdresseAide(QStringLiteral("qrc:/aide/aide.html"));
// The graphics driver's long list of extensions, on a page of its own behind a "détails" link.
const QUrl AdresseExtensions(QStringLiteral("qrc:/aide/extensions.html"));

// The index of the line that heads the extensions in the hardware report; its size when none.
qsizetype LigneExtensions(const QStringList& materiel) {
    const qsizetype i = materiel.indexOf(QStringLiteral("    Extensions supportées: "));
    return i < 0 ? materiel.size() : i;
}

QString Bloc(const QStringList& lignes) {
    return "<pre>" + lignes.join('\n').toHtmlEscaped() + "</pre>";
}

// The documents made at the window's opening, with their sections of the moment; the browser
// asks for them again at each link, which would otherwise lose those sections.
class TNavigateurAide : public QTextBrowser {
public:
    TNavigateurAide(QString document, QString extensions, QWidget* parent)
        : QTextBrowser(parent), document_(std::move(document)), extensions_(std::move(extensions)) {
    }

    QVariant loadResource(int genre, const QUrl& nom) override {
        if (genre == QTextDocument::HtmlResource) {
            const QUrl page = nom.adjusted(QUrl::RemoveFragment);
            if (page == AdresseAide) return document_;
            if (page == AdresseExtensions) return extensions_;
        }
        return QTextBrowser::loadResource(genre, nom);
    }

private:
    QString document_;
    QString extensions_;
};

QString Document(const QStringList& materiel, const QStringList& modes) {
    QFile fichier(AdresseAide.path().prepend(':'));
    fichier.open(QIODevice::ReadOnly);
    QString document = QString::fromUtf8(fichier.readAll());
    // The batch command's synopsis, from the table its usage text is written from.
    document.replace(
        QStringLiteral("<!--synopsis arkalune-calcul-->"),
        QString::fromStdString(SynopsisCalcul("", std::string::npos, 0)).toHtmlEscaped());
    const qsizetype debut = LigneExtensions(materiel);
    QString section = QStringLiteral("<h2><a name=\"materiel\"></a>11. Matériel graphique</h2>") +
                      Bloc(materiel.mid(0, debut));
    if (debut < materiel.size())
        section += QStringLiteral("<p>Extensions OpenGL : %1 (<a href=\"%2\">détails</a>)</p>")
                       .arg(materiel.size() - debut - 1)
                       .arg(AdresseExtensions.toString());
    section += QStringLiteral("<p><b>Modes d'affichage</b></p>") +
               Bloc(modes.isEmpty() ? QStringList{QStringLiteral("aucun mode connu")} : modes);
    return document.replace(QStringLiteral("</body>"), section + QStringLiteral("</body>"));
}

QString DocumentExtensions(const QStringList& materiel) {
    QStringList extensions;
    for (const QString& ligne : materiel.mid(LigneExtensions(materiel) + 1))
        extensions << ligne.trimmed();
    return QStringLiteral("<html><body><h2>Extensions OpenGL</h2>") + Bloc(extensions) +
           QStringLiteral("<p><a href=\"%1#materiel\">Retour à l'aide</a></p></body></html>")
               .arg(AdresseAide.toString());
}

} // namespace

TFAide::TFAide(const QStringList& materiel, const QStringList& modes, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FAide"));
    setWindowTitle(QStringLiteral("Aide d'Arkalune"));
    navigateur_ =
        new TNavigateurAide(Document(materiel, modes), DocumentExtensions(materiel), this);
    navigateur_->setObjectName(QStringLiteral("NavigateurAide"));
    navigateur_->setSource(AdresseAide);
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(navigateur_);
    resize(640, 600);
}

// The tab sequence on the page control, the report in the browser page, its copy and export.

#include "html/HtmlUtils.h"
#include "html/TexteHtml.h"
#include "shell/CwinReg.h"
#include "shell/DialogueSignataires.h"
#include "shell/FArkalune.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "vault/FigurePeinte.h"
#include "vault/RapportImprime.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextBrowser>

namespace {

// The whole document the browser shows, the one copied and exported.
std::string DocumentRapport(const std::string& rapport) {
    return "<HTML><HEAD><META charset=\"utf-8\"><TITLE>Arkalune</TITLE></HEAD><BODY>" + rapport +
           "</BODY></HTML>";
}

// The report exported to a file the user chooses; an empty name when the choice was cancelled.
QString CheminExport(QWidget* parent, const QString& titre, const QString& proposition,
                     const QString& filtre) {
    return QFileDialog::getSaveFileName(parent, titre, proposition, filtre);
}

const char* const AucunRapport =
    "aucun rapport : menez l'étude jusqu'à l'onglet « Résultats » avant de l'exporter ou de "
    "l'imprimer";

} // namespace

const std::string& TFArkalune::RapportAffiche() const {
    if (documentAffiche_.empty()) throw EErreur(AucunRapport);
    return Travail().Etude.ResulNdC;
}

void TFArkalune::PCavctChange(int t) {
    TEspaceTravail& w = Travail();
    if (!Commande([&w, t] { w.ChangerOnglet(t); }) && !occupe_) {
        // A step that failed leaves the user where they came from, with no report shown as
        // current.
        w.OngletActif = w.OngletQuitte;
        w.AffichageNavigateur = w.OngletActif == 3;
        documentAffiche_.clear();
        WB_->clear();
        ActualiserControles();
    }
    const QSignalBlocker bloqueur(PCavct_);
    PCavct_->setCurrentIndex(w.OngletActif);
}

void TFArkalune::AfficherRapport() {
    const std::string document = DocumentRapport(Travail().Etude.ResulNdC);
    if (document == documentAffiche_) return;
    documentAffiche_ = document;
    FournirFigure(*WB_->document(), Travail().Etude.FigureNdC, WB_->devicePixelRatioF());
    WB_->setHtml(QString::fromStdString(document));
}

void TFArkalune::BtResulPPClick() {
    Commande([this] {
        if (PCavct_->currentIndex() <= 2) return CopierImageVue();
        if (documentAffiche_.empty()) return;
        auto* donnees = new QMimeData;
        // Each table row on one line, its cells separated by tabs: columns in a spreadsheet.
        donnees->setText(QString::fromStdString(TexteBrutHtml(Travail().Etude.ResulNdC)));
        donnees->setHtml(QString::fromStdString(documentAffiche_));
#ifdef Q_OS_WIN
        // Our own offsets: the bytes that word processors read.
        const std::string fragment = TexteHtmlFormat(documentAffiche_, "", "");
        donnees->setData(QStringLiteral("application/x-qt-windows-mime;value=\"HTML Format\""),
                         QByteArray(fragment.data(), qsizetype(fragment.size())));
#endif
        QGuiApplication::clipboard()->setMimeData(donnees);
    });
}

void TFArkalune::ExporterPdf() {
    Commande([this] {
        const std::string& rapport = RapportAffiche();
        const QString chemin = CheminExport(this, QStringLiteral("Exporter en PDF"),
                                            CheminPropose(QStringLiteral(".pdf")),
                                            QStringLiteral("document PDF (*.pdf)"));
        if (chemin.isEmpty()) return;
        const QByteArray octets =
            RapportEnPdf(rapport, Travail().Etude.Contexte, Travail().Etude.FigureNdC);
        if (octets.isEmpty()) throw EErreur("le document PDF n'a pas pu être produit");
        RemplacerFichier(chemin.toStdString(),
                         std::string_view(octets.constData(), std::size_t(octets.size())));
    });
}

void TFArkalune::ExporterHtml() {
    Commande([this] {
        RapportAffiche();
        const QString chemin = CheminExport(this, QStringLiteral("Exporter en HTML"),
                                            CheminPropose(QStringLiteral(".html")),
                                            QStringLiteral("page HTML (*.html *.htm)"));
        if (chemin.isEmpty()) return;
        RemplacerFichier(chemin.toStdString(), documentAffiche_);
    });
}

void TFArkalune::Imprimer() {
    Commande([this] {
        const std::string& rapport = RapportAffiche();
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setPageSize(QPageSize(QPageSize::A4));
        imprimante.setDocName(QStringLiteral("Arkalune"));
        imprimante.setCreator(CreateurDocument());
        QPrintDialog dialogue(&imprimante, this);
        dialogue.setObjectName(QStringLiteral("DlgImprimer"));
        // Qt's own dialog proposes a file in the home folder for a print to a file; its field
        // takes ours (a file name given to the printer would make the file its default choice).
        if (auto* fichier = dialogue.findChild<QLineEdit*>(QStringLiteral("filename")))
            fichier->setText(CheminPropose(QStringLiteral(".pdf")));
        if (dialogue.exec() != QDialog::Accepted) return;
        ImprimerRapport(rapport, Travail().Etude.Contexte, Travail().Etude.FigureNdC, imprimante);
    });
}

void TFArkalune::Signataires() {
    TEspaceTravail& t = Travail();
    TSignataires s{t.Projet, t.Auteur, t.Verificateur};
    if (!DemanderSignataires(this, s)) return;
    Commande([&] { t.FixerSignataires(s.Projet, s.Auteur, s.Verificateur); });
    reglages_->RangeReg();
}

#include "vault/RapportImprime.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <vector>

namespace {

constexpr double PoliceCorps = 10; // points
constexpr double PolicePied = 8;   // points
constexpr double MargeMm = 18;

const char* const BlocTitre =
    "<TABLE width=\"100%\" border=\"1\" cellpadding=\"8\" cellspacing=\"0\"><TR><TD>"
    "<P style=\"font-size:16pt\"><B>Arkalune</B></P>"
    "<P style=\"font-size:12pt\">Actions à l'appui de l'arc d'arêtier d'une voûte nervurée</P>"
    "</TD></TR></TABLE>";

// A line break inside a paragraph becomes a paragraph of its own, with no space between the two:
// the page layout then knows each line, and a heading line can go to the next page alone.
void SeparerLignes(QTextDocument& doc) {
    QTextCursor c(&doc);
    while (!(c = doc.find(QString(QChar::LineSeparator), c)).isNull()) {
        QTextBlockFormat avant = c.blockFormat();
        QTextBlockFormat apres = avant;
        avant.setBottomMargin(0);
        apres.setTopMargin(0);
        c.setBlockFormat(avant);
        c.insertBlock(apres);
    }
}

// The tables of the document, in order (the report's are not nested).
std::vector<QTextTable*> Tables(QTextFrame* cadre) {
    std::vector<QTextTable*> tables;
    for (QTextFrame* enfant : cadre->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(enfant)) tables.push_back(t);
        for (QTextTable* t : Tables(enfant))
            tables.push_back(t);
    }
    return tables;
}

int Page(const QTextDocument& doc, const QTextBlock& bloc) {
    const qreal haut = doc.documentLayout()->blockBoundingRect(bloc).top();
    return int(std::floor(haut / doc.pageSize().height()));
}

// The nearest block before `bloc` that shows text; invalid when there is none.
QTextBlock TexteAvant(QTextBlock bloc) {
    do
        bloc = bloc.previous();
    while (bloc.isValid() && bloc.text().trimmed().isEmpty());
    return bloc;
}

// `titre` starts the page of `suite` when it would otherwise end the previous one.
void GarderAvec(QTextDocument& doc, const QTextBlock& titre, const QTextBlock& suite) {
    if (!titre.isValid() || !suite.isValid()) return;
    doc.documentLayout()->documentSize(); // lays the document out up to date
    if (Page(doc, titre) == Page(doc, suite)) return;
    QTextCursor c(titre);
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.setBlockFormat(f);
}

// The line that introduces each table (the last one with text before it) stays with the table's
// first row; a table that runs on repeats its heading row.
void GarderTitresAvecTables(QTextDocument& doc) {
    for (QTextTable* table : Tables(doc.rootFrame())) {
        QTextTableFormat format = table->format();
        format.setHeaderRowCount(1);
        table->setFormat(format);
        GarderAvec(doc, TexteAvant(doc.findBlock(table->firstPosition())),
                   table->cellAt(0, 0).firstCursorPosition().block());
    }
}

} // namespace

void ImprimerRapport(const std::string& rapport, QPagedPaintDevice& support) {
    support.setPageMargins(QMarginsF(MargeMm, MargeMm, MargeMm, MargeMm), QPageLayout::Millimeter);
    const QRectF zone = support.pageLayout().paintRectPixels(support.logicalDpiY());
    QFont pied(QStringLiteral("Arial"));
    pied.setPointSizeF(PolicePied);
    const qreal hauteurPied = 2.5 * PolicePied / 72 * support.logicalDpiY();

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&support);
    QFont corps(QStringLiteral("Arial"));
    corps.setPointSizeF(PoliceCorps);
    doc.setDefaultFont(corps);
    doc.setDocumentMargin(0);
    doc.setPageSize(QSizeF(zone.width(), zone.height() - hauteurPied));
    doc.setHtml(QString::fromUtf8(BlocTitre) + QString::fromStdString(rapport));
    SeparerLignes(doc);
    // The layout follows block insertions only in part (lines went missing from the pages): it
    // is made again whole.
    doc.markContentsDirty(0, doc.characterCount());
    GarderTitresAvecTables(doc);

    const int nbPages = doc.pageCount();
    const qreal hauteurPage = doc.pageSize().height();
    QPainter peintre(&support);
    for (int i = 0; i < nbPages; ++i) {
        if (i > 0) support.newPage();
        peintre.save();
        peintre.translate(0, -i * hauteurPage);
        // The layout draws every block that meets the rectangle, whole: the first line of the next
        // page starts a fraction of a pixel above its top and must not be drawn here too.
        const QRectF page(0, i * hauteurPage, zone.width(), hauteurPage);
        peintre.setClipRect(page);
        doc.drawContents(&peintre, page.adjusted(0, 0, 0, -1));
        peintre.restore();
        peintre.setFont(pied);
        peintre.drawText(QRectF(0, zone.height() - hauteurPied, zone.width(), hauteurPied),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("page %1 / %2").arg(i + 1).arg(nbPages));
    }
}

QByteArray RapportEnPdf(const std::string& rapport) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&tampon);
        pdf.setTitle(QStringLiteral("Arkalune : actions à l'appui de l'arc d'arêtier"));
        pdf.setCreator(QStringLiteral("Arkalune"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        ImprimerRapport(rapport, pdf);
    }
    return octets;
}

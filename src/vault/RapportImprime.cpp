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

#include "html/TexteHtml.h"
#include "util/Version.h"
#include "vault/FigurePeinte.h"
#include "vault/RapportResultats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double PoliceCorps = 10; // points
constexpr double PolicePied = 8;   // points
constexpr double MargeMm = 18;
constexpr double LargeurMinTitree = 70; // percent of the page, a table that carries its title
constexpr double FinesseFigure = 4;     // the figure's pixels per unit of its size in the page

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

// A paragraph of several lines is not cut by a page: the layout draws a block that meets a page
// whole, so its lines would be on both pages (hidden on one, yet in its text).
void GarderParagraphesEntiers(QTextDocument& doc) {
    const qreal hauteur = doc.pageSize().height();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (QTextCursor(b).currentTable() != nullptr) continue;
        doc.documentLayout()->documentSize(); // lays the document out up to date
        const QRectF r = doc.documentLayout()->blockBoundingRect(b);
        if (std::floor(r.top() / hauteur) == std::floor((r.bottom() - 1) / hauteur)) continue;
        QTextCursor c(b);
        QTextBlockFormat f = c.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.setBlockFormat(f);
    }
}

// A line of text outside the tables that announces what follows (it ends with ":").
bool EstTitre(const QTextBlock& bloc) {
    return bloc.isValid() && QTextCursor(bloc).currentTable() == nullptr &&
           bloc.text().trimmed().endsWith(QLatin1Char(':'));
}

// The line that introduces each table becomes its first row, repeated with its column titles
// when the table runs on to another page: a continued table still says what it is. The headings
// just before it (a run of lines ending with ":") stay on the page of its first row of values.
void GarderTitresAvecTables(QTextDocument& doc) {
    for (QTextTable* table : Tables(doc.rootFrame())) {
        QTextTableFormat format = table->format();
        int lignesTitre = 1;
        const QTextBlock titre = TexteAvant(doc.findBlock(table->firstPosition()));
        if (EstTitre(titre)) {
            const QString texte = titre.text().trimmed();
            QTextCursor c(titre);
            c.select(QTextCursor::BlockUnderCursor);
            c.removeSelectedText();
            table->insertRows(0, 1);
            table->mergeCells(0, 0, 1, table->columns());
            QTextCharFormat gras;
            gras.setFontWeight(QFont::Bold);
            table->cellAt(0, 0).firstCursorPosition().insertText(texte, gras);
            lignesTitre = 2;
            // Wide enough for its title on one line.
            if (format.width().type() == QTextLength::PercentageLength &&
                format.width().rawValue() < LargeurMinTitree)
                format.setWidth(QTextLength(QTextLength::PercentageLength, LargeurMinTitree));
        }
        format.setHeaderRowCount(lignesTitre);
        table->setFormat(format);
        QTextBlock premier = TexteAvant(doc.findBlock(table->firstPosition()));
        if (!EstTitre(premier)) premier = table->cellAt(0, 0).firstCursorPosition().block();
        for (QTextBlock avant = TexteAvant(premier); EstTitre(avant); avant = TexteAvant(avant))
            premier = avant;
        const int ligneValeurs = std::min(lignesTitre, table->rows() - 1);
        GarderAvec(doc, premier, table->cellAt(ligneValeurs, 0).firstCursorPosition().block());
    }
}

const char* const TitreDocument = "Arkalune : actions à l'appui de l'arc d'arêtier";

// The document's description as PDF readers take it: Qt's writer gives no author nor subject
// of its own, the XMP packet carries them (the note's author; the project and the survey).
QByteArray XmpRapport(const TContexteRapport& c) {
    const std::string sujet = (c.Projet.empty() ? std::string() : c.Projet + " · ") +
                              (c.FichierScan.empty() ? "(aucun relevé)" : c.FichierScan);
    const auto alternative = [](const std::string& texte) {
        return "<rdf:Alt><rdf:li xml:lang=\"x-default\">" + EchapperHtml(texte) +
               "</rdf:li></rdf:Alt>";
    };
    std::string x = "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
                    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
                    "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                    "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">";
    x += "<dc:title>" + alternative(TitreDocument) + "</dc:title>";
    x += "<dc:description>" + alternative(sujet) + "</dc:description>";
    if (!c.Auteur.empty())
        x += "<dc:creator><rdf:Seq><rdf:li>" + EchapperHtml(c.Auteur) +
             "</rdf:li></rdf:Seq></dc:creator>";
    x +=
        "<xmp:CreatorTool>" + EchapperHtml(CreateurDocument().toStdString()) + "</xmp:CreatorTool>";
    x += "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
    return QByteArray::fromStdString(x);
}

} // namespace

QString CreateurDocument() {
    return QStringLiteral("Arkalune ") + QString::fromLatin1(VersionArkalune);
}

void ImprimerRapport(const std::string& rapport, const TContexteRapport& contexte,
                     const TFigureQuart& figure, QPagedPaintDevice& support) {
    support.setPageMargins(QMarginsF(MargeMm, MargeMm, MargeMm, MargeMm), QPageLayout::Millimeter);
    const QRectF zone = support.pageLayout().paintRectPixels(support.logicalDpiY());
    QFont pied(QStringLiteral("Arial"));
    pied.setPointSizeF(PolicePied);
    const qreal hauteurPied = 2.5 * PolicePied / 72 * support.logicalDpiY();
    const qreal hauteurTete = hauteurPied;
    const QString enTete = QString::fromStdString(EnTeteRapport(contexte));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&support);
    QFont corps(QStringLiteral("Arial"));
    corps.setPointSizeF(PoliceCorps);
    doc.setDefaultFont(corps);
    doc.setDocumentMargin(0);
    doc.setPageSize(QSizeF(zone.width(), zone.height() - hauteurPied - hauteurTete));
    FournirFigure(doc, figure, FinesseFigure);
    doc.setHtml(QString::fromUtf8(BlocTitre) + QString::fromStdString(rapport));
    SeparerLignes(doc);
    // The layout follows block insertions only in part (lines went missing from the pages): it
    // is made again whole.
    doc.markContentsDirty(0, doc.characterCount());
    GarderTitresAvecTables(doc);
    GarderParagraphesEntiers(doc);

    const int nbPages = doc.pageCount();
    const qreal hauteurPage = doc.pageSize().height();
    QPainter peintre(&support);
    for (int i = 0; i < nbPages; ++i) {
        if (i > 0) support.newPage();
        peintre.setFont(pied);
        peintre.drawText(QRectF(0, 0, zone.width(), hauteurTete * 0.7),
                         Qt::AlignLeft | Qt::AlignTop, enTete);
        peintre.drawLine(QPointF(0, hauteurTete * 0.75), QPointF(zone.width(), hauteurTete * 0.75));
        peintre.save();
        peintre.translate(0, hauteurTete - i * hauteurPage);
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

QByteArray RapportEnPdf(const std::string& rapport, const TContexteRapport& contexte,
                        const TFigureQuart& figure) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&tampon);
        pdf.setTitle(QString::fromUtf8(TitreDocument));
        pdf.setCreator(CreateurDocument());
        pdf.setDocumentXmpMetadata(XmpRapport(contexte));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        ImprimerRapport(rapport, contexte, figure, pdf);
    }
    return octets;
}

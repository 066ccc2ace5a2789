#include "vault/FigurePeinte.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QTextDocument>
#include <QUrl>

namespace {

QPointF Point(const TV2R& p) {
    return {p.X, p.Y};
}

void Peindre(QPainter& peintre, const TFigureQuart& f) {
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.fillRect(QRectF(0, 0, f.Largeur, f.Hauteur), Qt::white);
    for (const TTraitFigure& t : f.Traits) {
        const QColor couleur(QString::fromLatin1(t.Couleur));
        peintre.setPen(QPen(couleur, t.Epaisseur, Qt::SolidLine, Qt::RoundCap));
        peintre.drawLine(Point(t.A), Point(t.B));
        if (!t.Fleche) continue;
        const std::array<TV2R, 3> p = PointeFleche(t);
        peintre.setPen(Qt::NoPen);
        peintre.setBrush(couleur);
        peintre.drawPolygon(QPolygonF{Point(p[0]), Point(p[1]), Point(p[2])});
        peintre.setBrush(Qt::NoBrush);
    }
    peintre.setPen(Qt::NoPen);
    peintre.setBrush(Qt::black);
    for (const TV2R& p : f.Points)
        peintre.drawEllipse(Point(p), 3, 3);
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(int(PoliceFigure));
    peintre.setFont(police);
    peintre.setPen(Qt::black);
    // A box wide enough for any label, placed by the label's anchor.
    constexpr double L = 200, H = 2 * PoliceFigure;
    for (const TTexteFigure& t : f.Textes) {
        const double gauche =
            t.Alignement < 0 ? t.P.X : (t.Alignement > 0 ? t.P.X - L : t.P.X - L / 2);
        const Qt::Alignment a = t.Alignement < 0   ? Qt::AlignLeft
                                : t.Alignement > 0 ? Qt::AlignRight
                                                   : Qt::AlignHCenter;
        peintre.drawText(QRectF(gauche, t.P.Y - H / 2, L, H), a | Qt::AlignVCenter,
                         QString::fromStdString(t.Texte));
    }
}

} // namespace

void FournirFigure(QTextDocument& doc, const TFigureQuart& figure, double finesse) {
    if (figure.Vide()) return;
    QImage image(int(figure.Largeur * finesse), int(figure.Hauteur * finesse),
                 QImage::Format_RGB32);
    QPainter peintre(&image);
    peintre.scale(finesse, finesse);
    Peindre(peintre, figure);
    peintre.end();
    doc.addResource(QTextDocument::ImageResource,
                    QUrl(QString::fromStdString(SourceFigure(figure))), image);
}

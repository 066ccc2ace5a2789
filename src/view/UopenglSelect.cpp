#include "view/UopenglSelect.h"

#include <QPainter>

TFSelWindow::TFSelWindow(QWidget* vue) : QWidget(vue) {
    setObjectName("FSelWindow");
    // The view beneath keeps receiving the pointer during the drag.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(vue->rect());
    hide();
}

void TFSelWindow::Rafraichir(const TBandeSelection& bande) {
    bande_ = bande;
    setVisible(bande.Visible);
    if (bande.Visible) update();
}

void TFSelWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(QColor(255, 0, 0), 1, Qt::DashLine));
    const TBandeSelection& b = bande_;
    if (b.modeaffi == 0) {
        // One pixel inside the rectangle.
        const QPoint coins[] = {{b.g + 1, b.h + 1},
                                {b.d - 1, b.h + 1},
                                {b.d - 1, b.b - 1},
                                {b.g + 1, b.b - 1},
                                {b.g + 1, b.h + 1}};
        p.drawPolyline(coins, 5);
    } else if (b.modeaffi == 1) {
        p.drawLine(b.p1sel.X, b.p1sel.Y, b.p2sel.X, b.p2sel.Y);
    }
}

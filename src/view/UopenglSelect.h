#pragma once
// The rubber band shown over the 3D view while the left button drags: a transparent child laid
// over the whole view, so that drawing the rectangle never redraws the 3D picture beneath.

#include "view/BandeSelection.h"

#include <QWidget>

class TFSelWindow : public QWidget {
public:
    // Laid over `vue`, which keeps it the size of its client area.
    explicit TFSelWindow(QWidget* vue);

    // Shows the band as it is (hidden when it is not visible) and repaints only itself.
    void Rafraichir(const TBandeSelection& bande);

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    TBandeSelection bande_;
};

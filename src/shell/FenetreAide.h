#pragma once
// The help: a French document built into the program, shown in a window of its own that does not
// block the main window.

#include <QWidget>

class QTextBrowser;

class TFAide : public QWidget {
    Q_OBJECT
public:
    explicit TFAide(QWidget* parent = nullptr);
    QTextBrowser* Navigateur() const { return navigateur_; }
    // The "matériel graphique" section: the hardware report of the 3D view and the display modes,
    // what a user sends when the view misbehaves.
    void AfficherMateriel(const QStringList& info, const QStringList& modes);

private:
    QTextBrowser* navigateur_;
};

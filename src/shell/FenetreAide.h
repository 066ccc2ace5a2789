#pragma once
// The help: a French document built into the program, shown in a window of its own that does not
// block the main window.

#include <QStringList>
#include <QWidget>

class QTextBrowser;

class TFAide : public QWidget {
    Q_OBJECT
public:
    // `materiel` and `modes`: the hardware report of the 3D view and the display modes, shown in
    // the document's "matériel graphique" section; it is what a user sends when the view
    // misbehaves.
    TFAide(const QStringList& materiel, const QStringList& modes, QWidget* parent = nullptr);
    QTextBrowser* Navigateur() const { return navigateur_; }

private:
    QTextBrowser* navigateur_;
};

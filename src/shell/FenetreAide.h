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

private:
    QTextBrowser* navigateur_;
};

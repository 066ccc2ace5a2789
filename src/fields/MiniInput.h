#pragma once
// The small borderless popup in which the user types the expression whose value a field takes.

#include <QDialog>

class QLabel;
class QLineEdit;

class TFMiniInput : public QDialog {
    Q_OBJECT
public:
    explicit TFMiniInput(QWidget* parent = nullptr);

    // Lays the popup out with its edit box over a field whose client area starts at `origine`
    // (screen coordinates) and is `largeur` pixels wide; `indice` is the field's own hint.
    void Placer(QPoint origine, int largeur, const QString& indice);
    QLineEdit* Ed() const { return Ed_; }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    QWidget* Pn_;
    QLabel* Label1_;
    QLineEdit* Ed_;
};

// Shows the popup with its edit box over a field whose client area starts at `origine` (screen
// coordinates) and is `largeur` pixels wide, starting from `texte`. True, with `texte` replaced
// by the typed text, when the user confirmed with Enter; false on Esc.
bool SaisirExpression(QPoint origine, int largeur, const QString& indice, QString& texte,
                      QWidget* parent = nullptr);

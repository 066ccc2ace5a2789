#pragma once
// The validated edit field on screen: a line edit that hands the user's typing, pasting and
// leaving to the field's logic (TCustomGenEdit), and shows the text, colour, hint and enabled
// state that the logic decides. It computes nothing itself.

#include <QClipboard>
#include <QLineEdit>

class TCustomGenEdit;

class TGenEdit : public QLineEdit {
    Q_OBJECT
public:
    // Takes over the logic's widget hooks and its OnChange (connect to Modifie instead).
    // Nothing must drive the widget once the logic is gone.
    explicit TGenEdit(TCustomGenEdit& logique, QWidget* parent = nullptr);

    TCustomGenEdit& Logique() const { return logique_; }
    // Shows the logic's text, colour, hint and enabled state again, after the caller changed
    // the logic without going through the widget.
    void Actualiser();

signals:
    // The user changed the value: by typing, pasting or through the expression popup.
    void Modifie();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    TCustomGenEdit& logique_;
    bool ecriture_ = false;   // the widget shows the logic's text: no user change
    bool selonclick_ = false; // the click that gave the focus keeps the whole text selected

    void AppliquerAspect();
    void TexteChange(const QString& texte);
    // Inserts `texte` at the caret as if typed, each character through the logic's filter;
    // with `calculAutorise`, "=" opens the expression popup instead of being dropped.
    void Inserer(const QString& texte, bool calculAutorise);
    void Coller(QClipboard::Mode mode);
    void SaisirCalcul();
};

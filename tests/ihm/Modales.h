#pragma once
// Answers the modal dialogs that a command opens, in order, while the test waits for it.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class TReponsesModales {
public:
    using TReponse = std::function<void(QWidget&)>;
    explicit TReponsesModales(std::deque<TReponse> reponses);
    // The texts of the message boxes answered, in order.
    const QStringList& Textes() const { return textes_; }
    bool Epuisees() const { return reponses_.empty(); }

private:
    std::deque<TReponse> reponses_;
    QStringList textes_;
    QPointer<QWidget> derniere_;
    QTimer minuterie_;
};

// Answers of a message box or a dialog.
void Oui(QWidget& boite);
void Non(QWidget& boite);
void Echap(QWidget& boite);
// The Return key: the default button.
void Entree(QWidget& boite);
void CaseFermeture(QWidget& boite);
void Valider(QWidget& boite);

#include "fields/GenEdit.h"

#include "fields/CGenEdit.h"
#include "fields/MiniInput.h"
#include "util/Erreurs.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScopedValueRollback>

#include <utility>

namespace {

QString VersQString(const std::string& texte) {
    return QString::fromUtf8(texte.data(), qsizetype(texte.size()));
}

QColor CouleurQt(TCouleur c) {
    if (c == CouleurFondFenetre) return QApplication::palette().color(QPalette::Base);
    return QColor::fromRgb(QRgb(c & 0xFFFFFF));
}

// The tooltip is the short hint (before "|"), its carriage returns shown as line breaks.
QString BulleDAide(const std::string& indice) {
    QString bulle = VersQString(indice.substr(0, indice.find('|')));
    bulle.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return bulle;
}

// A character to insert: printable, and not a Ctrl shortcut (AltGr, which some systems report
// as Ctrl+Alt, still types).
bool EstCaractereTape(const QKeyEvent& e) {
    const QString& texte = e.text();
    const auto mod = e.modifiers() & ~Qt::KeypadModifier;
    return !texte.isEmpty() && texte.front() >= QLatin1Char(' ') && texte.front() != QChar(0x7F) &&
           mod != Qt::ControlModifier && mod != (Qt::ControlModifier | Qt::ShiftModifier);
}

// Focus coming from or going to another window (the popup, a message box) is no entering
// or leaving of the field.
bool ChangeDeFenetre(const QFocusEvent& e) {
    return e.reason() == Qt::ActiveWindowFocusReason || e.reason() == Qt::PopupFocusReason;
}

} // namespace

TGenEdit::TGenEdit(TCustomGenEdit& logique, QWidget* parent)
    : QLineEdit(parent), logique_(logique) {
    setObjectName(VersQString(logique_.Name()));
    setAcceptDrops(false); // a drop would bypass the character filter
    // The logic may outlive the widget: its hooks check that the widget still exists.
    const QPointer<TGenEdit> moi(this);
    logique_.SurEcritureControle = [moi](const std::string& texte) {
        if (moi) moi->setText(VersQString(texte));
    };
    logique_.SurAspect = [moi] {
        if (moi) moi->AppliquerAspect();
    };
    logique_.OnChange = [moi](TCustomGenEdit&) {
        if (moi) emit moi->Modifie();
    };
    connect(this, &QLineEdit::textChanged, this, &TGenEdit::TexteChange);
    Actualiser();
}

void TGenEdit::Actualiser() {
    const QString texte = VersQString(logique_.Text());
    if (text() != texte) {
        const QScopedValueRollback garde(ecriture_, true);
        setText(texte);
    }
    AppliquerAspect();
}

void TGenEdit::AppliquerAspect() {
    setEnabled(logique_.Enabled());
    QPalette couleurs = palette();
    couleurs.setColor(QPalette::Base, CouleurQt(logique_.Couleur()));
    setPalette(couleurs);
    setToolTip(BulleDAide(logique_.Hint()));
}

void TGenEdit::TexteChange(const QString& texte) {
    if (ecriture_ || logique_.EnEcriture()) return;
    logique_.Changement(texte.toStdString());
    logique_.MajCouleur(); // the colour follows the typing
}

void TGenEdit::Inserer(const QString& texte, bool calculAutorise) {
    QString accepte;
    const auto vider = [&] {
        if (!accepte.isEmpty()) insert(std::exchange(accepte, {}));
    };
    for (const char32_t c : texte.toUcs4()) {
        const TCaractereTraite r = logique_.TraiterCaractere(c);
        if (r.Action == TCaractereTraite::Inserer) {
            accepte += QString::fromUcs4(&r.Car, 1);
        } else if (r.Action == TCaractereTraite::Calculer && calculAutorise) {
            vider();
            SaisirCalcul();
        }
    }
    vider();
}

void TGenEdit::Coller(QClipboard::Mode mode) {
    if (!isReadOnly()) Inserer(QApplication::clipboard()->text(mode), false);
}

void TGenEdit::SaisirCalcul() {
    QString expression = VersQString(logique_.CalculPrec());
    if (!SaisirExpression(mapToGlobal(QPoint(0, 0)), width(), toolTip(), expression, this)) return;
    const std::string avant = logique_.Text();
    try {
        logique_.SaisirCalcul(expression.toStdString());
    } catch (const EErreur& e) {
        QMessageBox::warning(window(), QStringLiteral("Arkalune"), QString::fromUtf8(e.what()));
    }
    if (logique_.Text() != avant) emit Modifie();
}

void TGenEdit::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {
        Coller(QClipboard::Clipboard);
    } else if (EstCaractereTape(*e) && !isReadOnly()) {
        Inserer(e->text(), true);
    } else {
        // Editing and navigation keys, Ctrl+A, Ctrl+C; Enter and Esc go on to the window.
        QLineEdit::keyPressEvent(e);
        return;
    }
    e->accept();
}

void TGenEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (ChangeDeFenetre(*e)) return;
    selectAll();
    selonclick_ = true;
}

void TGenEdit::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        Coller(QClipboard::Selection);
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
    if (selonclick_ && !isReadOnly()) selectAll();
    selonclick_ = false;
}

void TGenEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A field that is disabled loses the focus without the user leaving it; the logic has not
    // validated its text since then.
    if (ChangeDeFenetre(*e) || !isEnabled()) return;
    selonclick_ = false;
    logique_.Sortie(); // the canonical text when it converts
}

void TGenEdit::contextMenuEvent(QContextMenuEvent* e) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard paste item is known by the shortcut shown after its caption.
    const QString raccourci =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (!action->text().endsWith(raccourci)) continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this] { Coller(QClipboard::Clipboard); });
    }
    menu->popup(e->globalPos());
}

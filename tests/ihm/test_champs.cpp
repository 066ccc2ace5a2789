// The study fields on screen: the real widgets over the field logic, typed into as a user would.

#include "fields/ChampsEtude.h"
#include "fields/GenEdit.h"
#include "fields/MiniInput.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QColor Vert(192, 220, 192), Rouge(255, 0, 0);

// A window holding two study fields, an integer one (5 to 200, "20") and the real one, shown
// and active so that the focus moves as it does for a user.
struct TFenetreEssai {
    QWidget Fenetre;
    TChampsEtude Champs;
    TGenEdit Entier{Champs.GEdLargeurAretier, &Fenetre};
    TGenEdit Reel{Champs.GEdNivRemplissage, &Fenetre};

    TFenetreEssai() {
        auto* colonne = new QVBoxLayout(&Fenetre);
        colonne->addWidget(&Entier);
        colonne->addWidget(&Reel);
        Fenetre.show();
        Fenetre.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Fenetre));
    }
    // Empties the field and gives it the focus, ready for typing.
    static void Preparer(TGenEdit& champ) {
        champ.Logique().EcrireText("");
        champ.setFocus(Qt::TabFocusReason);
    }
};

QColor Fond(const TGenEdit& champ) {
    return champ.palette().color(QPalette::Base);
}

// Presses and releases a key as a keyboard does: the release goes where the focus is after the
// press, which is the window under the popup if the popup closed on the press.
void Touche(QWidget& dessous, Qt::Key touche) {
    QTest::keyPress(QApplication::focusWidget(), touche);
    QWidget* popup = QApplication::activeModalWidget();
    QTest::keyRelease(popup ? popup->focusWidget() : dessous.focusWidget(), touche);
}

// Runs `action` on the first modal window of type T that opens, from inside its event loop.
// Destroying the result withdraws the action if the window never came.
template <class T> std::unique_ptr<QTimer> QuandModal(std::function<void(T&)> action) {
    auto minuterie = std::make_unique<QTimer>();
    QTimer* m = minuterie.get();
    QObject::connect(m, &QTimer::timeout, [m, action] {
        // Keys typed before the window is active would go to the field beneath it: on a busy
        // machine the activation can come late, so wait for it however long it takes.
        auto* fenetre = qobject_cast<T*>(QApplication::activeModalWidget());
        if (fenetre != nullptr && fenetre->isActiveWindow()) {
            m->stop();
            action(*fenetre);
        }
    });
    m->start(5);
    return minuterie;
}

// Counts the Esc key events delivered to a window's widgets.
struct TCompteurEchap : QObject {
    QWidget& Fenetre;
    int N = 0;
    explicit TCompteurEchap(QWidget& f) : Fenetre(f) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
                if (auto* w = qobject_cast<QWidget*>(o); w && w->window() == &Fenetre) ++N;
        return false;
    }
};

} // namespace

TEST(Champs, FiltresDesCaracteresTapes) {
    struct TCas {
        TGenEdit TFenetreEssai::*champ;
        const char* tape;
        const char* attendu;
    };
    const TCas cas[] = {
        {&TFenetreEssai::Entier, "1a2 b3", "123"}, // letters and spaces refused
        {&TFenetreEssai::Entier, "-+7.", "-+7."},  // kept: the field shows it invalid
        {&TFenetreEssai::Entier, "1,5", "1,5"},
        {&TFenetreEssai::Reel, "-1.5e3x", "-1.5E3"}, // e typed, E inserted
        {&TFenetreEssai::Reel, "2,5", "2.5"},        // the decimal comma is the point
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.tape);
        TFenetreEssai f;
        TGenEdit& champ = f.*c.champ;
        TFenetreEssai::Preparer(champ);
        QSignalSpy modifie(&champ, &TGenEdit::Modifie);
        QTest::keyClicks(&champ, QString::fromUtf8(c.tape));
        EXPECT_EQ(champ.text(), QString::fromUtf8(c.attendu));
        EXPECT_EQ(champ.Logique().Text(), c.attendu);
        EXPECT_EQ(modifie.count(), qsizetype(strlen(c.attendu))); // one per accepted character
    }
}

TEST(Champs, CouleurSelonLeTexte) {
    const QColor fondFenetre = QApplication::palette().color(QPalette::Base);
    struct TCas {
        const char* tape;
        bool quitter;
        QColor attendue;
        bool valOK;
    };
    const TCas cas[] = {
        {"30", false, Vert, true},       // valid, being typed
        {"30", true, fondFenetre, true}, // valid, left
        {"300", false, Rouge, false},    // out of range
        {"-", true, Rouge, false},       // does not convert
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.tape);
        TFenetreEssai f;
        TFenetreEssai::Preparer(f.Entier);
        QTest::keyClicks(&f.Entier, QString::fromUtf8(c.tape));
        if (c.quitter) f.Reel.setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Fond(f.Entier), c.attendue);
        EXPECT_EQ(f.Champs.GEdLargeurAretier.ValOK(), c.valOK);
    }

    TFenetreEssai f;
    f.Champs.GEdLargeurAretier.EcrireText("xx");
    f.Champs.GEdLargeurAretier.EcrireEnabled(false);
    f.Entier.Actualiser();
    EXPECT_FALSE(f.Entier.isEnabled());
    EXPECT_EQ(Fond(f.Entier), fondFenetre);
    EXPECT_EQ(f.Entier.text(), "xx");
}

TEST(Champs, BulleDAideAvecLaPlageAdmise) {
    TChampsEtude champs;
    TGenEdit largeur(champs.GEdLargeurAretier), nbArcs(champs.GEdNbArcsVoute);
    EXPECT_EQ(largeur.objectName(), "GEdLargeurAretier");
    EXPECT_EQ(largeur.toolTip(), "\n5 < (valeur admise) < 200"); // no own hint
    EXPECT_EQ(nbArcs.toolTip(), QString::fromUtf8("Définit en combien d'arcs la voute sera "
                                                  "décomposée\n3 < (valeur admise) < 20"));
    // Every hint is shown as typed: its "<" must not be taken for a tag.
    for (TCustomGenEdit* logique :
         {&champs.GEdLargeurAretier, &champs.GEdNbArcsVoute, &champs.GEdMlinAretier,
          &champs.GEdMsurfVoute, &champs.GEdMvolRemplissage, &champs.GEdNivRemplissage}) {
        const TGenEdit champ(*logique);
        EXPECT_FALSE(Qt::mightBeRichText(champ.toolTip())) << logique->Name();
    }
}

TEST(Champs, CollerPasseParLeFiltre) {
    const auto ctrlV = [](TGenEdit& champ) {
        QTest::keyClick(&champ, Qt::Key_V, Qt::ControlModifier);
    };
    const auto menu = [](TGenEdit& champ) {
        QContextMenuEvent clic(QContextMenuEvent::Mouse, QPoint(2, 2),
                               champ.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&champ, &clic);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        const auto actions = popup->actions();
        const auto coller = std::find_if(actions.begin(), actions.end(),
                                         [](QAction* a) { return a->text().startsWith("&Paste"); });
        ASSERT_NE(coller, actions.end());
        (*coller)->trigger();
        popup->close();
    };
    struct TCas {
        TGenEdit TFenetreEssai::*champ;
        std::function<void(TGenEdit&)> coller;
        const char* presse;
        const char* attendu;
    };
    const TCas cas[] = {
        {&TFenetreEssai::Entier, ctrlV, "1 2a3", "123"},
        {&TFenetreEssai::Entier, ctrlV, "=4*2", "42"}, // "=" pasted opens no popup
        {&TFenetreEssai::Reel, ctrlV, "2.5e-3", "2.5E-3"},
        {&TFenetreEssai::Reel, ctrlV, "-1,5", "-1.5"},
        {&TFenetreEssai::Entier, ctrlV, "-1,5", "-1,5"}, // no integer: never -15
        {&TFenetreEssai::Entier, menu, "7 x", "7"},
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.presse);
        TFenetreEssai f;
        TGenEdit& champ = f.*c.champ;
        TFenetreEssai::Preparer(champ);
        QApplication::clipboard()->setText(QString::fromUtf8(c.presse));
        bool popup = false;
        const auto garde = QuandModal<TFMiniInput>([&](TFMiniInput& p) {
            popup = true;
            p.reject();
        });
        c.coller(champ);
        EXPECT_EQ(champ.text(), QString::fromUtf8(c.attendu));
        EXPECT_FALSE(popup);
    }

    TFenetreEssai f; // the pasted text replaces the selection
    f.Entier.setFocus(Qt::TabFocusReason);
    f.Entier.setSelection(0, 1);
    QApplication::clipboard()->setText("3");
    ctrlV(f.Entier);
    EXPECT_EQ(f.Entier.text(), "30");
    QTest::keyClick(&f.Entier, Qt::Key_A, Qt::ControlModifier); // Ctrl+A, Ctrl+C: no typing
    QTest::keyClick(&f.Entier, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "30");
    EXPECT_EQ(f.Entier.text(), "30");
}

TEST(Champs, QuitterReecritLeTexteCanonique) {
    TFenetreEssai f;
    TFenetreEssai::Preparer(f.Entier);
    QTest::keyClicks(&f.Entier, "+007");
    f.Reel.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.Entier.text(), "7");

    TFenetreEssai::Preparer(f.Reel);
    QTest::keyClicks(&f.Reel, "1.50e2");
    f.Entier.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.Reel.text(), "150");

    TFenetreEssai::Preparer(f.Entier);
    QTest::keyClicks(&f.Entier, "-");
    f.Reel.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.Entier.text(), "-"); // does not convert: stays as typed
}

TEST(Champs, FenetreDExpression) {
    struct TCas {
        TGenEdit TFenetreEssai::*champ;
        const char* expression;
        Qt::Key touche;
        const char* texte;
        const char* calculPrec;
        int modifie;
    };
    const TCas cas[] = {
        {&TFenetreEssai::Entier, "3*7", Qt::Key_Return, "21", "3*7", 1},
        {&TFenetreEssai::Entier, "10/4", Qt::Key_Enter, "2", "10/4", 1}, // limits tested later
        {&TFenetreEssai::Reel, "1/4", Qt::Key_Return, "0.25", "1/4", 1},
        {&TFenetreEssai::Entier, "3*7", Qt::Key_Escape, "20", "", 0},
        {&TFenetreEssai::Entier, "1+", Qt::Key_Return, "20", "1+", 0}, // no expression
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.expression);
        TFenetreEssai f;
        TGenEdit& champ = f.*c.champ;
        champ.setFocus(Qt::TabFocusReason);
        QSignalSpy modifie(&champ, &TGenEdit::Modifie);
        const TCompteurEchap echap(f.Fenetre);
        bool ouverte = false;
        const auto garde = QuandModal<TFMiniInput>([&](TFMiniInput& p) {
            ouverte = true;
            EXPECT_TRUE(p.windowFlags().testFlag(Qt::FramelessWindowHint));
            EXPECT_EQ(p.findChild<QLabel*>("Label1")->text(), "expression ?");
            // Its edit box lies over the field, as wide as it.
            EXPECT_EQ(p.Ed()->mapToGlobal(QPoint(0, 0)), champ.mapToGlobal(QPoint(0, 2)));
            EXPECT_EQ(p.Ed()->width(), champ.width());
            QTest::keyClicks(p.Ed(), c.expression);
            Touche(f.Fenetre, c.touche);
        });
        QTest::keyClick(&champ, '=');
        EXPECT_TRUE(ouverte);
        EXPECT_EQ(champ.text(), c.texte);
        EXPECT_EQ(champ.Logique().CalculPrec(), c.calculPrec);
        EXPECT_EQ(modifie.count(), c.modifie);
        EXPECT_EQ(echap.N, 0); // Esc in the popup is not Esc in the window
    }
}

TEST(Champs, LaFenetreDExpressionRepartDeLaDerniere) {
    TFenetreEssai f;
    f.Entier.setFocus(Qt::TabFocusReason);
    QString prerempli = "?";
    const auto saisir = [&](const char* expression, Qt::Key touche) {
        const auto garde = QuandModal<TFMiniInput>([&](TFMiniInput& p) {
            prerempli = p.Ed()->text();
            QTest::keyClicks(p.Ed(), expression); // replaces the selected text
            Touche(f.Fenetre, touche);
        });
        QTest::keyClick(&f.Entier, '=');
    };
    saisir("3*7", Qt::Key_Return);
    EXPECT_EQ(prerempli, "");
    saisir("2", Qt::Key_Escape);
    EXPECT_EQ(prerempli, "3*7");
    EXPECT_EQ(f.Entier.text(), "21");
    saisir("", Qt::Key_Return);
    EXPECT_EQ(prerempli, "3*7");
}

TEST(Champs, ErreurDeLExpressionMontree) {
    const struct {
        const char* expression;
        const char* message;
    } cas[] = {
        {"'abc'", "impossible d'affecter la valeur à cette variable"},
        {"1,5*10", "texte en trop après l'expression : « ,5*10 » ; le séparateur décimal est le "
                   "point"},
        {"15 + 2 cm", "texte en trop après l'expression : « cm »"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.expression);
        TFenetreEssai f;
        f.Entier.setFocus(Qt::TabFocusReason);
        QString titre, message;
        const auto gardeMessage = QuandModal<QMessageBox>([&](QMessageBox& m) {
            titre = m.windowTitle();
            message = m.text();
            m.accept();
        });
        const auto garde = QuandModal<TFMiniInput>([&](TFMiniInput& p) {
            QTest::keyClicks(p.Ed(), c.expression);
            Touche(f.Fenetre, Qt::Key_Return);
        });
        QTest::keyClick(&f.Entier, '=');
        EXPECT_EQ(titre, "Arkalune");
        EXPECT_EQ(message, QString::fromUtf8(c.message));
        EXPECT_EQ(f.Entier.text(), "20");
    }
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

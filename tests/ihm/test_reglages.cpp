// The window's settings: written at closing, restored by the next run.

#include "FenetreEssai.h"
#include "Modales.h"

#include <QSettings>
#include <QTest>

TEST(ReglagesFenetre, EcritsALaFermetureEtRelusAuProchainLancement) {
    {
        QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                    QCoreApplication::applicationName());
        r.clear();
    }
    {
        const auto f = FenetrePrete();
        f->setGeometry(110, 130, 700, 450);
        QTest::qWait(100);
        f->Travail().DernierScan = "/dossier/des scans";
        f->close();
    }
    QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                QCoreApplication::applicationName());
    EXPECT_EQ(r.value("FArkalune/WinLTWH").toString(), "110 130 700 450");
    EXPECT_EQ(r.value("FArkalune/PixelsPerInchDsgn").toString(), "120");
    EXPECT_EQ(r.value("FArkalune/DernierScan").toString(), "/dossier/des scans");

    // A name written in another case is found; the rectangle comes back as it was saved.
    r.remove("FArkalune/DernierScan");
    r.setValue("FArkalune/dernierscan", "/autre");
    r.sync();
    {
        const auto f = FenetrePrete();
        EXPECT_EQ(f->Travail().DernierScan, "/autre");
        EXPECT_EQ(f->geometry(), QRect(110, 130, 700, 450));
        f->close();
    }
    r.sync();
    EXPECT_EQ(r.value("FArkalune/WinLTWH").toString(), "110 130 700 450");
    EXPECT_EQ(r.value("FArkalune/dernierscan").toString(), "/autre");
}

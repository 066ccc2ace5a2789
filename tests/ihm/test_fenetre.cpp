#include "shell/FenetrePrincipale.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

TEST(Fenetre, SOuvreAvecSonTitre) {
    TFArkalune fenetre;
    fenetre.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    EXPECT_EQ(fenetre.windowTitle(), QString::fromUtf8("Calcul de voûte nervurée"));
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "FenetreEssai.h"

#include <QTest>
#include <filesystem>

std::unique_ptr<TFArkalune> FenetrePrete() {
    auto fenetre = std::make_unique<TFArkalune>();
    fenetre->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(fenetre.get()));
    EXPECT_TRUE(Attendre([&] { return fenetre->InitDone() && !fenetre->Occupe(); }));
    return fenetre;
}

std::string CopieExemple(const TDossierTemporaire& dossier) {
    const std::string copie = dossier.Chemin("voute.arkl");
    std::filesystem::copy_file(ARKALUNE_SOURCES "/exemples/voute.arkl", copie);
    return copie;
}

bool Attendre(const std::function<bool()>& condition) {
    for (int i = 0; i < 2000 && !condition(); ++i)
        QTest::qWait(10);
    return condition();
}

std::string LireJournal() {
    return std::filesystem::exists(CheminJournal()) ? LireFichier(CheminJournal()) : "";
}

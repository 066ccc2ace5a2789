// The window process stopped by a signal in the middle of an import leaves the survey's folder as
// it found it.

#include "support/LancerCalcul.h"
#include "support/Temporaire.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

std::vector<std::string> FichiersProvisoires(const TDossierTemporaire& d) {
    std::vector<std::string> noms;
    for (const auto& e : std::filesystem::directory_iterator(d.Dossier()))
        if (e.path().filename().string().find(".tmp-") != std::string::npos)
            noms.push_back(e.path().filename().string());
    return noms;
}

} // namespace

TEST(ArretFenetre, TueePendantLImportElleNeLaissePasDeFichierProvisoire) {
    const char* programme = std::getenv("ARKALUNE");
    const char* generateur = std::getenv("ARKALUNE_GENERER");
    if (!programme || !generateur)
        GTEST_SKIP() << "ARKALUNE ou ARKALUNE_GENERER n'est pas donné (construire les mesures)";
    TDossierTemporaire d;
    const std::string releve = d.Chemin("releve.xyz");
    // Big enough for the import to last a few seconds, during which the signal comes.
    ASSERT_EQ(LancerCommande(std::string(generateur) + " --points 1000000 --sortie '" + releve +
                             "' >/dev/null")
                  .code,
              0);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal this test was started ignoring stays ignored in the window too.
        struct sigaction actuelle {};
        if (sigaction(signal, nullptr, &actuelle) == 0 && actuelle.sa_handler == SIG_IGN) continue;
        QProcess fenetre;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(d.Chemin("config")));
        fenetre.setProcessEnvironment(env);
        fenetre.start(QString::fromUtf8(programme), {QString::fromStdString(releve)});
        ASSERT_TRUE(fenetre.waitForStarted());
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (FichiersProvisoires(d).empty() && fenetre.state() == QProcess::Running &&
               std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(FichiersProvisoires(d).empty()) << "l'import n'a pas commencé";
        ASSERT_EQ(::kill(pid_t(fenetre.processId()), signal), 0);
        ASSERT_TRUE(fenetre.waitForFinished(30000));
        EXPECT_EQ(fenetre.exitStatus(), QProcess::CrashExit) << "signal " << signal;
        EXPECT_EQ(FichiersProvisoires(d), std::vector<std::string>{}) << "signal " << signal;
    }
}

#pragma once
// A main window ready for a test, and the shared settings of the test program.

#include "shell/FArkalune.h"
#include "support/Temporaire.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Shown, its first idle moment passed.
std::unique_ptr<TFArkalune> FenetrePrete();
// A copy of the example vault in `dossier`.
std::string CopieExemple(const TDossierTemporaire& dossier);
// Processes events until `condition` holds or 20 s have passed.
bool Attendre(const std::function<bool()>& condition);
// The journal that the program writes (ARKALUNE_JOURNAL), set for the whole test program.
std::string CheminJournal();
std::string LireJournal();

template <class W> W& Enfant(QObject& parent, const char* nom) {
    W* w = parent.findChild<W*>(QString::fromLatin1(nom));
    if (!w) throw std::runtime_error(std::string("pas de ") + nom);
    return *w;
}

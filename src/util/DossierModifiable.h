#pragma once
// Whether a folder takes new files, asked of the system by creating one: permissions, a
// read-only medium and the rights of the one who runs the program all count, on every system.

#include <string>

bool DossierModifiable(const std::string& dossier);

#include "PlateformeConsole.h"

#include <cstdio>

void TPlateformeConsole::AfficherMessage(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

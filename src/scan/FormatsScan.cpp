#include "scan/FormatsScan.h"

#include "scan/EnregistrementScan.h"
#include "scan/LectureE57.h"
#include "scan/LectureLAS.h"
#include "scan/LecturePLY.h"
#include "scan/LecturePTS.h"
#include "scan/LectureTexteDelimite.h"
#include "scan/LectureXYZ.h"
#include "util/Fichiers.h"
#include "util/StringUtils.h"

#include <filesystem>

namespace {

void EcrireArkl(const TEtatScan& scan, int niveau, const TEnTeteArkl& enTete,
                const std::string& chemin, const TSortieProgression& sortie) {
    EcrireScanArkl(scan, niveau, enTete, chemin, sortie);
}

void EcrireXYZ(const TEtatScan& scan, int niveau, const TEnTeteArkl&, const std::string& chemin,
               const TSortieProgression&) {
    EcrireScanXYZ(scan, niveau, chemin);
}

} // namespace

const std::vector<TFormatScan>& FormatsScan() {
    static const std::vector<TFormatScan> formats = {
        {"fichier Arkalune", {".arkl"}, nullptr, EcrireArkl},
        {"fichier XYZ ascii", {".xyz"}, LireXYZ, EcrireXYZ},
        {"texte délimité", {".csv", ".txt"}, LireTexteDelimite, nullptr},
        {"relevé LAS", {".las"}, LireLAS, nullptr},
        {"relevé PLY", {".ply"}, LirePLY, nullptr},
        {"relevé PTS", {".pts"}, LirePTS, nullptr},
        {"relevé PTX", {".ptx"}, LirePTX, nullptr},
        {"relevé E57", {".e57"}, LireE57, nullptr},
        // Read as LAS, so that the reader says why it is refused and what to do.
        {"relevé LAS compressé", {".laz"}, LireLAS, nullptr, false},
    };
    return formats;
}

const TFormatScan* FormatSelonExtension(const std::string& chemin) {
    const std::string ext = MinusculesAscii(TexteChemin(CheminFs(chemin).extension()));
    for (const TFormatScan& f : FormatsScan())
        for (const std::string& e : f.Extensions)
            if (e == ext) return &f;
    return nullptr;
}

const TFormatScan& FormatArkl() {
    return FormatsScan()[0];
}

const TFormatScan& FormatXYZ() {
    return FormatsScan()[1];
}

std::string ExtensionsLues() {
    std::string t;
    for (const TFormatScan& f : FormatsScan())
        for (const std::string& e : f.Extensions)
            if (f.Propose) t += (t.empty() ? "" : ", ") + e;
    return t;
}

#include "scan/FichierArkl.h"

#include <cstring>

namespace {

template <class T> void Lire(const std::byte* octets, std::size_t decalage, T& valeur) {
    std::memcpy(&valeur, octets + decalage, sizeof(T));
}

template <class T> void Ecrire(std::byte* octets, std::size_t decalage, const T& valeur) {
    std::memcpy(octets + decalage, &valeur, sizeof(T));
}

void LireBoite(const std::byte* octets, std::size_t decalage, TEnTeteArkl& e) {
    Lire(octets, decalage, e.CooMin.X);
    Lire(octets, decalage + 4, e.CooMin.Y);
    Lire(octets, decalage + 8, e.CooMin.Z);
    Lire(octets, decalage + 12, e.CooMax.X);
    Lire(octets, decalage + 16, e.CooMax.Y);
    Lire(octets, decalage + 20, e.CooMax.Z);
}

} // namespace

std::size_t TailleEnTete(std::int64_t version) {
    switch (version) {
    case 0:
        return 64;
    case 2:
        return 280;
    case 3:
        return 288;
    case 4:
        return 312;
    case 5:
    case 6:
        return TailleEnTeteMax;
    default:
        return 0;
    }
}

TEnTeteArkl DecoderEnTete(std::int32_t version, const std::byte* o) {
    TEnTeteArkl e;
    e.Version = version;
    if (version == 0) {
        Lire(o, 24, e.NiveauPoints);
        Lire(o, 32, e.NbPoints);
        LireBoite(o, 40, e);
        return e;
    }
    std::memcpy(&e.RecModl, o, sizeof(TRectangleModelisation));
    Lire(o, 200, e.TaillePointsIndex);
    Lire(o, 204, e.LargeurAretier);
    Lire(o, 208, e.NbArcsVoute);
    Lire(o, 212, e.MlinAretier);
    Lire(o, 216, e.MvolRemplissage);
    Lire(o, 220, e.MsurfVoute);
    Lire(o, 224, e.NivRemplissage);
    Lire(o, 232, e.NiveauPoints);
    Lire(o, 240, e.NbPoints);
    LireBoite(o, 248, e);
    Lire(o, 272, e.NiveauAffiche);
    if (version >= 3) Lire(o, 280, e.AngRotZdeg);
    if (version >= 4)
        for (std::size_t a = 0; a < 3; ++a)
            Lire(o, 288 + 8 * a, e.Decalage[a]);
    if (version >= 5) {
        std::int32_t impose = 0;
        double niveau = 0;
        Lire(o, 312, impose);
        Lire(o, 320, niveau);
        if (impose == 1) e.NiveauAppui = niveau;
    }
    e.AvecCubes = version >= 6;
    return e;
}

std::int64_t VersionEcrite(const TEnTeteArkl& e) {
    return e.AvecCubes ? 6 : e.NiveauAppui ? 5 : EstDecale(e.Decalage) ? 4 : 3;
}

std::array<std::byte, TailleEnTeteMax> EncoderEnTete(const TEnTeteArkl& e) {
    std::array<std::byte, TailleEnTeteMax> o{};
    std::memcpy(o.data(), &e.RecModl, sizeof(TRectangleModelisation));
    Ecrire(o.data(), 200, e.TaillePointsIndex);
    Ecrire(o.data(), 204, e.LargeurAretier);
    Ecrire(o.data(), 208, e.NbArcsVoute);
    Ecrire(o.data(), 212, e.MlinAretier);
    Ecrire(o.data(), 216, e.MvolRemplissage);
    Ecrire(o.data(), 220, e.MsurfVoute);
    Ecrire(o.data(), 224, e.NivRemplissage);
    Ecrire(o.data(), 232, e.NiveauPoints);
    Ecrire(o.data(), 240, e.NbPoints);
    Ecrire(o.data(), 248, e.CooMin.X);
    Ecrire(o.data(), 252, e.CooMin.Y);
    Ecrire(o.data(), 256, e.CooMin.Z);
    Ecrire(o.data(), 260, e.CooMax.X);
    Ecrire(o.data(), 264, e.CooMax.Y);
    Ecrire(o.data(), 268, e.CooMax.Z);
    Ecrire(o.data(), 272, e.NiveauAffiche);
    Ecrire(o.data(), 280, e.AngRotZdeg);
    for (std::size_t a = 0; a < 3; ++a)
        Ecrire(o.data(), 288 + 8 * a, e.Decalage[a]);
    if (e.NiveauAppui) {
        Ecrire(o.data(), 312, std::int32_t(1));
        Ecrire(o.data(), 320, *e.NiveauAppui);
    }
    return o;
}

#pragma once
// What the 3D view asks of the graphics system and what it reports about it, as plain values: the
// requested pixel format and its flags, the display modes, and the hardware report a user sends
// when the view misbehaves.

#include <cstdint>
#include <string>
#include <vector>

// Members of a requested pixel format; a TFormatPixels holds bit n for the member of ordinal n.
enum class TFPixels : std::uint8_t {
    pxDoubleBuffer,
    pxDrawToWindow,
    pxSupportGDI,
    pxSupportOpenGL,
    pxDrawToBitmap,
    pxStereo,
    pxGenericAccelerated,
};
using TFormatPixels = std::uint8_t;

constexpr TFormatPixels Membre(TFPixels p) {
    return TFormatPixels(1u << unsigned(p));
}
constexpr bool Contient(TFormatPixels f, TFPixels p) {
    return (f & Membre(p)) != 0;
}

// Pixel-format descriptor flags.
inline constexpr std::uint16_t PFD_DOUBLEBUFFER = 1;
inline constexpr std::uint16_t PFD_STEREO = 2;
inline constexpr std::uint16_t PFD_DRAW_TO_WINDOW = 4;
inline constexpr std::uint16_t PFD_DRAW_TO_BITMAP = 8;
inline constexpr std::uint16_t PFD_SUPPORT_GDI = 16;
inline constexpr std::uint16_t PFD_SUPPORT_OPENGL = 32;
inline constexpr std::uint16_t PFD_GENERIC_ACCELERATED = 4096;

// The flags of a format; GDI support is dropped by a double buffer.
std::uint16_t CalculerFlagsPixels(TFormatPixels format);

// The pixel format the view asks for, bit counts of 16, 24 or 32.
struct TFormatDemande {
    std::int32_t CouleurProf = 24;
    std::int32_t TamponBits = 16;
    std::int32_t StencilBits = 16;
    std::int32_t AccumProf = 32;
    bool StencilActif = true;
    bool AccumActif = true;
    TFormatPixels FormatPix = Membre(TFPixels::pxDoubleBuffer) | Membre(TFPixels::pxSupportGDI) |
                              Membre(TFPixels::pxSupportOpenGL);
};

// What is actually requested: a buffer that is not in use gets no bits.
struct TDescripteurPixels {
    std::uint16_t Flags = 0;
    std::int32_t BitsCouleur = 0, BitsProfondeur = 0, BitsAccum = 0, BitsStencil = 0;
};
TDescripteurPixels DecrireFormat(const TFormatDemande& demande);

struct TResolution {
    std::int32_t m_BitsParPixels = 0, m_Largeur = 0, m_Hauteur = 0, m_Frequence = 0;
};

// One line per display mode, in order.
std::vector<std::string> LignesResolutions(const std::vector<TResolution>& resolutions);

struct TInfoMateriel {
    TResolution Ecran;
    std::string Vendeur, Nom, Version;
    std::int32_t ViewportMaxL = 0, ViewportMaxH = 0;
    std::int32_t TextureMax = 0, LumieresMax = 0, PlansDecoupageMax = 0;
    std::string Extensions; // names separated by single spaces
};

inline constexpr const char* InfoNonInitialise = "ERREUR : Le composant n'est pas initialisé !";

std::vector<std::string> LignesInfoSurMateriel(const TInfoMateriel& info);

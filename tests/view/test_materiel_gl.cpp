#include "view/MaterielGL.h"

#include <gtest/gtest.h>

namespace {

TFormatPixels Format(std::initializer_list<TFPixels> membres) {
    TFormatPixels f = 0;
    for (TFPixels p : membres)
        f |= Membre(p);
    return f;
}

} // namespace

TEST(FlagsPixels, ChaqueMembreDonneSonFlagEtLeDoubleTamponExclutGdi) {
    using enum TFPixels;
    const struct {
        TFormatPixels Format;
        std::uint16_t Flags;
    } cas[] = {
        {Format({pxDoubleBuffer, pxSupportGDI, pxSupportOpenGL}), 33},
        {Format({pxDrawToWindow, pxSupportGDI, pxSupportOpenGL}), 52},
        {Format({pxDoubleBuffer, pxDrawToWindow, pxSupportOpenGL}), 37},
        {Format({pxDrawToBitmap, pxStereo, pxGenericAccelerated}), 8 + 2 + 4096},
        {0, 0},
    };
    for (const auto& c : cas)
        EXPECT_EQ(CalculerFlagsPixels(c.Format), c.Flags) << int(c.Format);
    EXPECT_EQ(DecrireFormat(TFormatDemande{}).Flags, 33);
}

TEST(FlagsPixels, UnTamponInutiliseNeDemandeAucunBit) {
    TFormatDemande d;
    TDescripteurPixels p = DecrireFormat(d);
    EXPECT_EQ(p.BitsCouleur, 24);
    EXPECT_EQ(p.BitsProfondeur, 16);
    EXPECT_EQ(p.BitsStencil, 16);
    EXPECT_EQ(p.BitsAccum, 32);
    d.StencilActif = false;
    d.AccumActif = false;
    p = DecrireFormat(d);
    EXPECT_EQ(p.BitsStencil, 0);
    EXPECT_EQ(p.BitsAccum, 0);
}

TEST(InfoSurMateriel, LignesDansLOrdreEtUneExtensionParLigne) {
    TInfoMateriel info;
    info.Ecran = {24, 1280, 800, 60};
    info.Vendeur = "V";
    info.Nom = "N";
    info.Version = "4.5 (Compatibility Profile)";
    info.ViewportMaxL = 16384;
    info.ViewportMaxH = 8192;
    info.TextureMax = 8192;
    info.LumieresMax = 8;
    info.PlansDecoupageMax = 6;
    info.Extensions = "GL_A GL_BB GL_C ";
    const std::vector<std::string> attendu = {
        "Écran :",
        "    Résolution : 1280 x 800 px",
        "    Bits par pixels : 24 bpp",
        "    Rafraîchissement vertical : 60 Hertz",
        "",
        "Carte graphique :",
        "    Vendeur : V",
        "    Nom : N",
        "    Version : 4.5 (Compatibility Profile)",
        "    Dimension maximale du Viewport : 16384 x 8192",
        "    Dimension maximale des textures : 8192 x 8192",
        "    Nombre maximal de lumières : 8",
        "    Nombre maximal de plans de découpage : 6",
        "    Extensions supportées: ",
        "                 GL_A",
        "                 GL_BB",
        "                 GL_C",
    };
    EXPECT_EQ(LignesInfoSurMateriel(info), attendu);
}

TEST(Resolutions, UneLigneParMode) {
    EXPECT_TRUE(LignesResolutions({}).empty());
    EXPECT_EQ(LignesResolutions({{32, 1920, 1080, 60}, {16, 800, 600, 75}}),
              (std::vector<std::string>{"1920 x 1080  32 bpp  60Mhz", "800 x 600  16 bpp  75Mhz"}));
}

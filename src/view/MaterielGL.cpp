#include "view/MaterielGL.h"

#include "util/Format.h"

std::uint16_t CalculerFlagsPixels(TFormatPixels format) {
    struct TCorrespondance {
        TFPixels Membre;
        std::uint16_t Flag;
    };
    constexpr TCorrespondance Table[] = {
        {TFPixels::pxDrawToWindow, PFD_DRAW_TO_WINDOW},
        {TFPixels::pxDrawToBitmap, PFD_DRAW_TO_BITMAP},
        {TFPixels::pxSupportOpenGL, PFD_SUPPORT_OPENGL},
        {TFPixels::pxGenericAccelerated, PFD_GENERIC_ACCELERATED},
        {TFPixels::pxStereo, PFD_STEREO},
        {TFPixels::pxDoubleBuffer, PFD_DOUBLEBUFFER},
    };
    std::uint16_t flags = 0;
    for (const TCorrespondance& c : Table)
        if (Contient(format, c.Membre)) flags |= c.Flag;
    // Drawing through the window system's own calls is not possible into a back buffer.
    if (Contient(format, TFPixels::pxSupportGDI) && !Contient(format, TFPixels::pxDoubleBuffer))
        flags |= PFD_SUPPORT_GDI;
    return flags;
}

TDescripteurPixels DecrireFormat(const TFormatDemande& demande) {
    TDescripteurPixels d;
    d.Flags = CalculerFlagsPixels(demande.FormatPix);
    d.BitsCouleur = demande.CouleurProf;
    d.BitsProfondeur = demande.TamponBits;
    d.BitsAccum = demande.AccumActif ? demande.AccumProf : 0;
    d.BitsStencil = demande.StencilActif ? demande.StencilBits : 0;
    return d;
}

std::vector<std::string> LignesResolutions(const std::vector<TResolution>& resolutions) {
    std::vector<std::string> lignes;
    lignes.reserve(resolutions.size());
    for (const TResolution& r : resolutions)
        lignes.push_back(Formater("%d x %d  %d bpp  %dMhz", r.m_Largeur, r.m_Hauteur,
                                  r.m_BitsParPixels, r.m_Frequence));
    return lignes;
}

std::vector<std::string> LignesInfoSurMateriel(const TInfoMateriel& info) {
    const TResolution& e = info.Ecran;
    std::vector<std::string> lignes = {
        "Écran :",
        Formater("    Résolution : %d x %d px", e.m_Largeur, e.m_Hauteur),
        Formater("    Bits par pixels : %d bpp", e.m_BitsParPixels),
        Formater("    Rafraîchissement vertical : %d Hertz", e.m_Frequence),
        "",
        "Carte graphique :",
        "    Vendeur : " + info.Vendeur,
        "    Nom : " + info.Nom,
        "    Version : " + info.Version,
        Formater("    Dimension maximale du Viewport : %d x %d", info.ViewportMaxL,
                 info.ViewportMaxH),
        Formater("    Dimension maximale des textures : %d x %d", info.TextureMax, info.TextureMax),
        Formater("    Nombre maximal de lumières : %d", info.LumieresMax),
        Formater("    Nombre maximal de plans de découpage : %d", info.PlansDecoupageMax),
        "    Extensions supportées: ",
    };
    const std::string& ext = info.Extensions;
    for (std::size_t debut = 0; debut < ext.size();) {
        std::size_t fin = ext.find(' ', debut);
        if (fin == std::string::npos) fin = ext.size();
        if (fin > debut) lignes.push_back(std::string(17, ' ') + ext.substr(debut, fin - debut));
        debut = fin + 1;
    }
    return lignes;
}

#pragma once
// The settings of the windows as named strings, and the rules that turn a window's placement into
// the string "WinLTWH" and back. The store that keeps them on disk is the window's business.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

// Names are compared without regard to case: "dernierscan" finds "DernierScan".
struct TMoinsSansCasse {
    bool operator()(const std::string& a, const std::string& b) const;
};

// A window key, a tab, then the value name; values of the application key have no window key.
class TMagasinReglages {
public:
    using TDonnees = std::map<std::string, std::string, TMoinsSansCasse>;

    void Vider() { donnees_.clear(); }
    // An empty text is not kept: reading it gives the default anyway.
    void Ajouter(const std::string& nom, const std::string& valeur);
    std::string GetStr(const std::string& cle, const std::string& nomValeur) const;
    std::int32_t GetLong(const std::string& cle, const std::string& nomValeur,
                         std::int32_t defaut) const;
    void PutStr(const std::string& cle, const std::string& nomValeur, const std::string& valeur);
    void PutLong(const std::string& cle, const std::string& nomValeur, std::int32_t valeur);
    // Sorted by name, without regard to case.
    const TDonnees& Donnees() const { return donnees_; }

private:
    TDonnees donnees_;
};

struct TRectangleFenetre {
    std::int32_t gauche = 0, haut = 0, largeur = 0, hauteur = 0;
    bool operator==(const TRectangleFenetre&) const = default;
};

enum class TEtatFenetre : std::uint8_t { Normale, Maximisee, Minimisee };

struct TPlacementFenetre {
    TEtatFenetre etat = TEtatFenetre::Normale;
    // None when the text did not hold its four numbers: the window keeps its place.
    std::optional<TRectangleFenetre> rectangle;
};

// "A12 40 800 600": maximised, normal rectangle (12, 40, 800, 600); negative left and top are
// brought to 0.
TPlacementFenetre LireWinLTWH(const std::string& texte);
std::string EcrireWinLTWH(TEtatFenetre etat, const TRectangleFenetre& normal);

// No larger than a screen of that size, with at least 50 pixels of the window on it.
TRectangleFenetre GarderSurEcran(TRectangleFenetre r, std::int32_t largeurEcran,
                                 std::int32_t hauteurEcran);

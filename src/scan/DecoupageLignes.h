#pragma once
// Text as it comes, cut into lines: a line ends at LF, CR LF or a lone CR (old exports), a UTF-8
// byte order mark at the start is skipped, and a line longer than the bound is only reported,
// never held in memory (a file with no line end would otherwise grow one line without limit).

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t LongueurMaxLigne = 4096;

class TDecoupageLignes {
public:
    // `ligne(texte, tropLongue)` receives each line without its end; `texte` is empty when the
    // line was longer than LongueurMaxLigne.
    template <class F> void Ajouter(std::string_view bloc, F&& ligne) {
        std::size_t debut = 0;
        prochainCR_ = prochainLF_ = AChercher;
        if (apresCR_ && !bloc.empty()) {
            // The LF of a CR LF split between two blocks.
            if (bloc[0] == '\n') debut = 1;
            apresCR_ = false;
        }
        while (debut < bloc.size()) {
            const std::size_t fin = FinDeLigne(bloc, debut);
            if (fin == std::string_view::npos) {
                Garder(bloc.substr(debut));
                return;
            }
            const std::string_view morceau = bloc.substr(debut, fin - debut);
            if (reste_.empty() && !tropLongue_) {
                Rendre(morceau, ligne);
            } else {
                Garder(morceau);
                Rendre(reste_, ligne);
            }
            reste_.clear();
            tropLongue_ = false;
            debut = fin + 1;
            if (bloc[fin] == '\r') {
                if (debut == bloc.size())
                    apresCR_ = true;
                else if (bloc[debut] == '\n')
                    ++debut;
            }
        }
    }

    // The last line, when the text does not end with a line end.
    template <class F> void Terminer(F&& ligne) {
        if (!reste_.empty() || tropLongue_) Rendre(reste_, ligne);
        reste_.clear();
        tropLongue_ = false;
    }

private:
    std::string reste_;
    bool tropLongue_ = false;
    bool apresCR_ = false;
    bool premiere_ = true;
    // Where the next CR and LF of the block are, so that a block is searched once for each,
    // whatever mix of line ends it holds (npos: none left).
    static constexpr std::size_t AChercher = std::string_view::npos - 1;
    std::size_t prochainCR_ = AChercher, prochainLF_ = AChercher;

    std::size_t FinDeLigne(std::string_view bloc, std::size_t debut);
    void Garder(std::string_view morceau);

    template <class F> void Rendre(std::string_view texte, F&& ligne) {
        if (premiere_) {
            premiere_ = false;
            if (texte.starts_with("\xEF\xBB\xBF")) texte.remove_prefix(3);
        }
        const bool trop = tropLongue_ || texte.size() > LongueurMaxLigne;
        ligne(trop ? std::string_view() : texte, trop);
    }
};

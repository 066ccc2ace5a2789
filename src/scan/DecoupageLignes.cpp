#include "scan/DecoupageLignes.h"

#include <algorithm>
#include <cstring>

namespace {

void Chercher(std::string_view bloc, std::size_t debut, char c, std::size_t& position) {
    if (position != std::string_view::npos && (position < debut || position >= bloc.size())) {
        const void* p = std::memchr(bloc.data() + debut, c, bloc.size() - debut);
        position =
            p ? std::size_t(static_cast<const char*>(p) - bloc.data()) : std::string_view::npos;
    }
}

} // namespace

std::size_t TDecoupageLignes::FinDeLigne(std::string_view bloc, std::size_t debut) {
    Chercher(bloc, debut, '\r', prochainCR_);
    Chercher(bloc, debut, '\n', prochainLF_);
    return std::min(prochainCR_, prochainLF_);
}

void TDecoupageLignes::Garder(std::string_view morceau) {
    if (tropLongue_) return;
    if (reste_.size() + morceau.size() > LongueurMaxLigne) {
        tropLongue_ = true;
        reste_.clear();
        return;
    }
    reste_.append(morceau);
}

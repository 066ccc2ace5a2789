#include "scan/ReserveCubes.h"

#include "scan/UArkaluneGlb.h"

#include <algorithm>
#include <bit>
#include <new>
#include <sys/mman.h>

namespace {
// Blocks grow from 2 MB to 64 MB: a small scan stays small, a large one makes few blocks. They
// are aligned on 2 MB and offered to the kernel's huge pages: a load of millions of cubes then
// takes a page fault per 2 MB instead of per 4 kB.
constexpr std::size_t TailleBlocMin = std::size_t(2) << 20;
constexpr std::size_t TailleBlocMax = std::size_t(64) << 20;
constexpr std::align_val_t AlignementBloc{std::size_t(2) << 20};
constexpr std::size_t Alignement = alignof(std::max_align_t);

std::size_t Aligner(std::size_t n) { return (n + Alignement - 1) & ~(Alignement - 1); }

int ClasseDe(int capacite) { return std::bit_width(unsigned(capacite - 1)); }
} // namespace

void TReserveCubes::TLibererBloc::operator()(std::byte* bloc) const {
    ::operator delete(bloc, AlignementBloc);
}

void* TReserveCubes::Allouer(std::size_t taille) {
    taille = Aligner(taille);
    if (taille > reste_) {
        // Every object is built in place when it is handed out: the block needs no zeroing.
        const std::size_t tailleBloc = std::clamp(octets_, TailleBlocMin, TailleBlocMax);
        std::unique_ptr<std::byte, TLibererBloc> bloc(
            static_cast<std::byte*>(::operator new(tailleBloc, AlignementBloc)));
#ifdef MADV_HUGEPAGE
        ::madvise(bloc.get(), tailleBloc, MADV_HUGEPAGE);
#endif
        courant_ = bloc.get();
        blocs_.push_back(std::move(bloc));
        reste_ = tailleBloc;
        octets_ += tailleBloc;
    }
    void* p = courant_;
    courant_ += taille;
    reste_ -= taille;
    return p;
}

TCube* TReserveCubes::NouveauCube() {
    static_assert(sizeof(TCube) >= sizeof(TLibre));
    void* p;
    if (cubesLibres_) {
        p = cubesLibres_;
        cubesLibres_ = cubesLibres_->suivant;
    } else {
        p = Allouer(sizeof(TCube));
    }
    return new (p) TCube();
}

void TReserveCubes::RendreCube(TCube* cube) {
    static_assert(std::is_trivially_destructible_v<TCube>);
    cubesLibres_ = new (cube) TLibre{cubesLibres_};
}

TCube** TReserveCubes::NouveauTableau(int& capacite) {
    const int classe = ClasseDe(capacite);
    capacite = 1 << classe;
    if (TLibre* l = tableauxLibres_[classe]) {
        tableauxLibres_[classe] = l->suivant;
        return reinterpret_cast<TCube**>(l);
    }
    return static_cast<TCube**>(Allouer(sizeof(TCube*) * std::size_t(capacite)));
}

void TReserveCubes::RendreTableau(TCube** tableau, int capacite) {
    const int classe = ClasseDe(capacite);
    tableauxLibres_[classe] = new (tableau) TLibre{tableauxLibres_[classe]};
}

void TReserveCubes::ToutLiberer() {
    blocs_.clear();
    courant_ = nullptr;
    reste_ = 0;
    octets_ = 0;
    cubesLibres_ = nullptr;
    tableauxLibres_.fill(nullptr);
}

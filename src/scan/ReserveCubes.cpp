#include "scan/ReserveCubes.h"

#include "scan/UArkaluneGlb.h"

#include <bit>
#include <new>

namespace {
constexpr std::size_t TailleBloc = std::size_t(4) << 20;
// Cubes and child arrays only need the alignment of a pointer.
constexpr std::size_t Alignement = alignof(void*);

std::size_t Aligner(std::size_t n) {
    return (n + Alignement - 1) & ~(Alignement - 1);
}

int ClasseDe(int capacite) {
    return std::bit_width(unsigned(capacite - 1));
}
} // namespace

void* TReserveCubes::Allouer(std::size_t taille) {
    taille = Aligner(taille);
    if (taille > reste_) {
        // Every object is built in place when it is handed out: the block needs no zeroing.
        blocs_.push_back(std::make_unique_for_overwrite<std::byte[]>(TailleBloc));
        courant_ = blocs_.back().get();
        reste_ = TailleBloc;
    }
    void* p = courant_;
    courant_ += taille;
    reste_ -= taille;
    return p;
}

TCube* TReserveCubes::NouveauCube() {
    static_assert(sizeof(TCube) >= sizeof(TLibre) && alignof(TCube) <= Alignement);
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
    cubesLibres_ = nullptr;
    tableauxLibres_.fill(nullptr);
}

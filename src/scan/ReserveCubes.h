#pragma once
// Memory for the cubes and their child arrays, taken from large blocks so that a load allocates
// millions of cubes cheaply and a reset frees them all at once.

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class TCube;

class TReserveCubes {
public:
    static constexpr int NbClasses = 8; // child arrays of 1, 2, 4, ... 128 slots

    TCube* NouveauCube();
    void RendreCube(TCube* cube);

    // A child array of at least `capacite` references (capacite <= 128); its true size is
    // returned through `capacite`.
    TCube** NouveauTableau(int& capacite);
    void RendreTableau(TCube** tableau, int capacite);

    void ToutLiberer();

private:
    struct TLibre {
        TLibre* suivant;
    };
    void* Allouer(std::size_t taille);

    std::vector<std::unique_ptr<std::byte[]>> blocs_;
    std::byte* courant_ = nullptr;
    std::size_t reste_ = 0;
    TLibre* cubesLibres_ = nullptr;
    std::array<TLibre*, NbClasses> tableauxLibres_{};
};

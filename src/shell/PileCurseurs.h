#pragma once
// The nesting wait cursor: each push is undone by one pop, which shows the cursor that was there.

#include <vector>

class TPlateforme;

class TPileCurseurs {
public:
    static constexpr int CurseurSablier = -11;

    void EmpilerCurseur(TPlateforme& plateforme, int curseur);
    void DepilerCurseur(TPlateforme& plateforme);
    bool Vide() const { return pile_.empty(); }

private:
    std::vector<int> pile_;
};

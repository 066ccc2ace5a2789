#pragma once
// The dialog that asks who the calculation note is for and by whom: project, author, checker.

#include <string>

class QWidget;

struct TSignataires {
    std::string Projet, Auteur, Verificateur;
};

// Shows `signataires` to be edited; false, and `signataires` unchanged, when cancelled.
bool DemanderSignataires(QWidget* parent, TSignataires& signataires);

#pragma once
// The settings of a window in the platform's native store (the registry on Windows, a file under
// ~/.config on Linux): organisation "Kelm", application the program's file name without its
// extension, one group per window. Read once at the first idle moment, written at closing only
// if the reading completed.

#include "shell/ReglagesFenetre.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

class TWinReg {
public:
    TWinReg(QWidget& fenetre, QString cleFiche);

    // Loads the store and restores the window's placement, then runs OnChargeReg.
    void ChargeReg();
    // Records the window's placement, runs OnRangeReg and writes the store.
    void RangeReg();

    std::string GetStr(const std::string& nomValeur) const;
    void PutStr(const std::string& nomValeur, const std::string& valeur);
    bool LoadOK() const { return FLoadOK; }

    // Set by ChargeReg when the store could not be read: what to tell the user.
    std::string Illisible;
    std::function<void()> OnChargeReg;
    std::function<void()> OnRangeReg;

private:
    QWidget& fenetre_;
    std::string CleFiche;
    TMagasinReglages magasin_;
    bool FLoadOK = false;
    bool InitAlign = false;
    std::int32_t FPixelsPerInchDsgn = 120;

    void ChargeFenReg();
    void RangeFenReg();
};

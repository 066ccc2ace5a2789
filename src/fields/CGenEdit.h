#pragma once
// PROVISIONAL: minimal field logic so that the workspace can hold the six study inputs.
// To be replaced by the full validated-field logic (same public names).

#include <cstdint>
#include <string>

class TCustomGenEdit {
public:
    std::string Text() const { return texte_; }
    void TypeText(const std::string& texte) { texte_ = texte; }
    std::int32_t ValeurI();
    void EcrireValeurI(std::int32_t valeur);
    double ValeurD();
    void EcrireValeurD(double valeur);
    bool ValOK() const { return true; }

private:
    std::string texte_;
};

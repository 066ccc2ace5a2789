#include "fields/CGenEdit.h"

#include "util/Format.h"

std::int32_t TCustomGenEdit::ValeurI() {
    std::int64_t v = 0;
    return LireEntier(texte_, v) ? static_cast<std::int32_t>(v) : 0;
}

void TCustomGenEdit::EcrireValeurI(std::int32_t valeur) { texte_ = std::to_string(valeur); }

double TCustomGenEdit::ValeurD() {
    double v = 0;
    return LireReel(texte_, v) ? v : 0;
}

void TCustomGenEdit::EcrireValeurD(double valeur) { texte_ = Formater("%.15g", valeur); }

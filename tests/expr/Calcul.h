#pragma once
// Evaluation of UTF-8 test texts and a table form of the expected results.

#include "expr/Evaluateur.h"
#include "support/AttendreErreur.h"
#include "util/Utf16.h"

#include <gtest/gtest.h>

#include <optional>

inline constexpr std::uint8_t Echec = 255;

struct TCasCalcul {
    const char* texte;
    std::uint8_t type;         // typInt, typDbl, typBool, typStr, or Echec: nothing read
    const char* resultat = ""; // formattxt of the value, in UTF-8
};

// The expression at the start of the text: what follows it is left unread.
inline std::optional<Tvaleur> Calculer(const char* texte) {
    Tvaleur v;
    std::int32_t pos = 1;
    if (!EvaluerExpression(v, Utf8VersUtf16(texte), pos, nullptr, nullptr, false))
        return std::nullopt;
    return v;
}

inline void VerifierCas(const TCasCalcul& c) {
    SCOPED_TRACE(c.texte);
    std::optional<Tvaleur> v = Calculer(c.texte);
    if (c.type == Echec) {
        EXPECT_FALSE(v) << Utf16VersUtf8(v->formattxt());
        return;
    }
    ASSERT_TRUE(v);
    EXPECT_EQ(v->TypeVal(), c.type);
    EXPECT_FALSE(v->valtableau());
    EXPECT_EQ(Utf16VersUtf8(v->formattxt()), c.resultat);
}

template <class E> void AttendreErreurCalcul(const char* texte, const std::string& message) {
    SCOPED_TRACE(texte);
    AttendreErreur<E>([&] { (void)Calculer(texte); }, message);
}

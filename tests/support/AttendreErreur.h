#pragma once
// Checks that `f` throws an E whose message is exactly `message`.

#include <gtest/gtest.h>

#include <string>

template <class E, class F> void AttendreErreur(F&& f, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "aucune erreur, « " << message << " » attendu";
    } catch (const E& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

#pragma once
// Failures carry a French message (UTF-8) that the command's entry point shows to the user.

#include <new>
#include <stdexcept>
#include <string>

class EErreur : public std::runtime_error {
public:
    explicit EErreur(const std::string& message) : std::runtime_error(message) {}
};

// Raised when the user confirms "Annuler?" during a long operation.
class EStopError : public EErreur {
public:
    EStopError() : EErreur("abandon") {}
};

// The message to show for a failure: the library's own texts are English, so memory exhaustion
// gets the program's French words.
inline std::string MessageErreur(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return "mémoire insuffisante";
    return e.what();
}

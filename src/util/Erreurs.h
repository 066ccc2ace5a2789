#pragma once
// Failures carry a French message (UTF-8) that the command's entry point shows to the user.

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

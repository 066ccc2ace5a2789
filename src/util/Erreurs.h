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

// The reason of a failed system call, in French words: the system's own texts are in the user's
// language or English, and a bare number tells the user nothing.
std::string ErreurSysteme(int code);

// The message to show for a failure: the library's own texts are English, so memory exhaustion
// and the system's refusals get the program's French words.
std::string MessageErreur(const std::exception& e);

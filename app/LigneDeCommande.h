#pragma once
// What the batch commands share: reading their arguments, and the road from any outcome to an
// exit status and a French message.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr int Reussite = 0, EchecFichier = 1, EchecUsage = 2;

// A usage error: the command line asks for something the command cannot do.
struct EUsage {
    std::string message;
};

class TArguments {
public:
    explicit TArguments(std::vector<std::string> args) : args_(std::move(args)) {}
    bool Reste() const { return i_ < args_.size(); }
    const std::string& Suivant() { return args_[i_++]; }
    // The value that follows the option just read.
    const std::string& Valeur(const std::string& option);

private:
    std::vector<std::string> args_;
    std::size_t i_ = 0;
};

// "--help" or "-h" anywhere prints `usage` on stdout, "--version" the command's name and version:
// the exit status (0, or 1 when stdout could not be written); none when neither was asked.
std::optional<int> RepondreAuxOptionsDInformation(const char* nom, const char* usage, int argc,
                                                  char** argv);

// Runs `corps` on the arguments and returns the exit status it gives, with the outcomes every
// command shares: the options of RepondreAuxOptionsDInformation; a usage error prints its message
// on stderr, with the whole usage when no argument was given (2); any other exception prints its
// message (1); output that could not be written to stdout is an error too (1).
int ExecuterCommande(const char* nom, const char* usage, int argc, char** argv,
                     const std::function<int(TArguments&)>& corps);

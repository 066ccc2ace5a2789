#include "ConsoleSysteme.h"

#include <csignal>

std::vector<std::string> PreparerConsole(int argc, char** argv) {
    // A closed pipe is an error to report, not a signal that kills the command silently.
    std::signal(SIGPIPE, SIG_IGN);
    return {argv + 1, argv + argc};
}

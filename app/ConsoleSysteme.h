#pragma once
// How a batch command meets its system (ConsoleSysteme-Posix.cpp, ConsoleSysteme-Windows.cpp):
// the standard streams made ready for the command's bytes, and the arguments in UTF-8.

#include <string>
#include <vector>

// The arguments after the program's name.
std::vector<std::string> PreparerConsole(int argc, char** argv);

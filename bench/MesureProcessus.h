#pragma once
// Measuring one operation in a fresh child process, so that the peak memory of a case is its
// own and not that of an earlier, larger one.

#include <functional>
#include <string>

struct TMesure {
    double Secondes = 0;
    double SecondesCPU = 0; // user and system time: less disturbed by other processes
    double Points = 0;      // what the operation reports it handled
    // Peak resident memory during the operation, less what the process held before preparing it.
    double OctetsPic = 0;
};

// Forks; the child runs `preparer` (not measured), then times `operation`, which returns the
// number of points it handled. Throws std::runtime_error with the child's message if it failed.
TMesure MesurerDansUnProcessus(const std::function<void()>& preparer,
                               const std::function<double()>& operation);

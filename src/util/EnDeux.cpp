#include "util/EnDeux.h"

#include <exception>
#include <system_error>
#include <thread>

void FaireEnDeux(const std::function<void(int moitie)>& travail) {
    std::exception_ptr erreur;
    std::jthread autre;
    try {
        autre = std::jthread([&] {
            try {
                travail(0);
            } catch (...) {
                erreur = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        travail(0);
    }
    travail(1);
    if (autre.joinable()) autre.join();
    if (erreur) std::rethrow_exception(erreur);
}

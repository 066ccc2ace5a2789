#include "util/EnParties.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

int PartiesParDefaut() {
    return std::max(1, int(std::thread::hardware_concurrency()));
}

void FaireEnParties(int parties, const std::function<void(int partie)>& travail) {
    parties = std::max(parties, 1);
    std::vector<std::exception_ptr> erreurs(static_cast<std::size_t>(parties));
    const auto faire = [&](int partie) {
        try {
            travail(partie);
        } catch (...) {
            erreurs[std::size_t(partie)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> autres;
        for (int partie = 0; partie + 1 < parties; ++partie) {
            try {
                autres.emplace_back(faire, partie);
            } catch (const std::system_error&) {
                faire(partie);
            }
        }
        faire(parties - 1);
    } // the threads joined
    for (const std::exception_ptr& e : erreurs)
        if (e) std::rethrow_exception(e);
}

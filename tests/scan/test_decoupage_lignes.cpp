#include "scan/DecoupageLignes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string Longue(LongueurMaxLigne + 1, '7');
const std::string AuMax(LongueurMaxLigne, '7');

// The lines as the splitter gives them, "<trop>" for one over the bound, the text fed in blocks
// of `pas` bytes (0: at once).
std::vector<std::string> Lignes(const std::string& texte, std::size_t pas) {
    std::vector<std::string> lignes;
    auto garder = [&](std::string_view ligne, bool tropLongue) {
        lignes.push_back(tropLongue ? "<trop>" : std::string(ligne));
    };
    TDecoupageLignes d;
    if (pas == 0) pas = texte.size() + 1;
    for (std::size_t debut = 0; debut < texte.size(); debut += pas)
        d.Ajouter(std::string_view(texte).substr(debut, pas), garder);
    d.Terminer(garder);
    return lignes;
}

} // namespace

TEST(DecoupageLignes, FinsDeLigneMarqueEtLignesTropLongues) {
    struct Cas {
        std::string texte;
        std::vector<std::string> lignes;
    };
    const Cas cas[] = {
        {"", {}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\rc", {"a", "b", "c"}}, // CR alone, old exports
        {"a\r\rb\r", {"a", "", "b"}}, // an empty line between two CRs
        {"a\n\r\nb", {"a", "", "b"}}, // LF then CR LF: an empty line
        {"a\r\n\nb", {"a", "", "b"}},
        {"\xEF\xBB\xBF"
         "1 2 3\r\n4 5 6",
         {"1 2 3", "4 5 6"}},                               // the mark is not text
        {"1 2 3\n\xEF\xBB\xBF", {"1 2 3", "\xEF\xBB\xBF"}}, // elsewhere it is
        {AuMax + "\n" + Longue + "\r\nb", {AuMax, "<trop>", "b"}},
        {"a\n" + Longue, {"a", "<trop>"}},
    };
    for (const Cas& c : cas) {
        for (std::size_t pas :
             {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(1000)}) {
            SCOPED_TRACE(testing::Message() << "«" << c.texte.substr(0, 20) << "» pas " << pas);
            EXPECT_EQ(Lignes(c.texte, pas), c.lignes);
        }
    }
}

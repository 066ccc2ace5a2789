#include "html/HtmlUtils.h"
#include "html/TexteHtml.h"

#include <gtest/gtest.h>

TEST(TexteBrutHtml, UneLigneParRangeeDeTableauCellulesSepareesParDesTabulations) {
    THtmlTable table;
    table.DebutTable(30, 2, 0, 2, "C20 D40 D40");
    const char* const lignes[2][3] = {{"n° arc", "V", "H"}, {"1", "-141", " "}};
    for (const auto& ligne : lignes) {
        table.DebutLigne("", "");
        for (int i = 0; i < 3; ++i)
            table.Cellule("", 1, 1, 2, 1, "", ligne[i], false);
        table.FinLigne();
    }
    EXPECT_EQ(TexteBrutHtml("<P> Arcs de droite :<BR>" + table.FinTable() + "<BR> suite</P>"),
              "Arcs de droite :\nn° arc\tV\tH\n1\t-141\t\n\nsuite\n");
}

TEST(TexteBrutHtml, LignesBlancsEtReferences) {
    const std::pair<const char*, const char*> cas[] = {
        {"<P><B>TITRE :</B></P><P> a<BR><BR>   FX= 3<BR></P>", "TITRE :\na\n\nFX= 3\n"},
        {"un\r\n  deux   trois", "un deux trois\n"},
        {"&lt;b&gt; &amp; &quot;x&quot; &#39;y&#39;&nbsp;z", "<b> & \"x\" 'y' z\n"},
        {"a &inconnu; & b", "a &inconnu; & b\n"},
        {"<p>un</p><p>deux</p>", "un\ndeux\n"},
        {"fin <coupée", "fin\n"},
        {"", ""},
    };
    for (const auto& [html, texte] : cas)
        EXPECT_EQ(TexteBrutHtml(html), texte) << html;
}

TEST(EchapperHtml, LesCaracteresDeLaSyntaxe) {
    EXPECT_EQ(EchapperHtml("a<b>&\"c\" é"), "a&lt;b&gt;&amp;&quot;c&quot; é");
    EXPECT_EQ(TexteBrutHtml(EchapperHtml("scan <1> & \"2\".xyz")), "scan <1> & \"2\".xyz\n");
}

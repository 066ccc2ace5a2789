#include "html/HtmlUtils.h"
#include "util/Erreurs.h"

#include <gtest/gtest.h>

namespace {

const std::string CRLF = "\r\n";

std::string Nombre10(std::string_view t, std::string_view cle) {
    const std::size_t p = t.find(cle);
    return p == std::string_view::npos ? "" : std::string(t.substr(p + cle.size(), 10));
}

} // namespace

TEST(THtmlTable, TableDeTroisColonnes) {
    THtmlTable t;
    EXPECT_FALSE(t.LigOdd());
    t.DebutTable(30, 2, 0, 2, "C20 D40 D40");
    EXPECT_EQ(t.NbCols(), 3);
    t.DebutLigne("", "");
    t.Cellule("", 1, 1, 2, 1, "", "n° arc", false);
    t.Cellule("", 1, 1, 3, 1, "", "  ", false);
    t.Cellule("", 1, 1, 0, 0, "", "H", true);
    t.FinLigne();
    EXPECT_TRUE(t.LigOdd());
    const std::string attendu =
        "<TABLE border=\"2\" cellpadding=\"2\" cellspacing=\"0\" width=\"30%\">" + CRLF +
        "<COLGROUP><COL width=\"20%\"><COL width=\"40%\"><COL width=\"40%\"></COLGROUP>"
        "<TR >" +
        CRLF + "<TD width=\"20%\" align=\"center\" >n° arc</TD>" + CRLF +
        "<TD width=\"20%\" align=\"right\" >&nbsp;</TD>" + CRLF + "<TH >H</TH>" + CRLF + "</TR>" +
        CRLF + CRLF + "</TABLE>";
    EXPECT_EQ(t.FinTable(), attendu);
    // The rows stay stored: the table can be finished again.
    EXPECT_EQ(t.FinTable(), attendu);
}

TEST(THtmlTable, AttributsDesCellules) {
    THtmlTable t;
    t.DebutTable("rapport", "id=\"x\"", "C20 D40 D40", 0);
    t.DebutLigne("pair", "");
    // Prepended one after the other: the last one added comes first.
    t.Cellule("num", 3, 2, 1, 2, "style=\"a\"", "v", false);
    t.FinLigne();
    EXPECT_EQ(t.FinTable(),
              "<TABLE class=\"rapport\" id=\"x\">" + CRLF +
                  "<COLGROUP><COL width=\"20%\"><COL width=\"40%\"><COL width=\"40%\"></COLGROUP>"
                  "<TR class=\"pair\" >" +
                  CRLF +
                  "<TD class=\"num\" rowspan=\"3\" colspan=\"2\" width=\"80%\" align=\"left\" "
                  "style=\"a\">v</TD>" +
                  CRLF + "</TR>" + CRLF + CRLF + "</TABLE>");
}

TEST(THtmlTable, GroupeDeColonnes) {
    const struct {
        const char* colonnes;
        const char* groupe;
        int nbCols;
    } cas[] = {
        {"G30 50 0 D20", "<COLGROUP><COL width=\"30%\"><COL width=\"50%\"></COLGROUP>", 2},
        {"x", "<COLGROUP><COL width=\"10%\"></COLGROUP>", 1},
        {" C20", "<COLGROUP></COLGROUP>", 0},
        {"D25   \t G75", "<COLGROUP><COL width=\"25%\"><COL width=\"75%\"></COLGROUP>", 2},
    };
    for (const auto& c : cas) {
        THtmlTable t;
        t.DebutTable(100, 0, 0, 0, c.colonnes);
        EXPECT_EQ(t.FinTable(),
                  std::string("<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
                              "width=\"100%\">") +
                      CRLF + c.groupe + "</TABLE>")
            << c.colonnes;
        EXPECT_EQ(t.NbCols(), c.nbCols) << c.colonnes;
    }
    // An empty column list keeps the columns of the previous one.
    THtmlTable t;
    t.DebutTable(100, 0, 0, 0, "C20 D40");
    t.DebutTable(100, 0, 0, 0, "");
    EXPECT_EQ(t.NbCols(), 2);
}

TEST(THtmlTable, HorsDuModeleUneErreurPlutotQuUnPlantage) {
    THtmlTable t;
    t.DebutTable("", "", "C50 D50", 1); // one row reserved, plus one for the column group
    t.DebutLigne("", "");
    EXPECT_THROW(t.Cellule("", 1, 2, 2, 2, "", "x", false), EErreur); // beyond the columns
    EXPECT_THROW(t.Cellule("", 1, 1, 4, 1, "", "x", false), EErreur); // no such alignment
    t.FinLigne();
    t.FinLigne();
    EXPECT_THROW(t.FinLigne(), EErreur);
    EXPECT_THROW(t.DebutTable("", "", "", -1), EErreur);
}

TEST(TexteHtmlFormat, DecalagesEnOctets) {
    const std::string avant = "<html><body>";
    const std::string fragment = "<b>Résultats : voûte</b>"; // two letters of two bytes
    const std::string apres = "</body></html>";
    const std::string t = TexteHtmlFormat(fragment, avant, apres);

    const std::size_t debutHtml = std::stoul(Nombre10(t, "StartHTML:"));
    const std::size_t finHtml = std::stoul(Nombre10(t, "EndHTML:"));
    const std::size_t debutFragment = std::stoul(Nombre10(t, "StartFragment:"));
    const std::size_t finFragment = std::stoul(Nombre10(t, "EndFragment:"));
    EXPECT_EQ(t.rfind("Version:1.0\r\nStartHTML:", 0), 0u);
    EXPECT_EQ(t.substr(debutHtml, avant.size()), avant);
    EXPECT_EQ(finHtml, t.size());
    EXPECT_EQ(t.substr(debutFragment, finFragment - debutFragment), fragment);
    EXPECT_EQ(finFragment - debutFragment, fragment.size()); // bytes, not letters
    EXPECT_EQ(t.substr(finFragment, 19), "<!-- EndFragment-->");
    EXPECT_EQ(Nombre10(t, "StartSelection:"), Nombre10(t, "StartFragment:"));
    EXPECT_EQ(Nombre10(t, "EndSelection:"), Nombre10(t, "EndFragment:"));
    EXPECT_EQ(debutHtml, 157u); // the header, whose length no number changes
}

#pragma once
// HTML produced by the study: a table written row by row with column widths in percent, and the
// "HTML Format" clipboard text (a header of byte offsets, then the document with the fragment
// between two comment markers). Plain text processing; the browser and the clipboard are reached
// elsewhere.

#include <cstdint>
#include <string>
#include <vector>

struct THtmlCol {
    std::int32_t GCD1 = 2;   // alignment: 1 left, 2 centre, 3 right
    std::int32_t wcolpc = 0; // width, percent of the table
};

class THtmlTable {
public:
    // A table `pclrg` percent wide. `colswpctbl`: one word per column, an optional alignment
    // letter G, C or D followed by the width in percent ("C20 D40 D40").
    void DebutTable(std::int32_t pclrg, std::int32_t bordure, std::int32_t espcell,
                    std::int32_t mrgcell, const std::string& colswpctbl);
    // A table with a style class and free attributes; `nlig` > 0 reserves that many rows.
    void DebutTable(const std::string& nomclasse, std::string params, const std::string& colswpctbl,
                    std::int32_t nlig);
    void DebutLigne(const std::string& nomclasse, std::string params);
    // GCD1: 0 no alignment, 1 left, 2 centre, 3 right. pos1 >= 1: the cell takes the widths of
    // the columns pos1 .. pos1 + colspan - 1.
    void Cellule(const std::string& nomclasse, std::int32_t rowspan, std::int32_t colspan,
                 std::int32_t GCD1, std::int32_t pos1, std::string params, const std::string& texte,
                 bool header);
    void FinLigne();
    // The whole table; the rows stay stored.
    std::string FinTable() const;
    bool LigOdd() const { return FLigLibre % 2 != 0; }
    std::int32_t NbCols() const { return Fnbcols; }

private:
    std::int32_t FLigLibre = 0;
    std::int32_t Fnbcols = 0;
    std::vector<std::string> lignesHtml;
    bool LignesFixees = false;
    std::string EnTete;
    std::string Flig;
    std::vector<THtmlCol> Cols;

    void AjouterLigne(const std::string& ligne);
    std::string ColGroup(const std::string& colonnes);
};

// The clipboard's "HTML Format" text of `fragment`, with `avant` and `apres` around it in the
// document. Every offset of its header counts bytes of this UTF-8 text.
std::string TexteHtmlFormat(const std::string& fragment, const std::string& avant,
                            const std::string& apres);

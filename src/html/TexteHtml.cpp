#include "html/TexteHtml.h"

#include <cctype>

namespace {

bool Blanc(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The tag's name in upper case, without its "/" ("</td >" gives "TD").
std::string NomBalise(std::string_view balise) {
    std::size_t i = 0;
    while (i < balise.size() && (balise[i] == '/' || Blanc(balise[i])))
        ++i;
    std::string nom;
    for (; i < balise.size() && std::isalnum(static_cast<unsigned char>(balise[i])); ++i)
        nom += char(std::toupper(static_cast<unsigned char>(balise[i])));
    return nom;
}

class TTexteBrut {
public:
    void Balise(std::string_view balise) {
        const std::string nom = NomBalise(balise);
        const bool fermante = !balise.empty() && balise.front() == '/';
        if (nom == "BR") {
            FinDeLigne();
        } else if (nom == "P" || nom == "TABLE" || nom == "DIV" || nom == "H1" || nom == "H2") {
            if (!EnDebutDeLigne()) FinDeLigne();
        } else if (nom == "TR") {
            if (!EnDebutDeLigne()) FinDeLigne();
            cellulesDansLaLigne_ = 0;
        } else if ((nom == "TD" || nom == "TH") && !fermante) {
            OterBlancsFinals();
            if (cellulesDansLaLigne_++ > 0) texte_ += '\t';
            blancEnAttente_ = false;
        }
    }

    void Caractere(char c) {
        if (Blanc(c)) {
            blancEnAttente_ = !EnDebutDeLigne() && texte_.back() != '\t';
            return;
        }
        if (blancEnAttente_) texte_ += ' ';
        blancEnAttente_ = false;
        texte_ += c;
    }

    void Texte(std::string_view t) {
        for (char c : t)
            Caractere(c);
    }

    std::string Fin() {
        if (!EnDebutDeLigne()) FinDeLigne();
        return std::move(texte_);
    }

private:
    std::string texte_;
    bool blancEnAttente_ = false;
    int cellulesDansLaLigne_ = 0;

    bool EnDebutDeLigne() const { return texte_.empty() || texte_.back() == '\n'; }
    void OterBlancsFinals() {
        while (!texte_.empty() && texte_.back() == ' ')
            texte_.pop_back();
    }
    void FinDeLigne() {
        OterBlancsFinals();
        texte_ += '\n';
        blancEnAttente_ = false;
    }
};

// The character a reference stands for; empty when it is not one we know (then kept as typed).
std::string_view Reference(std::string_view nom) {
    if (nom == "nbsp") return " ";
    if (nom == "amp") return "&";
    if (nom == "lt") return "<";
    if (nom == "gt") return ">";
    if (nom == "quot") return "\"";
    if (nom == "#39" || nom == "apos") return "'";
    return {};
}

} // namespace

std::string EchapperHtml(std::string_view texte) {
    std::string r;
    for (char c : texte) {
        switch (c) {
        case '&':
            r += "&amp;";
            break;
        case '<':
            r += "&lt;";
            break;
        case '>':
            r += "&gt;";
            break;
        case '"':
            r += "&quot;";
            break;
        default:
            r += c;
        }
    }
    return r;
}

std::string TexteBrutHtml(std::string_view html) {
    TTexteBrut sortie;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t fin = html.find('>', i);
            if (fin == html.npos) break; // an unfinished tag shows nothing
            sortie.Balise(html.substr(i + 1, fin - i - 1));
            i = fin + 1;
        } else if (c == '&') {
            const std::size_t fin = html.find(';', i);
            const std::string_view valeur = fin == html.npos || fin - i > 8
                                                ? std::string_view{}
                                                : Reference(html.substr(i + 1, fin - i - 1));
            if (valeur.empty()) {
                sortie.Caractere(c);
                ++i;
            } else {
                sortie.Texte(valeur);
                i = fin + 1;
            }
        } else {
            sortie.Caractere(c);
            ++i;
        }
    }
    return sortie.Fin();
}

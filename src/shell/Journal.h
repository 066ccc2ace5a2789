#pragma once
// The support journal: every status text, question (with its answer) and message appended to a
// file, one UTF-8 line each, so that a session can be replayed or checked from outside.

#include <string>

class TJournal {
public:
    // An empty path gives a journal that writes nothing.
    explicit TJournal(std::string chemin) : chemin_(std::move(chemin)) {}
    bool Actif() const { return !chemin_.empty(); }
    // Appends `genre`, " : " and the text, its line breaks written as the two characters "\n".
    void Ecrire(const std::string& genre, const std::string& texte) const;

private:
    std::string chemin_;
};

// One line of the journal, without its end of line.
std::string LigneJournal(const std::string& genre, const std::string& texte);

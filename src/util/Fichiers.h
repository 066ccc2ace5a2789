#pragma once
// Binary files with French error messages, and the write-then-rename that never leaves a
// half-written file in place of a good one.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class TFichierLecture {
public:
    // Errors call it `designation` ("le fichier « ... »" by default).
    explicit TFichierLecture(const std::string& chemin, std::string designation = {});
    ~TFichierLecture();
    TFichierLecture(const TFichierLecture&) = delete;
    TFichierLecture& operator=(const TFichierLecture&) = delete;

    // Up to n bytes; fewer only at the end of the file.
    std::size_t Lire(void* tampon, std::size_t n);
    // Exactly n bytes, or an error naming the file as too short.
    void LireExact(void* tampon, std::size_t n);
    // The next read starts at `position`, which the caller has checked against the size.
    void Aller(std::uint64_t position);
    std::uint64_t Taille() const { return taille_; }

private:
    std::string designation_;
    std::FILE* f_ = nullptr;
    std::uint64_t taille_ = 0;
};

class TFichierEcriture {
public:
    // Creates or replaces the file.
    explicit TFichierEcriture(const std::string& chemin);
    // Takes an open stream; errors call it `designation` ("le fichier « ... »").
    TFichierEcriture(std::FILE* f, const std::string& designation);
    ~TFichierEcriture();
    TFichierEcriture(const TFichierEcriture&) = delete;
    TFichierEcriture& operator=(const TFichierEcriture&) = delete;

    void Ecrire(const void* donnees, std::size_t n);
    // An error is raised if anything failed; `durable`: on the disk before it returns.
    void Fermer(bool durable = false);

private:
    std::string designation_;
    std::FILE* f_ = nullptr;
};

// How a message calls the file `chemin`: "le fichier « chemin »".
std::string LeFichier(const std::string& chemin);

// A file of the program's own under a name nobody else has: "<prefixe>XXXXXX", created
// exclusively (an existing file is never opened, truncated or removed). It is removed when it
// goes out of scope, and by a stop signal, unless Abandonner gave it away.
class TFichierProvisoire {
public:
    // `droits`: the permissions of the new file; by default those of any new file. Its messages
    // call it `designation` (the user's file it stands for, "le fichier « ... »"), never by its
    // own name, which means nothing to the user; by default "un fichier de travail dans « dossier
    // »".
    explicit TFichierProvisoire(const std::string& prefixe, std::optional<unsigned> droits = {},
                                std::string designation = {});
    ~TFichierProvisoire();
    TFichierProvisoire(const TFichierProvisoire&) = delete;
    TFichierProvisoire& operator=(const TFichierProvisoire&) = delete;

    TFichierEcriture& Ecriture() { return *ecriture_; }
    const std::string& Chemin() const { return chemin_; }
    void FermerEcriture(bool durable = false);
    // The file read back once written; its errors call it as the writing did.
    TFichierLecture Relire() const { return TFichierLecture(chemin_, designation_); }
    // The file now belongs to someone else (it was renamed): it is no longer removed.
    void Abandonner();

private:
    std::string chemin_;
    std::string designation_;
    std::optional<TFichierEcriture> ecriture_;
    bool abandonne_ = false;
};

// A file written beside its target under a temporary name, which replaces the target only when
// Valider is called; otherwise it is removed and the target stays as it was. A target that is a
// symbolic link is followed (the link stays a link); a target that exists and is not a regular
// file (a folder, a device) is refused; the new file keeps the permissions of the one it replaces.
class TFichierTemporaire {
public:
    explicit TFichierTemporaire(const std::string& cible);
    TFichierTemporaire(const TFichierTemporaire&) = delete;
    TFichierTemporaire& operator=(const TFichierTemporaire&) = delete;

    void Ecrire(const void* donnees, std::size_t n);
    void Valider();

private:
    std::string cible_;
    std::optional<TFichierProvisoire> provisoire_;
};

// The whole file `chemin` replaced by `contenu`, through a TFichierTemporaire.
void RemplacerFichier(const std::string& chemin, std::string_view contenu);

// std::filesystem's path of a UTF-8 file name, and back. On Windows a path made from a
// std::string, and its string(), are in the ANSI code page, which cannot name every file.
std::filesystem::path CheminFs(const std::string& utf8);
std::string TexteChemin(const std::filesystem::path& chemin);

// std::fopen of a UTF-8 path, binary modes only ("rb", "wb", "ab"): nullptr with errno set on
// failure. On Windows the name goes through the wide API, so that any name opens.
std::FILE* OuvrirFichier(const std::string& chemin, const char* mode);

#include "util/Fichiers.h"
#include "util/FichiersSysteme.h"

#include "util/TexteWindows.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <windows.h>

namespace {

// The errno code nearest a Windows error, for ErreurSysteme.
int CodeErrno(DWORD erreur) {
    switch (erreur) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    default:
        return EIO;
    }
}

int DerniereErreur() {
    return CodeErrno(GetLastError());
}

// The handle as a C stream. Every share mode is granted, deletion included: the console's
// control handler must be able to remove a temporary file another thread is still writing.
std::FILE* Flux(HANDLE h, int drapeaux, const char* mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), drapeaux | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, mode);
    if (!f) _close(fd);
    return f;
}

constexpr DWORD TousPartages = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

std::FILE* OuvrirFichier(const std::string& chemin, const char* mode) {
    const bool lecture = mode[0] == 'r', ajout = mode[0] == 'a';
    const HANDLE h = CreateFileW(VersLarge(chemin).c_str(),
                                 lecture ? GENERIC_READ
                                 : ajout ? FILE_APPEND_DATA
                                         : GENERIC_WRITE,
                                 TousPartages, nullptr,
                                 lecture ? OPEN_EXISTING
                                 : ajout ? OPEN_ALWAYS
                                         : CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD erreur = GetLastError();
        // A folder opened as a file is refused with "access denied": say what it is.
        const DWORD attributs = GetFileAttributesW(VersLarge(chemin).c_str());
        errno = erreur == ERROR_ACCESS_DENIED && attributs != INVALID_FILE_ATTRIBUTES &&
                        (attributs & FILE_ATTRIBUTE_DIRECTORY)
                    ? EISDIR
                    : CodeErrno(erreur);
        return nullptr;
    }
    return Flux(h, lecture ? _O_RDONLY : ajout ? _O_APPEND : 0, mode);
}

namespace systeme {

int Taille(std::FILE* f, std::uint64_t& taille) {
    LARGE_INTEGER n;
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    if (!GetFileSizeEx(h, &n)) return DerniereErreur();
    taille = std::uint64_t(n.QuadPart);
    return 0;
}

int Aller(std::FILE* f, std::uint64_t position) {
    return _fseeki64(f, static_cast<__int64>(position), SEEK_SET) == 0 ? 0 : errno;
}

int Synchroniser(std::FILE* f) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    return FlushFileBuffers(h) ? 0 : DerniereErreur();
}

// `droits` has no meaning here: the new file takes the rights its folder gives.
int CreerExclusif(const std::string& prefixe, std::optional<unsigned>, std::string& chemin,
                  std::FILE*& f) {
    static constexpr char Signes[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 hasard{std::random_device{}()};
    for (int essai = 0; essai < 100; ++essai) {
        std::string nom = prefixe;
        for (int k = 0; k < 6; ++k)
            nom += Signes[hasard() % (sizeof Signes - 1)];
        const HANDLE h = CreateFileW(VersLarge(nom).c_str(), GENERIC_WRITE, TousPartages, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return DerniereErreur();
        }
        f = Flux(h, 0, "wb");
        if (!f) {
            DeleteFileW(VersLarge(nom).c_str());
            return EIO;
        }
        chemin = nom;
        return 0;
    }
    return EEXIST;
}

void Supprimer(const std::string& chemin) {
    DeleteFileW(VersLarge(chemin).c_str());
}

// Symbolic links are rare on Windows and need rights users seldom have: the path is the file.
int CibleReelle(const std::string& chemin, std::string& cible) {
    cible = chemin;
    return 0;
}

TEtatCible EtatCible(const std::string& chemin) {
    const DWORD attributs = GetFileAttributesW(VersLarge(chemin).c_str());
    if (attributs == INVALID_FILE_ATTRIBUTES) return {};
    const bool ordinaire = !(attributs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    // A read-only target is refused by the rename ("accès refusé"), as the user asked.
    return {true, ordinaire, 0};
}

int Remplacer(const std::string& source, const std::string& cible) {
    // One rename that replaces the old file, written through to the disk before it returns.
    if (!MoveFileExW(VersLarge(source).c_str(), VersLarge(cible).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return DerniereErreur();
    return 0;
}

} // namespace systeme

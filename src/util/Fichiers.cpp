#include "util/Fichiers.h"

#include "util/Erreurs.h"
#include "util/FichiersSysteme.h"
#include "util/NettoyageSignaux.h"

#include <cerrno>
#include <filesystem>

namespace {
constexpr std::size_t TailleTampon = std::size_t(1) << 20;

[[noreturn]] void Echec(const std::string& quoi, int code) {
    throw EErreur(quoi + " : " + ErreurSysteme(code));
}

[[noreturn]] void Echec(const char* quoi, const std::string& chemin, int code) {
    Echec(std::string(quoi) + " « " + chemin + " »", code);
}
} // namespace

std::filesystem::path CheminFs(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TexteChemin(const std::filesystem::path& chemin) {
    const std::u8string u = chemin.u8string();
    return std::string(u.begin(), u.end());
}

TFichierLecture::TFichierLecture(const std::string& chemin, std::string designation)
    : designation_(designation.empty() ? LeFichier(chemin) : std::move(designation)) {
    f_ = OuvrirFichier(chemin, "rb");
    if (!f_) Echec("impossible d'ouvrir " + designation_, errno);
    if (const int code = systeme::Taille(f_, taille_)) {
        std::fclose(f_);
        Echec("impossible de lire " + designation_, code);
    }
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierLecture::~TFichierLecture() {
    if (f_) std::fclose(f_);
}

std::size_t TFichierLecture::Lire(void* tampon, std::size_t n) {
    const std::size_t lu = std::fread(tampon, 1, n, f_);
    if (lu < n && std::ferror(f_)) Echec("impossible de lire " + designation_, errno);
    return lu;
}

void TFichierLecture::LireExact(void* tampon, std::size_t n) {
    if (Lire(tampon, n) != n)
        throw EErreur("impossible de lire " + designation_ + " : fichier tronqué");
}

void TFichierLecture::Aller(std::uint64_t position) {
    if (const int code = systeme::Aller(f_, position))
        Echec("impossible de lire " + designation_, code);
}

TFichierEcriture::TFichierEcriture(const std::string& chemin) : designation_(LeFichier(chemin)) {
    f_ = OuvrirFichier(chemin, "wb");
    if (!f_) Echec("impossible de créer le fichier", chemin, errno);
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::TFichierEcriture(std::FILE* f, const std::string& designation)
    : designation_(designation), f_(f) {
    std::setvbuf(f_, nullptr, _IOFBF, TailleTampon);
}

TFichierEcriture::~TFichierEcriture() {
    if (f_) std::fclose(f_);
}

void TFichierEcriture::Ecrire(const void* donnees, std::size_t n) {
    if (std::fwrite(donnees, 1, n, f_) != n) Echec("impossible d'écrire " + designation_, errno);
}

void TFichierEcriture::Fermer(bool durable) {
    std::FILE* f = f_;
    f_ = nullptr;
    int code = 0;
    if (durable) code = std::fflush(f) == 0 ? systeme::Synchroniser(f) : errno;
    if (std::fclose(f) != 0 && code == 0) code = errno;
    if (code != 0) Echec("impossible d'écrire " + designation_, code);
}

TFichierProvisoire::TFichierProvisoire(const std::string& prefixe, std::optional<unsigned> droits,
                                       std::string designation)
    : designation_(std::move(designation)) {
    if (designation_.empty()) {
        std::string dossier = TexteChemin(CheminFs(prefixe).parent_path());
        designation_ = "un fichier de travail dans « " + (dossier.empty() ? "." : dossier) + " »";
    }
    std::FILE* f = nullptr;
    int code = 0;
    {
        // No stop signal may find the file on the disk but not yet inscribed.
        TCreationProvisoire garde;
        code = systeme::CreerExclusif(prefixe, droits, chemin_, f);
        if (code == 0) InscrireFichierProvisoire(chemin_);
    }
    if (code != 0) Echec("impossible de créer " + designation_, code);
    ecriture_.emplace(f, designation_);
}

TFichierProvisoire::~TFichierProvisoire() {
    ecriture_.reset();
    if (!abandonne_) systeme::Supprimer(chemin_);
    RetirerFichierProvisoire(chemin_);
}

void TFichierProvisoire::FermerEcriture(bool durable) {
    ecriture_->Fermer(durable);
    ecriture_.reset();
}

void TFichierProvisoire::Abandonner() {
    abandonne_ = true;
    RetirerFichierProvisoire(chemin_);
}

TFichierTemporaire::TFichierTemporaire(const std::string& cible) {
    if (const int code = systeme::CibleReelle(cible, cible_))
        Echec("impossible de remplacer le fichier", cible, code);
    std::optional<unsigned> droits;
    if (const systeme::TEtatCible etat = systeme::EtatCible(cible_); etat.existe) {
        if (!etat.ordinaire)
            throw EErreur("impossible de remplacer « " + cible +
                          " » : ce n'est pas un fichier ordinaire");
        droits = etat.droits;
    }
    provisoire_.emplace(cible_ + ".tmp-", droits, LeFichier(cible));
}

void TFichierTemporaire::Ecrire(const void* donnees, std::size_t n) {
    provisoire_->Ecriture().Ecrire(donnees, n);
}

void TFichierTemporaire::Valider() {
    provisoire_->FermerEcriture(true);
    if (const int code = systeme::Remplacer(provisoire_->Chemin(), cible_))
        Echec("impossible de remplacer le fichier", cible_, code);
    provisoire_->Abandonner();
}

std::string LeFichier(const std::string& chemin) {
    return "le fichier « " + chemin + " »";
}

void RemplacerFichier(const std::string& chemin, std::string_view contenu) {
    TFichierTemporaire fichier(chemin);
    fichier.Ecrire(contenu.data(), contenu.size());
    fichier.Valider();
}

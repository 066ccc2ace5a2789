#include "view/TraceGL.h"

#include <algorithm>
#include <chrono>

static_assert(sizeof(TV3S) == 3 * sizeof(GLfloat) && sizeof(TCouleurVue) == 3,
              "the batch's vectors are handed to the graphics library as they are");

namespace {

void Couleur(TCouleurVue c) {
    glColor3ub(c.R, c.V, c.B);
}

void ActiverProfondeurEtFaces() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void ChargerMatrices(const TmatGL16& projection, const TmatGL16& modeleVue) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(modeleVue.data());
}

// A slice of the whole picture lasts about this long, and is sized on slices of at least so many
// points (smaller ones measure the calls rather than the points).
constexpr double DureeTrancheS = 0.04;
constexpr GLsizei MinPointsParTranche = 10000;

float Pixels(float taille, double ratio) {
    return static_cast<float>(taille * ratio);
}

} // namespace

void TTraceGL::Initialiser() {
    initializeOpenGLFunctions();
    tamponsDisponibles_ = hasOpenGLFeature(QOpenGLFunctions::Buffers);
    blocs_.clear();
    listeRepere_ = 0;
    Oublier();
}

void TTraceGL::Oublier() {
    scenePoints_ = sceneRepere_ = nullptr;
    suivant_ = 0;
    versionPoints_.reset();
    versionRepere_.reset();
}

void TTraceGL::Liberer() {
    LibererBlocs();
    if (listeRepere_) glDeleteLists(listeRepere_, 1);
    listeRepere_ = 0;
    Oublier();
}

void TTraceGL::Effacer(TCouleurVue fond) {
    glClearColor(fond.R / 255.f, fond.V / 255.f, fond.B / 255.f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void TTraceGL::Actualiser(TSceneVue& scene) {
    const bool nouveau = scenePoints_ != &scene || versionPoints_ != scene.Points.Version;
    if (scene.Points.Rendu && (nouveau || maxPointsApercu_ != scene.MaxPointsEnMouvement)) {
        // Its points are gone with the context that held them: nothing of them until the owner
        // has built the batch again.
        ConstruirePoints({});
        ConstruireApercu({}, scene.MaxPointsEnMouvement);
        scenePoints_ = &scene;
        versionPoints_ = scene.Points.Version;
        lotARefaire_ = true;
    } else if (nouveau) {
        ConstruirePoints(scene.Points);
        ConstruireApercu(scene.Points, scene.MaxPointsEnMouvement);
        scenePoints_ = &scene;
        versionPoints_ = scene.Points.Version;
    } else if (maxPointsApercu_ != scene.MaxPointsEnMouvement) {
        ConstruireApercu(scene.Points, scene.MaxPointsEnMouvement);
    }
}

void TTraceGL::PoserCamera(const TSceneVue& scene, double ratio) {
    const TViewport& v = scene.Viewport;
    glViewport(GLint(v[0] * ratio), GLint(v[1] * ratio), GLsizei(v[2] * ratio),
               GLsizei(v[3] * ratio));
    ChargerMatrices(scene.Projection, scene.ModeleVue);
    ActiverProfondeurEtFaces();
    glPointSize(Pixels(taillePoints_, ratio));
}

GLsizei TTraceGL::PointsParTranche(const TSceneVue& scene) const {
    return GLsizei(
        std::clamp(scene.MaxPointsParTranche, std::size_t(1), std::size_t(pointsParTranche_)));
}

void TTraceGL::Executer(TSceneVue& scene, double ratio) {
    if (ExecuterSansAttendre(scene, ratio) || scene.EnMouvement) return;
    CommencerImage(scene, ratio);
    while (PoursuivreImage(scene, ratio) == TSuiteImage::Poursuivie) {
    }
}

bool TTraceGL::ExecuterSansAttendre(TSceneVue& scene, double ratio) {
    Actualiser(scene);
    PoserCamera(scene, ratio);
    Effacer(scene.Fond);
    const bool entiere =
        sommetsApercu_.empty() || (!scene.EnMouvement && nbPoints_ <= PointsParTranche(scene));
    if (entiere) {
        Charger(scene.Points, nbPoints_);
        TracerTranche(scene.Points, 0, nbPoints_);
        nbPointsTraces_ = afficherPts_ ? nbPoints_ : 0;
    } else {
        TracerApercu();
    }
    TracerFin(scene, ratio);
    return entiere;
}

void TTraceGL::CommencerImage(TSceneVue& scene, double ratio) {
    Actualiser(scene);
    PoserCamera(scene, ratio);
    Effacer(scene.Fond);
    suivant_ = 0;
}

TTraceGL::TSuiteImage TTraceGL::PoursuivreImage(TSceneVue& scene, double ratio) {
    if (scenePoints_ != &scene || versionPoints_ != scene.Points.Version)
        return TSuiteImage::Perimee;
    PoserCamera(scene, ratio);
    const GLsizei debut = suivant_;
    const GLsizei fin = std::min(nbPoints_, debut + PointsParTranche(scene));
    const auto t0 = std::chrono::steady_clock::now();
    Charger(scene.Points, fin);
    TracerTranche(scene.Points, debut, fin);
    // The slice is over when this stretch is: what the renderer leaves pending would be paid at
    // the next presentation instead.
    glFinish();
    const double duree =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (fin - debut >= MinPointsParTranche && duree > 0)
        pointsParTranche_ = GLsizei(std::clamp(double(fin - debut) * DureeTrancheS / duree,
                                               double(MinPointsParTranche), 8e6));
    suivant_ = fin;
    if (suivant_ < nbPoints_) return TSuiteImage::Poursuivie;
    nbPointsTraces_ = afficherPts_ ? nbPoints_ : 0;
    TracerFin(scene, ratio);
    return TSuiteImage::Complete;
}

void TTraceGL::ConstruirePoints(const TLotPoints& lot) {
    ++nbConstructionsPoints_;
    afficherPts_ = lot.AfficherPts;
    taillePoints_ = lot.TaillePoints;
    nbPoints_ = afficherPts_ ? GLsizei(std::min(lot.Sommets.size(), lot.Couleurs.size())) : 0;
    LibererBlocs();
    // Runs of one colour, in the batch's order: a colour per point costs the software renderer
    // nearly half of a frame. Past a few of them, the calls would cost more than the colours.
    series_.clear();
    for (GLsizei i = 0; i < nbPoints_; ++i) {
        const TCouleurVue c = lot.Couleurs[std::size_t(i)];
        if (!series_.empty() && series_.back().Couleur == c) {
            ++series_.back().Nb;
        } else if (series_.size() == MaxSeries) {
            series_.clear();
            break;
        } else {
            series_.push_back({i, 1, c});
        }
    }
}

void TTraceGL::LibererBlocs() {
    if (!blocs_.empty()) glDeleteBuffers(GLsizei(blocs_.size()), blocs_.data());
    blocs_.clear();
}

GLsizeiptr TTraceGL::OctetsSommets(GLsizei nb) const {
    return GLsizeiptr(nb) * GLsizeiptr(sizeof(TV3S));
}

GLsizeiptr TTraceGL::OctetsCouleurs(GLsizei nb) const {
    return series_.empty() ? GLsizeiptr(nb) * GLsizeiptr(sizeof(TCouleurVue)) : 0;
}

void TTraceGL::Charger(TLotPoints& lot, GLsizei jusquA) {
    if (!tamponsDisponibles_) return;
    while (GLsizei(blocs_.size()) * PointsParBloc < jusquA) {
        const GLsizei de = GLsizei(blocs_.size()) * PointsParBloc;
        const GLsizei nb = std::min(PointsParBloc, nbPoints_ - de);
        GLuint bloc = 0;
        glGenBuffers(1, &bloc);
        blocs_.push_back(bloc);
        glBindBuffer(GL_ARRAY_BUFFER, bloc);
        glBufferData(GL_ARRAY_BUFFER, OctetsSommets(nb) + OctetsCouleurs(nb), nullptr,
                     GL_STATIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, OctetsSommets(nb), lot.Sommets.data() + de);
        if (series_.empty())
            glBufferSubData(GL_ARRAY_BUFFER, OctetsSommets(nb), OctetsCouleurs(nb),
                            lot.Couleurs.data() + de);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (lot.Liberable && nbPoints_ > 0 && GLsizei(blocs_.size()) * PointsParBloc >= nbPoints_) {
        // Not `= {}`: that would empty them and keep their memory.
        lot.Sommets = std::vector<TV3S>();
        lot.Couleurs = std::vector<TCouleurVue>();
        lot.Rendu = true;
    }
}

void TTraceGL::ConstruireApercu(const TLotPoints& lot, std::size_t maxPoints) {
    maxPointsApercu_ = maxPoints;
    sommetsApercu_.clear();
    couleursApercu_.clear();
    const std::size_t pas = PasEchantillon(std::size_t(nbPoints_), maxPoints);
    if (pas == 1) return;
    sommetsApercu_.reserve(std::size_t(nbPoints_) / pas + 1);
    couleursApercu_.reserve(std::size_t(nbPoints_) / pas + 1);
    for (std::size_t i = 0; i < std::size_t(nbPoints_); i += pas) {
        sommetsApercu_.push_back(lot.Sommets[i]);
        couleursApercu_.push_back(lot.Couleurs[i]);
    }
}

void TTraceGL::TracerApercu() {
    nbPointsTraces_ = 0;
    if (!afficherPts_) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sommetsApercu_.data());
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, couleursApercu_.data());
    nbPointsTraces_ = std::int64_t(sommetsApercu_.size());
    glDrawArrays(GL_POINTS, 0, GLsizei(sommetsApercu_.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TTraceGL::TracerTranche(const TLotPoints& lot, GLsizei debut, GLsizei fin) {
    if (!afficherPts_ || fin <= debut) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    if (series_.empty()) glEnableClientState(GL_COLOR_ARRAY);
    for (GLsizei de = debut / PointsParBloc * PointsParBloc; de < fin; de += PointsParBloc) {
        const GLsizei nb = std::min(PointsParBloc, nbPoints_ - de);
        // From a buffer, offsets stand for addresses; without one, from the batch itself.
        const char* sommets = nullptr;
        const char* couleurs = nullptr;
        if (tamponsDisponibles_) {
            glBindBuffer(GL_ARRAY_BUFFER, blocs_[std::size_t(de / PointsParBloc)]);
            couleurs += OctetsSommets(nb);
        } else {
            sommets = reinterpret_cast<const char*>(lot.Sommets.data() + de);
            couleurs = reinterpret_cast<const char*>(lot.Couleurs.data() + de);
        }
        glVertexPointer(3, GL_FLOAT, 0, sommets);
        const GLsizei premier = std::max(debut, de), dernier = std::min(fin, de + nb);
        if (series_.empty()) {
            glColorPointer(3, GL_UNSIGNED_BYTE, 0, couleurs);
            glDrawArrays(GL_POINTS, premier - de, dernier - premier);
            continue;
        }
        for (const TSerie& s : series_) {
            const GLsizei a = std::max(s.Premier, premier), b = std::min(s.Premier + s.Nb, dernier);
            if (a >= b) continue;
            Couleur(s.Couleur);
            glDrawArrays(GL_POINTS, a - de, b - a);
        }
    }
    if (series_.empty()) glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (tamponsDisponibles_) glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TTraceGL::TracerFin(const TSceneVue& scene, double ratio) {
    if (afficherPts_) {
        glPointSize(Pixels(TLotPoints::TailleMarqueOrigine, ratio));
        Couleur(RougeVue);
        glBegin(GL_POINTS);
        glVertex3f(0, 0, 0);
        glEnd();
    }
    TracerTraces(scene.Traces, ratio);
    TracerRepere(scene, ratio);
}

void TTraceGL::TracerTraces(const std::vector<TTrace>& traces, double ratio) {
    for (const TTrace& t : traces) {
        Couleur(t.Couleur);
        switch (t.Genre) {
        case TGenreTrace::Points:
            glPointSize(Pixels(t.Taille, ratio));
            glBegin(GL_POINTS);
            break;
        case TGenreTrace::BoucleFermee:
            glLineWidth(Pixels(t.Taille, ratio));
            glBegin(GL_LINE_LOOP);
            break;
        case TGenreTrace::LigneBrisee:
            glLineWidth(Pixels(t.Taille, ratio));
            glBegin(GL_LINE_STRIP);
            break;
        }
        for (const TV3R& p : t.Sommets)
            glVertex3d(p.X, p.Y, p.Z);
        glEnd();
    }
}

void TTraceGL::TracerRepere(const TSceneVue& scene, double ratio) {
    const TSymboleAxes& repere = scene.Repere;
    const bool aJour = listeRepere_ && sceneRepere_ == &scene && versionRepere_ == repere.Version;
    sceneRepere_ = &scene;
    versionRepere_ = repere.Version;
    // The depth buffer is kept: the arrows and the scene hide each other.
    ChargerMatrices(repere.Projection, repere.ModeleVue);
    ActiverProfondeurEtFaces();
    glLineWidth(Pixels(1, ratio));
    if (aJour) {
        glCallList(listeRepere_);
        return;
    }
    ++nbConstructionsRepere_;
    if (!listeRepere_) listeRepere_ = glGenLists(1);
    glNewList(listeRepere_, GL_COMPILE_AND_EXECUTE);
    for (const TFaceFleche& f : repere.Faces) {
        Couleur(f.Couleur);
        glBegin(f.NbSommets == 3 ? GL_TRIANGLES : GL_QUADS);
        glNormal3d(f.Normale.X, f.Normale.Y, f.Normale.Z);
        for (std::int32_t k = 0; k < f.NbSommets; ++k)
            glVertex3d(f.Sommets[k].X, f.Sommets[k].Y, f.Sommets[k].Z);
        glEnd();
    }
    glEndList();
}

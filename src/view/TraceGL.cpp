#include "view/TraceGL.h"

#include <algorithm>

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

float Pixels(float taille, double ratio) {
    return static_cast<float>(taille * ratio);
}

} // namespace

void TTraceGL::Initialiser() {
    initializeOpenGLFunctions();
    tamponsDisponibles_ = hasOpenGLFeature(QOpenGLFunctions::Buffers);
    tampon_ = 0;
    listeRepere_ = 0;
    Oublier();
}

void TTraceGL::Oublier() {
    scenePoints_ = sceneRepere_ = nullptr;
    versionPoints_.reset();
    versionRepere_.reset();
}

void TTraceGL::Liberer() {
    if (tampon_) glDeleteBuffers(1, &tampon_);
    if (listeRepere_) glDeleteLists(listeRepere_, 1);
    tampon_ = 0;
    listeRepere_ = 0;
    Oublier();
}

void TTraceGL::Effacer(TCouleurVue fond) {
    glClearColor(fond.R / 255.f, fond.V / 255.f, fond.B / 255.f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void TTraceGL::Executer(const TSceneVue& scene, double ratio) {
    const TViewport& v = scene.Viewport;
    glViewport(GLint(v[0] * ratio), GLint(v[1] * ratio), GLsizei(v[2] * ratio),
               GLsizei(v[3] * ratio));
    Effacer(scene.Fond);
    ChargerMatrices(scene.Projection, scene.ModeleVue);

    if (scenePoints_ != &scene || versionPoints_ != scene.Points.Version) {
        ConstruirePoints(scene.Points);
        ConstruireApercu(scene.Points, scene.MaxPointsEnMouvement);
        scenePoints_ = &scene;
        versionPoints_ = scene.Points.Version;
    } else if (maxPointsApercu_ != scene.MaxPointsEnMouvement) {
        ConstruireApercu(scene.Points, scene.MaxPointsEnMouvement);
    }
    TracerPoints(scene.Points, scene.EnMouvement && !sommetsApercu_.empty(), ratio);
    TracerTraces(scene.Traces, ratio);
    const bool repereAJour =
        listeRepere_ && sceneRepere_ == &scene && versionRepere_ == scene.Repere.Version;
    TracerRepere(scene.Repere, repereAJour, ratio);
    sceneRepere_ = &scene;
    versionRepere_ = scene.Repere.Version;
}

void TTraceGL::ConstruirePoints(const TLotPoints& lot) {
    ++nbConstructionsPoints_;
    afficherPts_ = lot.AfficherPts;
    taillePoints_ = lot.TaillePoints;
    nbPoints_ = afficherPts_ ? GLsizei(std::min(lot.Sommets.size(), lot.Couleurs.size())) : 0;
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
    if (!tamponsDisponibles_) return; // drawn from the batch itself, as a vertex array
    if (!tampon_) glGenBuffers(1, &tampon_);
    glBindBuffer(GL_ARRAY_BUFFER, tampon_);
    const GLsizeiptr octetsSommets = GLsizeiptr(nbPoints_) * GLsizeiptr(sizeof(TV3S));
    const GLsizeiptr octetsCouleurs =
        series_.empty() ? GLsizeiptr(nbPoints_) * GLsizeiptr(sizeof(TCouleurVue)) : 0;
    glBufferData(GL_ARRAY_BUFFER, octetsSommets + octetsCouleurs, nullptr, GL_STATIC_DRAW);
    if (nbPoints_ > 0) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, octetsSommets, lot.Sommets.data());
        if (octetsCouleurs)
            glBufferSubData(GL_ARRAY_BUFFER, octetsSommets, octetsCouleurs, lot.Couleurs.data());
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
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

void TTraceGL::TracerPoints(const TLotPoints& lot, bool apercu, double ratio) {
    ActiverProfondeurEtFaces();
    nbPointsTraces_ = 0;
    if (!afficherPts_) return;
    glPointSize(Pixels(taillePoints_, ratio));
    if (apercu) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, sommetsApercu_.data());
        glColorPointer(3, GL_UNSIGNED_BYTE, 0, couleursApercu_.data());
        nbPointsTraces_ = std::int64_t(sommetsApercu_.size());
        glDrawArrays(GL_POINTS, 0, GLsizei(sommetsApercu_.size()));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    } else if (nbPoints_ > 0) {
        nbPointsTraces_ = nbPoints_;
        // From the buffer, offsets stand for addresses; without one, from the batch itself.
        const char* sommets = nullptr;
        if (tamponsDisponibles_)
            glBindBuffer(GL_ARRAY_BUFFER, tampon_);
        else
            sommets = reinterpret_cast<const char*>(lot.Sommets.data());
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, sommets);
        if (series_.empty()) {
            const char* couleurs = tamponsDisponibles_
                                       ? sommets + std::size_t(nbPoints_) * sizeof(TV3S)
                                       : reinterpret_cast<const char*>(lot.Couleurs.data());
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(3, GL_UNSIGNED_BYTE, 0, couleurs);
            glDrawArrays(GL_POINTS, 0, nbPoints_);
            glDisableClientState(GL_COLOR_ARRAY);
        } else {
            for (const TSerie& s : series_) {
                Couleur(s.Couleur);
                glDrawArrays(GL_POINTS, s.Premier, s.Nb);
            }
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        if (tamponsDisponibles_) glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    glPointSize(Pixels(TLotPoints::TailleMarqueOrigine, ratio));
    Couleur(RougeVue);
    glBegin(GL_POINTS);
    glVertex3f(0, 0, 0);
    glEnd();
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

void TTraceGL::TracerRepere(const TSymboleAxes& repere, bool aJour, double ratio) {
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

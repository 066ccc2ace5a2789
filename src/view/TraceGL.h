#pragma once
// Executes a scene description with the fixed-function pipeline of the current context. The point
// batch is kept in the context (a buffer object) and the axes arrows in a display list: each is
// rebuilt only when the scene's version of it changes, so navigation only re-executes them.
// A batch too large for one frame is handed over and drawn in slices, each a short stretch, into a
// picture of its own; meanwhile the picture shown is the thinned one.
// Without buffer objects, the batch is drawn from its own arrays.

#include "view/SceneVue.h"

#include <QOpenGLFunctions>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class TTraceGL : protected QOpenGLFunctions {
public:
    // With the new context current: what was retained belonged to the previous one.
    void Initialiser();
    // The next scene is built whatever its versions: it comes from another source, whose
    // versions say nothing of what is retained.
    void Oublier();
    // With the context current: gives back what is retained.
    void Liberer();

    // `ratioPixels`: device pixels per view pixel (sizes and widths are given in view pixels).
    // The picture as it stays: the thinned one while the view moves, otherwise the whole, drawn
    // now however long it takes.
    void Executer(TSceneVue& scene, double ratioPixels);
    // A picture drawn at once: the whole one when it fits a frame, otherwise the thinned one,
    // and then false: the whole is still to be drawn in slices (unless the view moves).
    bool ExecuterSansAttendre(TSceneVue& scene, double ratioPixels);
    // The whole picture of `scene` in slices, into the framebuffer bound at each call: the
    // beginning clears it, each call after draws the next slice (a few tens of milliseconds), the
    // last one the overlays too. Périmée, with nothing drawn, when the scene's batch is no longer
    // the one retained: the picture is to be begun again.
    enum class TSuiteImage { Poursuivie, Complete, Perimee };
    void CommencerImage(TSceneVue& scene, double ratioPixels);
    TSuiteImage PoursuivreImage(TSceneVue& scene, double ratioPixels);
    // The scene's batch had been given back and is needed again (asked once).
    bool PrendreLotARefaire() { return std::exchange(lotARefaire_, false); }
    // The background alone, when there is nothing to draw.
    void Effacer(TCouleurVue fond);

    std::int64_t NbConstructionsPoints() const { return nbConstructionsPoints_; }
    std::int64_t NbConstructionsRepere() const { return nbConstructionsRepere_; }
    // The batch's points drawn by the last picture.
    std::int64_t NbPointsTraces() const { return nbPointsTraces_; }

private:
    void Actualiser(TSceneVue& scene);
    void ConstruirePoints(const TLotPoints& lot);
    void ConstruireApercu(const TLotPoints& lot, std::size_t maxPoints);
    // The blocks holding the batch's points up to `jusquA` handed over.
    // A batch its owner can build again is then given back once all handed over.
    void Charger(TLotPoints& lot, GLsizei jusquA);
    void LibererBlocs();
    GLsizeiptr OctetsSommets(GLsizei nb) const;
    GLsizeiptr OctetsCouleurs(GLsizei nb) const; // none when drawn by runs of one colour
    GLsizei PointsParTranche(const TSceneVue& scene) const;
    void PoserCamera(const TSceneVue& scene, double ratio);
    void TracerApercu();
    void TracerTranche(const TLotPoints& lot, GLsizei debut, GLsizei fin);
    // The origin mark, the overlay and the axes symbol.
    void TracerFin(const TSceneVue& scene, double ratio);
    void TracerTraces(const std::vector<TTrace>& traces, double ratio);
    void TracerRepere(const TSceneVue& scene, double ratio);

    bool tamponsDisponibles_ = false;
    // The batch in buffers of PointsParBloc points, each its vertices then its colours: a single
    // buffer for millions of points costs the software renderer a long stretch at its creation.
    static constexpr GLsizei PointsParBloc = 1 << 19;
    std::vector<GLuint> blocs_;
    GLuint listeRepere_ = 0; // display list of the arrows
    // What was built, and from which scene: a scene met for the first time is always built.
    const TSceneVue* scenePoints_ = nullptr;
    const TSceneVue* sceneRepere_ = nullptr;
    std::optional<std::uint64_t> versionPoints_, versionRepere_;
    // The batch as it was when built.
    bool afficherPts_ = false;
    float taillePoints_ = 1;
    GLsizei nbPoints_ = 0;
    // Consecutive points of one colour, drawn with that colour; none when the points carry their
    // colours one by one.
    struct TSerie {
        GLsizei Premier = 0, Nb = 0;
        TCouleurVue Couleur;
    };
    static constexpr std::size_t MaxSeries = 1024;
    std::vector<TSerie> series_;
    // The picture drawn while the view moves: every few points of the batch, taken once per
    // batch and budget, drawn from memory (it is small). Empty when the batch fits the budget.
    std::vector<TV3S> sommetsApercu_;
    std::vector<TCouleurVue> couleursApercu_;
    std::size_t maxPointsApercu_ = 0;
    bool lotARefaire_ = false;
    // The whole picture being drawn in slices: the next point, and how many points a slice
    // takes, measured on the slices drawn so that each stays a short stretch.
    GLsizei suivant_ = 0;
    GLsizei pointsParTranche_ = 250000;
    std::int64_t nbConstructionsPoints_ = 0, nbConstructionsRepere_ = 0, nbPointsTraces_ = 0;
};

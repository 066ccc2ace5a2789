#pragma once
// Executes a scene description with the fixed-function pipeline of the current context. The point
// batch is kept in the context (a buffer object) and the axes arrows in a display list: each is
// rebuilt only when the scene's version of it changes, so navigation only re-executes them.

#include "view/SceneVue.h"

#include <QOpenGLFunctions>
#include <cstdint>
#include <optional>
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
    void Executer(const TSceneVue& scene, double ratioPixels);
    // The background alone, when there is nothing to draw.
    void Effacer(TCouleurVue fond);

    std::int64_t NbConstructionsPoints() const { return nbConstructionsPoints_; }
    std::int64_t NbConstructionsRepere() const { return nbConstructionsRepere_; }
    // The batch's points drawn by the last execution.
    std::int64_t NbPointsTraces() const { return nbPointsTraces_; }

private:
    void ConstruirePoints(const TLotPoints& lot);
    void ConstruireApercu(const TLotPoints& lot, std::size_t maxPoints);
    void TracerPoints(const TLotPoints& lot, bool apercu, double ratio);
    void TracerTraces(const std::vector<TTrace>& traces, double ratio);
    void TracerRepere(const TSymboleAxes& repere, bool aJour, double ratio);

    bool tamponsDisponibles_ = false;
    GLuint tampon_ = 0;      // vertices, then colours
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
    std::int64_t nbConstructionsPoints_ = 0, nbConstructionsRepere_ = 0, nbPointsTraces_ = 0;
};

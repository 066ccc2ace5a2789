#pragma once
// The OpenGL window of the 3D view: a native window whose buffers go straight to the screen. The
// scene is drawn into a picture kept in the context (a framebuffer object); the window shows that
// picture and the rubber band over it, so neither the band nor an uncovered window draws the scene
// again. A scene too large for one frame is first shown thinned; the whole picture is drawn in
// slices into a second framebuffer, one slice per turn of the event loop, and shown once complete
// (any new drawing request starts it again).

#include "view/SceneVue.h"
#include "view/TraceGL.h"
#include "view/UopenglSelect.h"

#include <QImage>
#include <QOpenGLContext>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <memory>

class QOpenGLFramebufferObject;
class QTimer;

class TSurfaceGL : public QWindow {
public:
    // The scene for a view of this size in view pixels, or none when there is nothing to draw.
    using TFournisseurScene = std::function<TSceneVue*(std::int32_t largeur, std::int32_t hauteur)>;
    // A message for the owner, given after the drawing, never from inside it.
    using TSignalement = std::function<void(const QString& texte)>;

    // `lotARefaire`: the scene's batch was given back and the context holding it is gone (or a
    // thinned picture is asked of it): the owner is to build it again.
    TSurfaceGL(const QSurfaceFormat& format, TSignalement formatRefuse, TSignalement erreurTrace,
               TSignalement lotARefaire);
    ~TSurfaceGL() override;

    void FixerScene(TFournisseurScene fournisseur);
    // The scene drawn again at the next turn of the event loop (several requests make one
    // drawing); asked for from inside the drawing, it is dropped.
    void Redessiner();
    // The band as it is now, over the last picture.
    void AfficherBande(const TBandeSelection& bande);
    bool BandeVisible() const { return bande_.Visible(); }
    // The scene drawn now whole (thinned while the view moves), shown, and its picture; null
    // when the window cannot draw.
    QImage Image();
    // The picture shown last, drawn only when there is none yet.
    QImage DerniereImage();

    // The context exists and offers the legacy pipeline.
    bool Pret() const { return pret_; }
    bool EnPeinture() const { return enPeinture_; }
    // The context current on this window, for the owner's queries; false when it cannot be.
    bool Activer();
    void Desactiver();

    std::int64_t NbConstructionsPoints() const { return trace_.NbConstructionsPoints(); }
    std::int64_t NbConstructionsRepere() const { return trace_.NbConstructionsRepere(); }
    std::int64_t NbPeintures() const { return nbPeintures_; }
    // The pictures shown with nothing left to draw: whole, or thinned while the view moves.
    std::int64_t NbImagesAchevees() const { return nbImagesAchevees_; }
    std::int64_t NbPointsTraces() const { return trace_.NbPointsTraces(); }

protected:
    bool event(QEvent* evenement) override;
    void exposeEvent(QExposeEvent* evenement) override;

private:
    void Initialiser();
    void Liberer();
    void Signaler(const TSignalement& signalement, const QString& texte);
    QSize TaillePixels() const;
    void Rafraichir();
    // `attendre`: the whole picture now, however long it takes.
    void Peindre(bool attendre);
    void PoursuivreImage();
    void Presenter();

    TFournisseurScene fournisseur_;
    TSignalement formatRefuse_, erreurTrace_, lotARefaire_;
    QOpenGLContext contexte_;
    std::unique_ptr<QOpenGLFramebufferObject> image_;
    // The whole picture being drawn in slices, of this scene, and the turn that draws its next
    // slice.
    std::unique_ptr<QOpenGLFramebufferObject> imageEnCours_;
    TSceneVue* sceneEnCours_ = nullptr;
    QTimer* tranche_ = nullptr;
    TFSelWindow bande_;
    bool initialisationFaite_ = false;
    bool pret_ = false;
    bool enPeinture_ = false;
    bool imagePerimee_ = true;
    bool rafraichissementDemande_ = false;
    bool imageImpossibleSignalee_ = false;
    std::int64_t nbPeintures_ = 0, nbImagesAchevees_ = 0;
    TTraceGL trace_;
};

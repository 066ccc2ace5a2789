#pragma once
// The 3D view control: an OpenGL surface in a compatibility profile (legacy pipeline, display
// lists) whose paint cycle asks its owner for the scene and executes it, the rubber band laid over
// it, the copy of its picture to the clipboard and the report on the graphics hardware. It knows
// nothing of the scan or of the camera: the owner gives the scene, the control reports the mouse
// and the keys. Without a usable context it says so once and stays inert: the window goes on.

#include "view/EtatVue.h"
#include "view/MaterielGL.h"
#include "view/SceneVue.h"

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

struct TBandeSelection;
class QWindow;
class TSurfaceGL;

class TGLbox : public QWidget {
    Q_OBJECT
public:
    // The scene for a view of this size in view pixels, or none when there is nothing to draw (no
    // scan, or a drawing already running). Called with the context current, at each paint.
    using TFournisseurScene = std::function<TSceneVue*(std::int32_t largeur, std::int32_t hauteur)>;
    // Shows a failure of the context: caption and text. By default a message box with no owner.
    using TRapportEchec = std::function<void(const QString& legende, const QString& texte)>;

    explicit TGLbox(QWidget* parent = nullptr, const TFormatDemande& format = {});
    ~TGLbox() override;

    void FixerScene(TFournisseurScene fournisseur);
    // Before the control is shown: the failures found at its creation are reported at the first
    // turn of the event loop.
    void FixerRapportEchec(TRapportEchec rapport);

    // The picture is drawn again at the next turn of the event loop (several requests make one
    // drawing); asked for from inside the drawing, it is dropped. update() and repaint() of the
    // control itself do not redraw the picture, which lies in a native window of its own.
    void Redessiner();

    // The native window the picture is drawn in, which receives the drops over the view; none
    // without a context.
    QWindow* Surface() const;

    // The context exists and draws the legacy pipeline.
    bool InitOK() const;
    std::uint16_t FlagPixels() const { return flagPixels_; }

    // The lines of the hardware report, or the single error line before the context is ready.
    QStringList InfoSurMateriel();
    // One line per display mode of the screens, empty before the context is ready.
    QStringList ObtenirResolutions() const;
    // The picture drawn again from the current scene, and shown; null without a context.
    QImage ImageCourante();
    // The picture shown now, drawn only when there is none yet; null without a context.
    QImage ImageAffichee();
    // The picture shown last, the size of the view, onto the clipboard; false without a context.
    bool CopyToClipboard();
    // The default arrow, or no cursor.
    void AfficherCurseur(bool visible);
    // The rubber band as it is now, drawn over the picture without redrawing it.
    void AfficherBande(const TBandeSelection& bande);
    bool BandeVisible() const;

    // How many times the point batch and the axes arrows were built, and the paints of the
    // picture: navigation must repaint without building.
    std::int64_t NbConstructionsPoints() const;
    std::int64_t NbConstructionsRepere() const;
    std::int64_t NbPeintures() const;
    // The pictures shown with nothing left to draw: a scene too large for one frame is first
    // shown thinned, and complete only once all its slices are drawn.
    std::int64_t NbImagesAchevees() const;
    // The points of the batch in the last picture: fewer while the view moves.
    std::int64_t NbPointsTraces() const;

signals:
    // Positions in view pixels from the top-left corner; Shift (and Ctrl) as at the event.
    void SourisEnfoncee(TPointEcran position, Qt::MouseButton bouton, bool shift);
    void SourisDeplacee(TPointEcran position, TBoutonsSouris boutons, bool shift);
    void SourisRelachee(TPointEcran position, Qt::MouseButton bouton, bool shift, bool ctrl);
    // The vertical step of the wheel (120 a notch), signed.
    void MoletteTournee(std::int32_t delta, TPointEcran position, bool shift);
    void ToucheEnfoncee(int touche, Qt::KeyboardModifiers modificateurs);
    // The owner's scene could not be given: its message (emitted after the paint, never in it).
    void ErreurTrace(const QString& message);
    // The scene's batch, given back once held by the graphics library, is needed again (a new
    // context): the owner is to build it again.
    void LotARefaire();

protected:
    void resizeEvent(QResizeEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    void ListerResolutions();
    void VerifierContexte();
    void Echouer(const QString& legende, const QString& raison);

    TRapportEchec rapportEchec_;
    std::uint16_t flagPixels_ = 0;
    bool echecRapporte_ = false;
    std::vector<TResolution> tabResolution_;
    TSurfaceGL* surface_ = nullptr; // none when no context can be had
    QWidget* conteneur_ = nullptr;  // holds the surface's window among the widgets
};

#pragma once
// The OpenGL surface of the 3D view: its paint cycle asks for the scene and executes it.

#include "view/SceneVue.h"
#include "view/TraceGL.h"

#include <QOpenGLWidget>
#include <cstdint>
#include <functional>

class TSurfaceGL : public QOpenGLWidget {
public:
    // The scene for a view of this size in view pixels, or none when there is nothing to draw.
    using TFournisseurScene =
        std::function<const TSceneVue*(std::int32_t largeur, std::int32_t hauteur)>;
    // A message for the owner, given after the paint, never from inside it.
    using TSignalement = std::function<void(const QString& texte)>;

    TSurfaceGL(QWidget* parent, const QSurfaceFormat& format, TSignalement formatRefuse,
               TSignalement erreurTrace);
    ~TSurfaceGL() override;

    void FixerScene(TFournisseurScene fournisseur);
    // The context exists and offers the legacy pipeline.
    bool Pret() const { return pret_; }
    bool EnPeinture() const { return enPeinture_; }

    std::int64_t NbConstructionsPoints() const { return trace_.NbConstructionsPoints(); }
    std::int64_t NbConstructionsRepere() const { return trace_.NbConstructionsRepere(); }
    std::int64_t NbPeintures() const { return nbPeintures_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void Liberer();
    void Signaler(const TSignalement& signalement, const QString& texte);

    TFournisseurScene fournisseur_;
    TSignalement formatRefuse_, erreurTrace_;
    bool pret_ = false;
    bool enPeinture_ = false;
    std::int64_t nbPeintures_ = 0;
    TTraceGL trace_;
};

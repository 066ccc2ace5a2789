#include "view/SurfaceGL.h"

#include <QOpenGLContext>
#include <QTimer>

TSurfaceGL::TSurfaceGL(QWidget* parent, const QSurfaceFormat& format, TSignalement formatRefuse,
                       TSignalement erreurTrace)
    : QOpenGLWidget(parent), formatRefuse_(std::move(formatRefuse)),
      erreurTrace_(std::move(erreurTrace)) {
    setFormat(format);
    // The control beneath receives the pointer and the keys.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

TSurfaceGL::~TSurfaceGL() {
    Liberer();
}

void TSurfaceGL::FixerScene(TFournisseurScene fournisseur) {
    fournisseur_ = std::move(fournisseur);
    trace_.Oublier();
}

void TSurfaceGL::Liberer() {
    if (!pret_ || !context()) return;
    makeCurrent();
    trace_.Liberer();
    doneCurrent();
}

void TSurfaceGL::Signaler(const TSignalement& signalement, const QString& texte) {
    // A message box runs its own event loop: never inside the toolkit's initialisation or paint.
    QTimer::singleShot(0, this, [signalement, texte] {
        if (signalement) signalement(texte);
    });
}

void TSurfaceGL::initializeGL() {
    // A new context: the lists and buffers of the previous one went with it.
    pret_ = false;
    QOpenGLContext* c = context();
    if (!c || c->isOpenGLES() || c->format().profile() == QSurfaceFormat::CoreProfile) {
        Signaler(formatRefuse_, "le contexte OpenGL obtenu n'offre pas le tracé OpenGL 1.x "
                                "(listes d'affichage)");
        return;
    }
    trace_.Initialiser();
    connect(c, &QOpenGLContext::aboutToBeDestroyed, this, &TSurfaceGL::Liberer,
            Qt::UniqueConnection);
    pret_ = true;
}

void TSurfaceGL::paintGL() {
    // A paint asked for while the scene is being given (the owner processing its messages) is
    // dropped; so is any paint without a context fit for drawing.
    if (!pret_ || enPeinture_) return;
    enPeinture_ = true;
    ++nbPeintures_;
    try {
        const TSceneVue* scene = fournisseur_ ? fournisseur_(width(), height()) : nullptr;
        if (scene)
            trace_.Executer(*scene, devicePixelRatioF());
        else
            trace_.Effacer(BlancVue);
    } catch (const std::exception& e) {
        trace_.Effacer(BlancVue);
        Signaler(erreurTrace_, QString::fromUtf8(e.what()));
    }
    enPeinture_ = false;
}

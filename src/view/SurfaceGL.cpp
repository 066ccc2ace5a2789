#include "view/SurfaceGL.h"

#include "util/Erreurs.h"

#include <QExposeEvent>
#include <QOpenGLFramebufferObject>
#include <QPlatformSurfaceEvent>
#include <QTimer>

TSurfaceGL::TSurfaceGL(const QSurfaceFormat& format, TSignalement formatRefuse,
                       TSignalement erreurTrace, TSignalement lotARefaire)
    : formatRefuse_(std::move(formatRefuse)), erreurTrace_(std::move(erreurTrace)),
      lotARefaire_(std::move(lotARefaire)) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(format);
    // The control beneath receives the pointer and the keys, and keeps the focus rules of the
    // other widgets.
    setFlag(Qt::WindowTransparentForInput);
    contexte_.setFormat(format);
    tranche_ = new QTimer(this);
    tranche_->setSingleShot(true);
    tranche_->setInterval(0);
    connect(tranche_, &QTimer::timeout, this, &TSurfaceGL::PoursuivreImage);
}

TSurfaceGL::~TSurfaceGL() {
    Liberer();
}

bool TSurfaceGL::event(QEvent* evenement) {
    // The window container destroys the native window before it deletes this one: the GL objects
    // go now, while the context can still be made current on the window.
    if (evenement->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(evenement)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
        Liberer();
        initialisationFaite_ = false;
    }
    return QWindow::event(evenement);
}

void TSurfaceGL::FixerScene(TFournisseurScene fournisseur) {
    fournisseur_ = std::move(fournisseur);
    sceneEnCours_ = nullptr;
    trace_.Oublier();
}

void TSurfaceGL::Signaler(const TSignalement& signalement, const QString& texte) {
    // A message box runs its own event loop: never inside an exposure or a drawing.
    QTimer::singleShot(0, this, [signalement, texte] {
        if (signalement) signalement(texte);
    });
}

bool TSurfaceGL::Activer() {
    return pret_ && handle() && contexte_.makeCurrent(this);
}

void TSurfaceGL::Desactiver() {
    contexte_.doneCurrent();
}

void TSurfaceGL::Initialiser() {
    initialisationFaite_ = true;
    if (!contexte_.create() || !contexte_.makeCurrent(this)) {
        Signaler(formatRefuse_, "le contexte OpenGL n'a pas pu être activé sur la vue");
        return;
    }
    const QSurfaceFormat obtenu = contexte_.format();
    if (contexte_.isOpenGLES() || obtenu.profile() == QSurfaceFormat::CoreProfile) {
        Signaler(formatRefuse_, "le contexte OpenGL obtenu n'offre pas le tracé OpenGL 1.x "
                                "(listes d'affichage)");
        return;
    }
    trace_.Initialiser();
    pret_ = true;
}

void TSurfaceGL::Liberer() {
    if (!pret_ || !contexte_.makeCurrent(this)) return;
    trace_.Liberer();
    image_.reset();
    imageEnCours_.reset();
    sceneEnCours_ = nullptr;
    contexte_.doneCurrent();
    pret_ = false;
}

QSize TSurfaceGL::TaillePixels() const {
    return size() * devicePixelRatio();
}

void TSurfaceGL::exposeEvent(QExposeEvent*) {
    if (!isExposed()) return;
    if (!initialisationFaite_) Initialiser();
    Rafraichir();
}

void TSurfaceGL::Redessiner() {
    // A drawing that asks for itself would never end.
    if (enPeinture_) return;
    imagePerimee_ = true;
    if (rafraichissementDemande_) return;
    rafraichissementDemande_ = true;
    QTimer::singleShot(0, this, [this] {
        rafraichissementDemande_ = false;
        Rafraichir();
    });
}

void TSurfaceGL::AfficherBande(const TBandeSelection& bande) {
    bande_.Rafraichir(bande);
    Rafraichir();
}

QImage TSurfaceGL::Image() {
    if (!Activer()) return {};
    Peindre(true);
    if (!image_) return {};
    if (isExposed()) Presenter();
    return image_->toImage();
}

QImage TSurfaceGL::DerniereImage() {
    if (!image_) return Image();
    if (!Activer()) return {};
    return image_->toImage();
}

void TSurfaceGL::Rafraichir() {
    if (!isExposed() || !Activer()) return;
    if (imagePerimee_ || !image_ || image_->size() != TaillePixels()) Peindre(false);
    if (image_) {
        Presenter();
    } else {
        trace_.Effacer(BlancVue);
        contexte_.swapBuffers(this);
    }
}

void TSurfaceGL::Peindre(bool attendre) {
    // A drawing asked for while the scene is being given (the owner processing its messages) is
    // dropped.
    if (enPeinture_) return;
    enPeinture_ = true;
    ++nbPeintures_;
    sceneEnCours_ = nullptr;
    if (!image_ || image_->size() != TaillePixels())
        image_ = std::make_unique<QOpenGLFramebufferObject>(
            TaillePixels(), QOpenGLFramebufferObject::CombinedDepthStencil);
    if (!image_->isValid()) {
        // Beyond what the graphics card can hold: showing it would show garbage or crash.
        image_.reset();
        enPeinture_ = false;
        if (!imageImpossibleSignalee_)
            Signaler(erreurTrace_, QStringLiteral("la vue de %1 × %2 pixels dépasse ce que la "
                                                  "carte graphique peut dessiner ; elle restera "
                                                  "vide tant que la fenêtre sera aussi grande")
                                       .arg(TaillePixels().width())
                                       .arg(TaillePixels().height()));
        imageImpossibleSignalee_ = true;
        return;
    }
    imageImpossibleSignalee_ = false;
    image_->bind();
    TSceneVue* scene = nullptr;
    bool achevee = true;
    try {
        scene = fournisseur_ ? fournisseur_(width(), height()) : nullptr;
        if (!scene)
            trace_.Effacer(BlancVue);
        else if (attendre)
            trace_.Executer(*scene, devicePixelRatio());
        else
            achevee = trace_.ExecuterSansAttendre(*scene, devicePixelRatio()) || scene->EnMouvement;
    } catch (const std::exception& e) {
        trace_.Effacer(BlancVue);
        Signaler(erreurTrace_, QString::fromStdString(MessageErreur(e)));
    }
    image_->release();
    if (trace_.PrendreLotARefaire()) Signaler(lotARefaire_, {});
    if (achevee) {
        ++nbImagesAchevees_;
    } else {
        if (!imageEnCours_ || imageEnCours_->size() != image_->size())
            imageEnCours_ = std::make_unique<QOpenGLFramebufferObject>(
                image_->size(), QOpenGLFramebufferObject::CombinedDepthStencil);
        imageEnCours_->bind();
        trace_.CommencerImage(*scene, devicePixelRatio());
        imageEnCours_->release();
        sceneEnCours_ = scene;
        tranche_->start();
    }
    imagePerimee_ = false;
    enPeinture_ = false;
}

void TSurfaceGL::PoursuivreImage() {
    // A drawing asked for meanwhile begins the picture again.
    if (!sceneEnCours_ || enPeinture_ || imagePerimee_) return;
    if (!image_ || image_->size() != imageEnCours_->size() || !Activer()) {
        sceneEnCours_ = nullptr;
        return;
    }
    imageEnCours_->bind();
    const TTraceGL::TSuiteImage suite = trace_.PoursuivreImage(*sceneEnCours_, devicePixelRatio());
    imageEnCours_->release();
    switch (suite) {
    case TTraceGL::TSuiteImage::Poursuivie:
        tranche_->start();
        return;
    case TTraceGL::TSuiteImage::Perimee:
        sceneEnCours_ = nullptr;
        Redessiner();
        return;
    case TTraceGL::TSuiteImage::Complete:
        sceneEnCours_ = nullptr;
        std::swap(image_, imageEnCours_);
        ++nbImagesAchevees_;
        if (isExposed()) Presenter();
        return;
    }
}

void TSurfaceGL::Presenter() {
    const QSize taille = TaillePixels();
    QOpenGLFramebufferObject::blitFramebuffer(nullptr, QRect(QPoint(), taille), image_.get(),
                                              QRect(QPoint(), image_->size()), GL_COLOR_BUFFER_BIT,
                                              GL_NEAREST);
    glViewport(0, 0, taille.width(), taille.height());
    bande_.Tracer(width(), height(), devicePixelRatio());
    contexte_.swapBuffers(this);
}

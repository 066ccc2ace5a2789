#include "view/GLbox.h"

#include "view/SurfaceGL.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The requested pixel format as the toolkit's surface format. Always a compatibility profile:
// display lists and the fixed-function pipeline do not exist in a core profile.
QSurfaceFormat FormatSurface(const TDescripteurPixels& d) {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    const bool vraiesCouleurs = d.BitsCouleur >= 24;
    f.setRedBufferSize(vraiesCouleurs ? 8 : 5);
    f.setGreenBufferSize(vraiesCouleurs ? 8 : 6);
    f.setBlueBufferSize(vraiesCouleurs ? 8 : 5);
    f.setAlphaBufferSize(d.BitsCouleur >= 32 ? 8 : 0);
    f.setDepthBufferSize(d.BitsProfondeur);
    // No implementation offers more than 8 stencil bits; asking for more finds no format at all.
    f.setStencilBufferSize(std::min(d.BitsStencil, 8));
    f.setSwapBehavior((d.Flags & PFD_DOUBLEBUFFER) ? QSurfaceFormat::DoubleBuffer
                                                   : QSurfaceFormat::SingleBuffer);
    f.setStereo((d.Flags & PFD_STEREO) != 0);
    // The accumulation buffer has no equivalent here; nothing draws into it.
    return f;
}

// Whether a context of this format can be created and made current, before any widget asks for
// one: the toolkit cannot show a window holding an OpenGL surface without it. The caption of the
// step that failed, empty when none did.
QString SonderContexte(const QSurfaceFormat& format, QString& raison) {
    QOpenGLContext contexte;
    contexte.setFormat(format);
    if (!contexte.create()) {
        raison = "aucun contexte OpenGL n'a pu être créé";
        return "Création de la passerelle OpenGL";
    }
    QOffscreenSurface surface;
    surface.setFormat(contexte.format());
    surface.create();
    if (!surface.isValid() || !contexte.makeCurrent(&surface)) {
        raison = "le contexte OpenGL n'a pas pu être activé";
        return "Activation de la passerelle OpenGL";
    }
    // The scene is drawn into a picture kept in the context, then copied to the window.
    const bool images = QOpenGLFramebufferObject::hasOpenGLFramebufferObjects() &&
                        QOpenGLFramebufferObject::hasOpenGLFramebufferBlit();
    contexte.doneCurrent();
    if (!images) {
        raison = "le pilote OpenGL n'offre pas les images hors écran (framebuffer objects)";
        return "Choix du format de pixels";
    }
    return {};
}

std::string Chaine(GLenum nom) {
    const GLubyte* s = glGetString(nom);
    return s ? reinterpret_cast<const char*>(s) : "";
}

std::int32_t Entier(GLenum nom) {
    GLint v[2] = {0, 0};
    glGetIntegerv(nom, v);
    return v[0];
}

QStringList EnListe(const std::vector<std::string>& lignes) {
    QStringList liste;
    for (const std::string& l : lignes)
        liste << QString::fromStdString(l);
    return liste;
}

// The screen's current mode, in device pixels.
TResolution ModeDe(const QScreen& e) {
    const QSize taille = e.size() * e.devicePixelRatio();
    return {e.depth(), taille.width(), taille.height(), int(std::lround(e.refreshRate()))};
}

TPointEcran Point(const QPointF& p) {
    const QPoint q = p.toPoint();
    return {q.x(), q.y()};
}

bool Shift(const QInputEvent* e) {
    return e->modifiers().testFlag(Qt::ShiftModifier);
}

} // namespace

TGLbox::TGLbox(QWidget* parent, const TFormatDemande& format) : QWidget(parent) {
    const TDescripteurPixels descripteur = DecrireFormat(format);
    flagPixels_ = descripteur.Flags;
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    rapportEchec_ = [](const QString& legende, const QString& texte) {
        QMessageBox::critical(nullptr, legende, texte);
    };
    const QSurfaceFormat surface = FormatSurface(descripteur);
    QString raison;
    const QString legende = SonderContexte(surface, raison);
    if (legende.isEmpty()) {
        surface_ = new TSurfaceGL(
            surface, [this](const QString& r) { Echouer("Choix du format de pixels", r); },
            [this](const QString& message) { emit ErreurTrace(message); },
            [this](const QString&) { emit LotARefaire(); });
        conteneur_ = QWidget::createWindowContainer(surface_, this);
        // A click on the picture gives the focus to this control, not to the window inside.
        conteneur_->setFocusPolicy(Qt::NoFocus);
    } else {
        Echouer(legende, raison);
    }
    ListerResolutions();
}

TGLbox::~TGLbox() = default;

QWindow* TGLbox::Surface() const {
    return surface_;
}

void TGLbox::FixerScene(TFournisseurScene fournisseur) {
    if (surface_) surface_->FixerScene(std::move(fournisseur));
}

void TGLbox::FixerRapportEchec(TRapportEchec rapport) {
    rapportEchec_ = std::move(rapport);
}

void TGLbox::Redessiner() {
    if (surface_) surface_->Redessiner();
}

bool TGLbox::InitOK() const {
    return surface_ && surface_->Pret();
}

std::int64_t TGLbox::NbConstructionsPoints() const {
    return surface_ ? surface_->NbConstructionsPoints() : 0;
}

std::int64_t TGLbox::NbConstructionsRepere() const {
    return surface_ ? surface_->NbConstructionsRepere() : 0;
}

std::int64_t TGLbox::NbPeintures() const {
    return surface_ ? surface_->NbPeintures() : 0;
}

std::int64_t TGLbox::NbImagesAchevees() const {
    return surface_ ? surface_->NbImagesAchevees() : 0;
}

std::int64_t TGLbox::NbPointsTraces() const {
    return surface_ ? surface_->NbPointsTraces() : 0;
}

void TGLbox::showEvent(QShowEvent* evenement) {
    QWidget::showEvent(evenement);
    QTimer::singleShot(0, this, &TGLbox::VerifierContexte);
}

void TGLbox::resizeEvent(QResizeEvent* evenement) {
    QWidget::resizeEvent(evenement);
    if (conteneur_) conteneur_->setGeometry(rect());
}

void TGLbox::VerifierContexte() {
    // The toolkit creates the view's window when it is first shown; when it could not, there is
    // nothing to draw on and the view stays as it is.
    if (!surface_ || surface_->handle() || !isVisible() || size().isEmpty()) return;
    Echouer("Création de la passerelle OpenGL", "aucun contexte OpenGL n'a pu être créé");
}

void TGLbox::Echouer(const QString& legende, const QString& raison) {
    if (echecRapporte_) return;
    echecRapporte_ = true;
    const QString texte = QString("La vue 3D ne peut pas s'afficher : %1. Elle restera vide ; le "
                                  "reste de la fenêtre fonctionne.")
                              .arg(raison);
    // A message box runs its own event loop: never from inside a constructor or a paint.
    QTimer::singleShot(0, this, [this, legende, texte] {
        if (rapportEchec_) rapportEchec_(legende, texte);
    });
}

void TGLbox::ListerResolutions() {
    tabResolution_.clear();
    for (const QScreen* e : QGuiApplication::screens()) {
        const TResolution r = ModeDe(*e);
        if (r.m_BitsParPixels > 8) tabResolution_.push_back(r);
    }
}

QStringList TGLbox::ObtenirResolutions() const {
    if (!InitOK()) return {};
    return EnListe(LignesResolutions(tabResolution_));
}

QStringList TGLbox::InfoSurMateriel() {
    if (!InitOK() || !surface_->Activer()) return {QString::fromUtf8(InfoNonInitialise)};
    TInfoMateriel info;
    if (const QScreen* e = screen()) info.Ecran = ModeDe(*e);
    info.Vendeur = Chaine(GL_VENDOR);
    info.Nom = Chaine(GL_RENDERER);
    info.Version = Chaine(GL_VERSION);
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    info.ViewportMaxL = viewport[0];
    info.ViewportMaxH = viewport[1];
    info.TextureMax = Entier(GL_MAX_TEXTURE_SIZE);
    info.LumieresMax = Entier(GL_MAX_LIGHTS);
    info.PlansDecoupageMax = Entier(GL_MAX_CLIP_PLANES);
    info.Extensions = Chaine(GL_EXTENSIONS);
    surface_->Desactiver();
    return EnListe(LignesInfoSurMateriel(info));
}

QImage TGLbox::ImageCourante() {
    return InitOK() ? surface_->Image() : QImage();
}

QImage TGLbox::ImageAffichee() {
    return InitOK() ? surface_->DerniereImage() : QImage();
}

bool TGLbox::CopyToClipboard() {
    const QImage image = ImageAffichee();
    if (image.isNull()) return false;
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void TGLbox::AfficherCurseur(bool visible) {
    setCursor(visible ? Qt::ArrowCursor : Qt::BlankCursor);
}

void TGLbox::AfficherBande(const TBandeSelection& bande) {
    if (surface_) surface_->AfficherBande(bande);
}

bool TGLbox::BandeVisible() const {
    return surface_ && surface_->BandeVisible();
}

void TGLbox::mousePressEvent(QMouseEvent* e) {
    emit SourisEnfoncee(Point(e->position()), e->button(), Shift(e));
}

void TGLbox::mouseMoveEvent(QMouseEvent* e) {
    const TBoutonsSouris boutons{e->buttons().testFlag(Qt::LeftButton),
                                 e->buttons().testFlag(Qt::MiddleButton)};
    emit SourisDeplacee(Point(e->position()), boutons, Shift(e));
}

void TGLbox::mouseReleaseEvent(QMouseEvent* e) {
    emit SourisRelachee(Point(e->position()), e->button(), Shift(e),
                        e->modifiers().testFlag(Qt::ControlModifier));
}

void TGLbox::wheelEvent(QWheelEvent* e) {
    emit MoletteTournee(e->angleDelta().y(), Point(e->position()), Shift(e));
    e->accept();
}

void TGLbox::keyPressEvent(QKeyEvent* e) {
    emit ToucheEnfoncee(e->key(), e->modifiers());
}

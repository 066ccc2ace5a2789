#pragma once
// The main window: it only translates between the widgets and the workspace. Every command goes
// through Commande, which refuses a command while another runs and shows its error.

#include "shell/EspaceTravail.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTextBrowser;
class QTimer;
class TFAide;
class TGLbox;
class TGenEdit;
class TPlateformeQt;
class TWinReg;

class TFArkalune : public QMainWindow {
    Q_OBJECT
public:
    explicit TFArkalune(QWidget* parent = nullptr);
    ~TFArkalune() override;

    TEspaceTravail& Travail() { return *travail_; }
    const TEspaceTravail& Travail() const { return *travail_; }
    bool InitDone() const { return initDone_; }
    // True while a command runs: other commands are refused.
    bool Occupe() const { return occupe_; }

    // Opened once the first idle moment has done its initialisation (a file named on the
    // command line).
    void OuvrirApresInit(const QString& chemin);
    // "Ouvrir" with a known file: the save question, then the load.
    void OuvrirFichier(const QString& chemin);
    void AfficherAide();
    // The picture of the 3D view to the clipboard.
    void CopierImageVue();

    // What the platform asks of the window.
    void AfficherStatut(int panneau, const QString& texte);
    // A stale point batch is rebuilt first, as a command of its own once the current one is over,
    // then the view is painted; otherwise it is painted at once.
    void RedessinerVue();
    // A command is about to let pending messages through: the other commands are disabled.
    void AvantTraitementMessages();

    // The platform's EnregistrerAilleurs: "Enregistrer Sous" in the user's documents.
    std::string EnregistrerAilleurs(const std::string& cible);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void dragEnterEvent(QDragEnterEvent* evenement) override;
    void dropEvent(QDropEvent* evenement) override;
    // Files dragged over the window, the 3D view included, are taken unless a command runs.
    void AccepterDepot(QDropEvent& evenement);

private:
    std::unique_ptr<TPlateformeQt> plateforme_;
    std::unique_ptr<TEspaceTravail> travail_;
    std::unique_ptr<TWinReg> reglages_;
    QPointer<TFAide> aide_;

    bool initDone_ = false;
    bool occupe_ = false;
    bool bloque_ = false;
    bool preparationDemandee_ = false; // the view's point batch is to be rebuilt
    QPointer<QWidget> focusAvantBlocage_;
    QString fichierAOuvrir_;
    std::vector<std::string> recentsRanges_; // the recent files as last written to the settings
    std::string documentAffiche_;            // the HTML document shown in WB

    // Widgets the commands read or update.
    QWidget* PnTop_ = nullptr;
    QCheckBox* CkBxVoirPoints_ = nullptr;
    QComboBox* CmBxTaillePoints_ = nullptr;
    QTabWidget* PCavct_ = nullptr;
    QComboBox* CmBxNivAff_ = nullptr;
    QLineEdit* EdRotZ_ = nullptr;
    QCheckBox* CkBxEdFront_ = nullptr;
    QCheckBox* CkBxNivAppui_ = nullptr;
    QLabel* LbNiveauAppui_ = nullptr;
    QComboBox* CmBxPtFront_ = nullptr;
    std::array<TGenEdit*, 7> champs_{};
    QLabel* LbResultats_ = nullptr;
    QStackedWidget* PCaffi_ = nullptr;
    QWidget* TSvgl_ = nullptr;
    QWidget* TSresul_ = nullptr;
    TGLbox* VGL_ = nullptr;
    QTimer* finMouvement_ = nullptr; // the pause that ends a motion of the view
    QTextBrowser* WB_ = nullptr;
    QWidget* PnBtns_ = nullptr;
    std::array<QLabel*, 2> panneaux_{};

    // Layout (FArkalune-Disposition.cpp).
    void ConstruireMenus();
    QWidget* ConstruireBarreHaut();
    QWidget* ConstruireOnglets();
    QWidget* PagePreparation();
    QWidget* PageStructure();
    QWidget* PageCharges();
    QWidget* PageResultats();
    QWidget* ConstruireAffichage();
    QWidget* ConstruireBas();
    void ConstruireBarreEtat();
    QAction* AjouterAction(QMenu* menu, const char* nom, const QString& texte,
                           std::function<void()> commande);

    // Runs a command: false when it was refused or ended in an error (its message shown).
    // `actualiser`: the widgets show the workspace's state afterwards.
    bool Commande(const std::function<void()>& commande, bool actualiser = true);
    void DebloquerCommandes();
    // The widgets show the workspace's state again.
    void ActualiserControles();
    void PremierRepos();

    // The 3D view (FArkalune-Vue.cpp).
    TGLbox* ConstruireVue(QWidget* parent);
    void PreparerVue();
    // A mouse event of the view, as a command that reads Shift as it was at the event; dropped
    // while another command runs.
    void EvenementVue(bool shift, const std::function<void()>& commande, bool actualiser = true);
    void DonnerFocusVue();
    // The wheel anywhere over the window zooms the view while it is shown: true when used.
    bool ZoomerMolette(const QWheelEvent& evenement);

    // Files (FArkalune-Fichiers.cpp).
    void MiOuvrirClick();
    QString DossierOuvrir();
    // The recent files that still exist, each opening its file.
    void RemplirFichiersRecents(QMenu& menu);
    void EnregistrerSous(bool niveauAffiche);
    // The file a save, an export or a print to a file proposes: the scan's name with
    // `extension`, in the scan's folder when it can be written, in the user's documents otherwise.
    QString CheminPropose(const QString& extension) const;

    // Tabs and report (FArkalune-Rapport.cpp).
    void PCavctChange(int t);
    void AfficherRapport();
    void BtResulPPClick();
    void ExporterPdf();
    void ExporterHtml();
    void Imprimer();
    // Project, author and checker of the note, asked and kept in the settings.
    void Signataires();
    // The report shown on "Résultats", the one exported and printed; an error when none is.
    const std::string& RapportAffiche() const;
};

// The widgets of the main window, named after the controls they stand for, and the commands they
// run.

#include "fields/GenEdit.h"
#include "shell/EspaceTravail.h"
#include "shell/FArkalune.h"
#include "view/GLbox.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class W> W* Nommer(W* widget, const char* nom) {
    widget->setObjectName(QString::fromLatin1(nom));
    return widget;
}

QLabel* Etiquette(const QString& texte, const QString& indice = {}) {
    auto* l = new QLabel(texte);
    l->setToolTip(indice);
    return l;
}

QToolButton* BoutonRapide(const char* nom, const QString& texte, const QString& indice = {}) {
    auto* b = Nommer(new QToolButton, nom);
    b->setText(texte);
    b->setToolTip(indice);
    b->setAutoRaise(true);
    b->setFixedSize(23, 23);
    return b;
}

QPushButton* Bouton(const char* nom, const QString& texte) {
    return Nommer(new QPushButton(texte), nom);
}

QWidget* Page(const char* nom, QGridLayout*& grille) {
    auto* page = Nommer(new QWidget, nom);
    grille = new QGridLayout(page);
    grille->setContentsMargins(8, 4, 8, 4);
    grille->setHorizontalSpacing(8);
    grille->setVerticalSpacing(4);
    return page;
}

const QString Fleche[] = {QStringLiteral("→"), QStringLiteral("←"), QStringLiteral("↑"),
                          QStringLiteral("↓")};

} // namespace

QAction* TFArkalune::AjouterAction(QMenu* menu, const char* nom, const QString& texte,
                                   std::function<void()> commande) {
    QAction* a = menu ? menu->addAction(texte) : menuBar()->addAction(texte);
    a->setObjectName(QString::fromLatin1(nom));
    connect(a, &QAction::triggered, this, [this, commande] { Commande(commande); });
    return a;
}

void TFArkalune::ConstruireMenus() {
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    TEspaceTravail& t = Travail();

    QMenu* fichiers = menuBar()->addMenu(QStringLiteral("Fichiers"));
    fichiers->menuAction()->setObjectName(QStringLiteral("MiFichiers"));
    // The file commands ask their own questions and dialogs before they become commands.
    auto* ouvrir = fichiers->addAction(QStringLiteral("Ouvrir"), this, &TFArkalune::MiOuvrirClick);
    ouvrir->setObjectName(QStringLiteral("MiOuvrir"));
    ouvrir->setShortcut(QKeySequence::Open);
    QMenu* recents = fichiers->addMenu(QStringLiteral("Fichiers récents"));
    recents->menuAction()->setObjectName(QStringLiteral("MiFichiersRecents"));
    connect(recents, &QMenu::aboutToShow, this,
            [this, recents] { RemplirFichiersRecents(*recents); });
    AjouterAction(fichiers, "MiEnregistrer", QStringLiteral("Enregistrer"), [&t] {
        t.EnregistrerScan(FormatArkl(), t.Scan.NivMax);
    })->setShortcut(QKeySequence::Save);
    auto* sous = fichiers->addAction(QStringLiteral("Enregistrer Sous"), this,
                                     [this] { EnregistrerSous(false); });
    sous->setObjectName(QStringLiteral("MiEnregistrerSous"));
    sous->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    fichiers
        ->addAction(QStringLiteral("Enregistrer le niveau affiché"), this,
                    [this] { EnregistrerSous(true); })
        ->setObjectName(QStringLiteral("MiEnregistrerLeNiveauAffiche"));
    fichiers->addSeparator();
    fichiers->addAction(QStringLiteral("Exporter en PDF…"), this, &TFArkalune::ExporterPdf)
        ->setObjectName(QStringLiteral("MiExporterPdf"));
    fichiers->addAction(QStringLiteral("Exporter en HTML…"), this, &TFArkalune::ExporterHtml)
        ->setObjectName(QStringLiteral("MiExporterHtml"));
    auto* imprimer = fichiers->addAction(QStringLiteral("Imprimer…"), this, &TFArkalune::Imprimer);
    imprimer->setObjectName(QStringLiteral("MiImprimer"));
    imprimer->setShortcut(QKeySequence::Print);
    fichiers
        ->addAction(QStringLiteral("Projet, auteur et vérificateur…"), this,
                    &TFArkalune::Signataires)
        ->setObjectName(QStringLiteral("MiSignataires"));
    fichiers->addSeparator();
    auto* quitter = fichiers->addAction(QStringLiteral("Quitter"), this, &QWidget::close);
    quitter->setObjectName(QStringLiteral("MiQuitter"));
    quitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* orientation = menuBar()->addMenu(QStringLiteral("Orientation"));
    orientation->menuAction()->setObjectName(QStringLiteral("MiOrientation"));
    AjouterAction(orientation, "MiVueY", QStringLiteral("vue du plan X-Z"),
                  [&t] { t.OrienterVue(1); });
    AjouterAction(orientation, "MiVueX", QStringLiteral("vue du plan Y-Z"),
                  [&t] { t.OrienterVue(2); });
    AjouterAction(orientation, "MiVueZ", QStringLiteral("vue du plan X-Y"),
                  [&t] { t.OrienterVue(3); });
    AjouterAction(orientation, "MiToutVoir", QStringLiteral("Tout voir"), [&t] {
        t.ToutVoir();
    })->setShortcut(QKeySequence(Qt::Key_Home));
    orientation->addSeparator();
    // How the points are coloured: one of two, kept in the settings.
    auto* couleurs = new QActionGroup(orientation);
    for (const bool releve : {false, true}) {
        QAction* a =
            AjouterAction(orientation, releve ? "MiCouleursReleve" : "MiCouleursNoir",
                          releve ? QStringLiteral("couleurs du relevé") : QStringLiteral("noir"),
                          [&t, releve] { t.ChoisirCouleursReleve(releve); });
        a->setCheckable(true);
        a->setChecked(!releve);
        couleurs->addAction(a);
    }
    orientation->addSeparator();
    AjouterAction(orientation, "MiDefinirAxeX", QStringLiteral("Définir axe X"),
                  [&t] { t.MiDefinirAxeXClick(); });

    QMenu* selection = menuBar()->addMenu(QStringLiteral("Sélection"));
    selection->menuAction()->setObjectName(QStringLiteral("MiSelection"));
    AjouterAction(selection, "MiDeselectionner", QStringLiteral("Désélectionner"),
                  [&t] { t.Deselectionner(); });
    AjouterAction(selection, "MiMasquerSelection",
                  QStringLiteral("Masquer les points sélectionnés"),
                  [&t] { t.MasquerSelection(); });
    AjouterAction(selection, "MiDemasquer", QStringLiteral("Démasquer tous les points"),
                  [&t] { t.Demasquer(); });
    AjouterAction(selection, "MiInverserMasque", QStringLiteral("Inverser le masque"),
                  [&t] { t.InverserMasque(); });
    selection->addSeparator();
    AjouterAction(selection, "MiSupprimerSelection", QStringLiteral("Supprimer la sélection"),
                  [&t] { t.SupprimerSelection(); });
    AjouterAction(selection, "MiSupprimerLesPointsMasques",
                  QStringLiteral("Supprimer les points masqués"),
                  [&t] { t.SupprimerPointsMasques(); });
    AjouterAction(selection, "MiAnnulerSuppressions", QStringLiteral("Annuler les suppressions"),
                  [&t] { t.AnnulerSuppressions(); });
    selection->addSeparator();
    AjouterAction(selection, "MiCompacter", QStringLiteral("Compacter (supprime définitivement)"),
                  [&t] { t.CompacterScan(); });

    AjouterAction(nullptr, "MiProprietes", QStringLiteral("Propriétés"),
                  [&t] { t.Plateforme.AfficherMessage(t.Proprietes()); });
    // The view takes the keyboard, as after a click in it.
    AjouterAction(nullptr, "rafraichir1", QStringLiteral("rafraichir"), [this, &t] {
        t.RetracerTout();
        VGL_->setFocus(Qt::OtherFocusReason);
    })->setShortcut(QKeySequence::Refresh);
    auto* aide = menuBar()->addAction(QStringLiteral("Aide"), this, &TFArkalune::AfficherAide);
    aide->setObjectName(QStringLiteral("MiAide"));
    aide->setShortcut(QKeySequence::HelpContents);
}

QWidget* TFArkalune::ConstruireBarreHaut() {
    TEspaceTravail& t = Travail();
    PnTop_ = Nommer(new QWidget, "PnTop");
    PnTop_->setFixedHeight(27);
    auto* ligne = new QHBoxLayout(PnTop_);
    ligne->setContentsMargins(6, 0, 6, 0);
    ligne->setSpacing(4);

    ligne->addWidget(new QLabel(QStringLiteral("Affichage :")));
    CkBxVoirPoints_ = Nommer(new QCheckBox(QStringLiteral("points")), "CkBxVoirPoints");
    CkBxVoirPoints_->setChecked(true);
    connect(CkBxVoirPoints_, &QCheckBox::clicked, this, [this, &t](bool coche) {
        Commande([&t, coche] {
            t.CkBxVoirPoints = coche;
            t.RetracerTout();
        });
    });
    ligne->addWidget(CkBxVoirPoints_);
    ligne->addSpacing(12);
    ligne->addWidget(new QLabel(QStringLiteral("Taille des points :")));
    CmBxTaillePoints_ = Nommer(new QComboBox, "CmBxTaillePoints");
    CmBxTaillePoints_->addItems({"1", "2", "3", "4"});
    connect(CmBxTaillePoints_, &QComboBox::activated, this, [this, &t](int i) {
        Commande([&t, i] {
            t.TaillePointsIndex = i;
            t.RetracerPoints();
        });
    });
    ligne->addWidget(CmBxTaillePoints_);
    ligne->addSpacing(12);

    ligne->addWidget(new QLabel(QStringLiteral("Vue suivant :")));
    struct TBoutonVue {
        const char* nom;
        const char* texte;
        const char* indice;
        int tag;
    };
    for (const TBoutonVue& b : {TBoutonVue{"SBtVueSvtX", "X", "Vue suivant l'axe X", 2},
                                TBoutonVue{"SBtVueSvtY", "Y", "Vue suivant l'axe Y", 1},
                                TBoutonVue{"SBtVueSvtZ", "Z", "Vue suivant l'axe Z", 3}}) {
        auto* bouton =
            BoutonRapide(b.nom, QString::fromLatin1(b.texte), QString::fromUtf8(b.indice));
        const int tag = b.tag;
        connect(bouton, &QToolButton::clicked, this,
                [this, &t, tag] { Commande([&t, tag] { t.OrienterVue(tag); }); });
        ligne->addWidget(bouton);
    }
    ligne->addSpacing(12);
    auto* plus = BoutonRapide("SBtEchPlus", QStringLiteral("+"));
    connect(plus, &QToolButton::clicked, this,
            [this, &t] { Commande([&t] { t.SBtEchPlusClick(); }); });
    auto* moins = BoutonRapide("SBtEchMoins", QStringLiteral("-"));
    connect(moins, &QToolButton::clicked, this,
            [this, &t] { Commande([&t] { t.SBtEchMoinsClick(); }); });
    ligne->addWidget(plus);
    ligne->addWidget(moins);
    ligne->addStretch(1);
    return PnTop_;
}

QWidget* TFArkalune::ConstruireOnglets() {
    PCavct_ = Nommer(new QTabWidget, "PCavct");
    PCavct_->setFixedHeight(90);
    PCavct_->setDocumentMode(true);
    // Flat buttons of 150 pixels rather than tabs.
    PCavct_->setStyleSheet(QStringLiteral(
        "QTabBar::tab { width: 146px; height: 22px; margin: 2px 2px 0 0; border: 1px solid "
        "palette(mid); border-radius: 2px; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(midlight); border: 1px inset palette(dark); "
        "font-weight: bold; }"
        "QTabBar::tab:hover:!selected { background: palette(light); }"));
    PCavct_->addTab(PagePreparation(), QStringLiteral("Préparation"));
    PCavct_->addTab(PageStructure(), QStringLiteral("Structure"));
    PCavct_->addTab(PageCharges(), QStringLiteral("Charges"));
    PCavct_->addTab(PageResultats(), QStringLiteral("Résultats"));
    connect(PCavct_, &QTabWidget::currentChanged, this, &TFArkalune::PCavctChange);
    return PCavct_;
}

QWidget* TFArkalune::PagePreparation() {
    TEspaceTravail& t = Travail();
    QGridLayout* g = nullptr;
    QWidget* page = Page("TSpreparation", g);
    CmBxNivAff_ = Nommer(new QComboBox, "CmBxNivAff");
    for (const char* item : ItemsNivAff)
        CmBxNivAff_->addItem(QString::fromUtf8(item));
    connect(CmBxNivAff_, &QComboBox::activated, this,
            [this, &t](int i) { Commande([&t, i] { t.FixerNiveauAffiche(i); }); });
    g->addWidget(new QLabel(QStringLiteral("Niveau de définition de l'affichage")), 0, 0);
    g->addWidget(CmBxNivAff_, 1, 0);

    EdRotZ_ = Nommer(new QLineEdit(QStringLiteral("0")), "EdRotZ");
    EdRotZ_->setFixedWidth(60);
    connect(EdRotZ_, &QLineEdit::textEdited, this,
            [&t](const QString& texte) { t.TexteEdRotZ = texte.toStdString(); });
    auto* actualiser = Bouton("BtActualiserRot", QStringLiteral("Actualiser"));
    connect(actualiser, &QPushButton::clicked, this, [this, &t] {
        Commande([&t, texte = EdRotZ_->text().toStdString()] { t.BtActualiserRotClick(texte); });
    });
    connect(EdRotZ_, &QLineEdit::returnPressed, actualiser, &QPushButton::click);
    g->addWidget(new QLabel(QStringLiteral("rotation Z")), 0, 2, 1, 2);
    g->addWidget(EdRotZ_, 1, 2);
    g->addWidget(actualiser, 1, 3);
    g->setColumnMinimumWidth(1, 24);
    g->setColumnStretch(4, 1);
    return page;
}

QWidget* TFArkalune::PageStructure() {
    TEspaceTravail& t = Travail();
    QGridLayout* g = nullptr;
    QWidget* page = Page("TSstructure", g);

    auto* deplacer = Bouton("BtDeplacerQuartEtudie", QStringLiteral("déplacer le quart étudié"));
    connect(deplacer, &QPushButton::clicked, this,
            [this, &t] { Commande([&t] { t.BtDeplacerQuartEtudieClick(); }); });
    g->addWidget(deplacer, 0, 0);

    CkBxEdFront_ =
        Nommer(new QCheckBox(QStringLiteral("Editer la frontière : - point")), "CkBxEdFront");
    connect(CkBxEdFront_, &QCheckBox::clicked, this,
            [this, &t](bool coche) { Commande([&t, coche] { t.FixerCkBxEdFront(coche); }); });
    CmBxPtFront_ = Nommer(new QComboBox, "CmBxPtFront");
    CmBxPtFront_->addItems({QStringLiteral("clé arc"), QStringLiteral("quartier 1"),
                            QStringLiteral("appui arc"), QStringLiteral("quartier 2")});
    connect(CmBxPtFront_, &QComboBox::activated, this, [this, &t](int i) {
        Commande([&t, i] {
            t.CmBxPtFrontIndex = i;
            t.CmBxPtFrontCloseUp();
        });
    });
    auto* front = new QHBoxLayout;
    front->addWidget(CkBxEdFront_);
    front->addWidget(CmBxPtFront_);
    const char* noms[] = {"SBtDeplD", "SBtDeplG", "SBtDeplH", "SBtDeplB"};
    for (int tag = 1; tag <= 4; ++tag) {
        auto* b = BoutonRapide(noms[tag - 1], Fleche[tag - 1],
                               QStringLiteral("déplacement par 2 cm (10 cm si touche Shift "
                                              "enfoncée)"));
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this,
                [this, &t, tag] { Commande([&t, tag] { t.SBtDeplClick(tag); }); });
        front->addWidget(b);
    }
    front->addStretch(1);
    g->addLayout(front, 1, 0);

    auto* largeur = Etiquette(QStringLiteral("Largeur arc d'arêtier (cm) :"));
    auto* arcs = Etiquette(QStringLiteral("Nombre d'arcs de voute :"),
                           QStringLiteral("Définit en combien d'arcs la voute sera décomposée"));
    champs_[0] = new TGenEdit(t.Champs.GEdLargeurAretier);
    champs_[1] = new TGenEdit(t.Champs.GEdNbArcsVoute);
    g->addWidget(largeur, 0, 1);
    g->addWidget(champs_[0], 0, 2);
    g->addWidget(arcs, 1, 1);
    g->addWidget(champs_[1], 1, 2);
    auto* rafraichir = Bouton("BtRafraichirStructure", QStringLiteral("Rafraichir"));
    connect(rafraichir, &QPushButton::clicked, this,
            [this, &t] { Commande([&t] { t.BtRafraichirStructureClick(); }); });
    g->addWidget(rafraichir, 0, 3);

    // The springing level: the one read, and the engineer's own when the cloud's is doubtful.
    CkBxNivAppui_ =
        Nommer(new QCheckBox(QStringLiteral("Niveau d'appui imposé (m / clé) :")), "CkBxNivAppui");
    CkBxNivAppui_->setToolTip(QStringLiteral(
        "niveau de l'appui de l'arêtier par rapport à la clé, à la place de celui lu dans le "
        "relevé (à la prochaine construction de la structure)"));
    connect(CkBxNivAppui_, &QCheckBox::clicked, this,
            [this, &t](bool coche) { Commande([&t, coche] { t.CkBxNivAppuiClick(coche); }); });
    champs_[6] = new TGenEdit(t.Champs.GEdNivAppui);
    LbNiveauAppui_ = Nommer(new QLabel, "LbNiveauAppui");
    g->addWidget(CkBxNivAppui_, 2, 1);
    g->addWidget(champs_[6], 2, 2);
    g->addWidget(LbNiveauAppui_, 2, 0);
    g->setColumnStretch(4, 1);
    return page;
}

QWidget* TFArkalune::PageCharges() {
    TEspaceTravail& t = Travail();
    QGridLayout* g = nullptr;
    QWidget* page = Page("TScharges", g);
    struct TLigne {
        const char* texte;
        const char* indice;
        TCustomGenEdit& logique;
    };
    const TLigne lignes[] = {
        {"Masse lin. arêtier :", "En daN/mlin", t.Champs.GEdMlinAretier},
        {"Masse surf. voute :", "en daN/m²", t.Champs.GEdMsurfVoute},
        {"Masse vol. remplissage :", "en daN/m3, 0 si absent", t.Champs.GEdMvolRemplissage},
        {"Niveau remplissage (0 = clé) :",
         "< 0 sous la clé, mettre masse vol. à 0 si pas de remplissage",
         t.Champs.GEdNivRemplissage},
    };
    for (int i = 0; i < 4; ++i) {
        champs_[2 + i] = new TGenEdit(lignes[i].logique);
        champs_[2 + i]->setFixedWidth(70);
        g->addWidget(
            Etiquette(QString::fromUtf8(lignes[i].texte), QString::fromUtf8(lignes[i].indice)),
            i % 2, 2 * (i / 2));
        g->addWidget(champs_[2 + i], i % 2, 2 * (i / 2) + 1);
    }
    auto* recalculer = Bouton("BtCalculerCharges", QStringLiteral("Recalculer"));
    connect(recalculer, &QPushButton::clicked, this,
            [this, &t] { Commande([&t] { t.BtCalculerChargesClick(); }); });
    g->addWidget(recalculer, 0, 4);
    g->setColumnStretch(5, 1);
    return page;
}

QWidget* TFArkalune::PageResultats() {
    QGridLayout* g = nullptr;
    QWidget* page = Page("TSresultats", g);
    LbResultats_ = Nommer(new QLabel(QStringLiteral(" ")), "LbResultats");
    LbResultats_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    g->addWidget(LbResultats_, 0, 0, 1, 4);
    auto* pdf = Bouton("BtExporterPdf", QStringLiteral("Exporter en PDF…"));
    connect(pdf, &QPushButton::clicked, this, &TFArkalune::ExporterPdf);
    auto* html = Bouton("BtExporterHtml", QStringLiteral("Exporter en HTML…"));
    connect(html, &QPushButton::clicked, this, &TFArkalune::ExporterHtml);
    auto* sensibilite = Bouton("BtSensibilite", QStringLiteral("Sensibilité"));
    sensibilite->setToolTip(QStringLiteral(
        "refait l'étude aux autres niveaux de définition et sur la grille décalée d'un demi-cube, "
        "et donne dans le rapport l'étendue des actions à l'appui"));
    connect(sensibilite, &QPushButton::clicked, this,
            [this] { Commande([this] { Travail().CalculerSensibilite(); }); });
    g->addWidget(pdf, 1, 0);
    g->addWidget(html, 1, 1);
    g->addWidget(sensibilite, 1, 2);
    g->setColumnStretch(3, 1);
    return page;
}

QWidget* TFArkalune::ConstruireAffichage() {
    PCaffi_ = Nommer(new QStackedWidget, "PCaffi");
    TSvgl_ = Nommer(new QWidget, "TSvgl");
    auto* pnVgl = Nommer(new QWidget(TSvgl_), "PnVGL");
    (new QVBoxLayout(TSvgl_))->addWidget(pnVgl);
    TSvgl_->layout()->setContentsMargins(0, 0, 0, 0);
    VGL_ = ConstruireVue(pnVgl);
    (new QVBoxLayout(pnVgl))->addWidget(VGL_);
    pnVgl->layout()->setContentsMargins(0, 0, 0, 0);

    TSresul_ = Nommer(new QWidget, "TSresul");
    auto* pnWb = Nommer(new QWidget(TSresul_), "PnWB");
    (new QVBoxLayout(TSresul_))->addWidget(pnWb);
    TSresul_->layout()->setContentsMargins(0, 0, 0, 0);
    WB_ = Nommer(new QTextBrowser(pnWb), "WB");
    WB_->setOpenLinks(false);
    (new QVBoxLayout(pnWb))->addWidget(WB_);
    pnWb->layout()->setContentsMargins(0, 0, 0, 0);

    PCaffi_->addWidget(TSvgl_);
    PCaffi_->addWidget(TSresul_);
    return PCaffi_;
}

QWidget* TFArkalune::ConstruireBas() {
    PnBtns_ = Nommer(new QWidget, "PnBtns");
    auto* ligne = new QHBoxLayout(PnBtns_);
    ligne->setContentsMargins(0, 0, 0, 0);
    auto* copier = Bouton("BtResulPP", QStringLiteral("Copier dans le presse-papier"));
    connect(copier, &QPushButton::clicked, this, &TFArkalune::BtResulPPClick);
    ligne->addWidget(copier);
    return PnBtns_;
}

void TFArkalune::ConstruireBarreEtat() {
    QStatusBar* barre = statusBar();
    barre->setObjectName(QStringLiteral("SBinfo"));
    barre->setSizeGripEnabled(false);
    for (int n = 0; n < 2; ++n) {
        panneaux_[n] = new QLabel(barre);
        panneaux_[n]->setObjectName(QStringLiteral("SBinfo%1").arg(n));
        barre->addWidget(panneaux_[n], n);
    }
    // The load's summary (the shift of a national grid, points ignored) widens its panel as far
    // as the window allows; what a narrow window cuts is in its tooltip.
    panneaux_[0]->setMinimumWidth(400);
}

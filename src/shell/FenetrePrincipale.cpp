#include "shell/FenetrePrincipale.h"

#include "shell/PlateformeQt.h"

TFArkalune::TFArkalune(QWidget* parent)
    : QMainWindow(parent), plateforme_(std::make_unique<TPlateformeQt>(*this)),
      travail_(std::make_unique<TEspaceTravail>(*plateforme_)) {
    setWindowTitle(QStringLiteral("Calcul de voûte nervurée"));
    resize(765, 472);
}

TFArkalune::~TFArkalune() = default;

#pragma once
// The main window: it only translates between the widgets and the workspace.

#include "shell/TEspaceTravail.h"

#include <QMainWindow>
#include <memory>

class TPlateformeQt;

class TFArkalune : public QMainWindow {
    Q_OBJECT
public:
    explicit TFArkalune(QWidget* parent = nullptr);
    ~TFArkalune() override;

    TEspaceTravail& Travail() { return *travail_; }

private:
    std::unique_ptr<TPlateformeQt> plateforme_;
    std::unique_ptr<TEspaceTravail> travail_;
};

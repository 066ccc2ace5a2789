#pragma once
// The validated edit field's widget: a line edit that shows a field logic's text and reports the
// user's edits to it.

#include "fields/CGenEdit.h"

#include <QLineEdit>

class TGenEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TGenEdit(TCustomGenEdit& logique, QWidget* parent = nullptr);
    // Shows the logic's text again.
    void Actualiser();

signals:
    void Modifie();

private:
    TCustomGenEdit& logique_;
};

#pragma once
// The figure of the studied quarter painted (Qt): for the window's report and the printed one,
// which show it under the image name the report gives it.

#include "vault/FigureQuart.h"

class QTextDocument;

// Gives `doc` the figure under its name in the report, drawn `finesse` times finer than its size
// in the page. Nothing for an empty figure.
void FournirFigure(QTextDocument& doc, const TFigureQuart& figure, double finesse);

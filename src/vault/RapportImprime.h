#pragma once
// The report as a printed document (Qt): A4 pages, a title block, body text at 10 pt, each
// heading on the page of the table it introduces, the page number at the foot of every page.
// The PDF export, the print dialog and `arkalune-calcul --pdf` all go through it.

#include "vault/EtudeVoute.h"

#include <QByteArray>
#include <string>

class QPagedPaintDevice;

// Lays the report `rapport` (the study's HTML text) out on the pages of `support` and paints
// them, each under the running header drawn from `contexte`, with the figure of the quarter
// where the report shows it. `support` keeps its page size; its margins are set here.
void ImprimerRapport(const std::string& rapport, const TContexteRapport& contexte,
                     const TFigureQuart& figure, QPagedPaintDevice& support);

// The whole PDF document of the report, A4, its title and creator naming the program's version,
// its author (the note's author) and subject (project and survey) in its XMP metadata.
// Needs a QGuiApplication (any platform, offscreen included). Empty when the PDF could not be
// produced.
QByteArray RapportEnPdf(const std::string& rapport, const TContexteRapport& contexte,
                        const TFigureQuart& figure = {});

// "Arkalune" and its version, as the documents name their creator.
QString CreateurDocument();

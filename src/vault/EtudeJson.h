#pragma once
// The whole study as JSON: the scan's figures, the quarter, the inputs, the structure, the
// loads and the caption of the results. Numbers in the shortest form that reads back to the
// same double; a 32-bit value as its exact value widened to double; a value that is not a
// finite number as null.

#include <string>

class TEtatScan;
class TEtudeVoute;

// `scan` gives its figures, `angRotZdeg` is the view's turn about Z the efforts are seen in.
std::string EtudeEnJson(const TEtudeVoute& etude, const TEtatScan& scan, double angRotZdeg);

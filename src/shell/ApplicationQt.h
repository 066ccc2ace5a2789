#pragma once
// What the program and its window tests set up before the window: the French texts of Qt's own
// buttons and dialogs, the window's font, and "." as the decimal separator of every number.

class QApplication;

void PreparerApplication(QApplication& application);

#pragma once

#include "clientarea.h"

class QMainWindow;

// The program's client area in logical pixels.
inline constexpr QSize BareClientSize = ClientArea::LogicalSize;

// Gives a window the program's two-entry menu bar, so every design is framed alike.
void addMenuBar(QMainWindow &window);

// A plain Qt main window of the program's size with its menu bar and nothing else: what a window
// costs Qt itself, the baseline of the start-up figures.
QMainWindow *makeBareWindow();

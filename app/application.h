#pragma once

class QApplication;
class QIcon;

// The program's name and version 1.00, as the desktop sees them.
void describeApplication(QApplication &application);

// The program's icon, at each size the build drew from its SVG.
QIcon applicationIcon();

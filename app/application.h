#pragma once

class QApplication;

// The program's name, version 1.00 and icon, as the desktop sees them.
void describeApplication(QApplication &application);

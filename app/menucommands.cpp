// The two commands of the menu bar.

#include "form1.h"

// Throws the drawing away and brings the window back as it starts: unloading destroys every
// figure and every change to the controls, and showing the form builds it anew.
void Form1::mnuReset_Click()
{
    drawing.endDrag();
    Unload();
    Show();
}

void Form1::mnuExit_Click()
{
    End();
}

#pragma once

// Makes the windowless controls of a form surface, its labels and the shapes given a name,
// known to screen readers as children of the surface.
void installWindowlessAccessibility();

#pragma once

class FormSurface;
class ElementId;

// Makes the controls of a form surface known to screen readers as a person sees them: the
// windowless labels and named shapes as children of the surface, the controls grouped under a
// frame as the frame's children, and the labels that name or describe a windowed control as
// related to it.
void installFormAccessibility();

// Tells screen readers that a windowless control's text changed: a label's caption, a named
// shape's colour, and so the description of every control it describes.
void announceWindowlessChange(FormSurface *surface, ElementId id);

#pragma once

#include "accessiblerelations.h"
#include "windowlesslayer.h"

#include <QHash>
#include <QObject>

// Makes the controls of a form's client area known to screen readers as a person sees them: the
// windowless labels and named shapes as children of the client area, the drawing area as one
// object that says what it holds, the controls grouped under a frame as the frame's children,
// and the labels that name or describe a windowed control as related to it. It watches the
// windowless layer, so that screen readers hear when a label's caption or a named shape's colour
// changes, with it the description of every control that the label or shape describes, and when
// a figure comes, goes or changes its kind.
class FormAccessibility : public QObject, private LayerObserver
{
    Q_OBJECT
public:
    // Becomes a child of the client area that it describes; the layer must outlive it.
    FormAccessibility(QWidget *clientArea, WindowlessLayer &layer);
    ~FormAccessibility() override;

    // The one that describes the client area, or null.
    static FormAccessibility *of(const QWidget *clientArea);

    // A screen reader says of a windowless control: a label its caption, a shape the name given
    // here and its colour. Only these are told to it, not the figures drawn.
    void setElementName(ElementId id, const QString &name);
    // The shape that frames the drawing area: told by the given name, its description counts
    // the figures, the shapes and lines not named here, that are shown.
    void setCanvas(ElementId frame, const QString &name);
    bool isCanvas(ElementId id) const { return !id.isNull() && id == m_canvas; }
    AccessibleRelations &relations() { return m_relations; }
    const AccessibleRelations &relations() const { return m_relations; }

    QList<ElementId> elements() const;
    QString nameOf(ElementId id) const;
    QString descriptionOf(ElementId id) const;
    // Where the element shows, in the client area's logical pixels.
    QRect boundsOf(ElementId id) const;

    QWidget *clientArea() const;

private:
    void elementAboutToChange(ElementId id) override;
    void elementChanged(ElementId id) override;
    bool isFigure(ElementId id) const;
    // Whether a figure shows, and as which kind: a line is -1.
    int shownKind(ElementId id) const;
    QString figuresInWords() const;

    WindowlessLayer &m_layer;
    QHash<quint32, QString> m_names;
    ElementId m_canvas;
    // The kind of the figure being changed, before the change, while a screen reader listens.
    int m_kindBeforeChange = 0;
    AccessibleRelations m_relations;
};

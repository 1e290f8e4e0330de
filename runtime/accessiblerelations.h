#pragma once

#include "windowlesslayer.h"

#include <QHash>
#include <QList>

class QWidget;

// What a screen reader learns of a form beyond each control's own name: the windowless label
// that names a windowed control, the windowless control whose text describes one, and the
// controls that form one group under a frame although they lie over it on the form.
class AccessibleRelations
{
public:
    void setLabel(ElementId label, QWidget *control) { m_labels.insert(control, label); }
    void setDescription(ElementId describer, QWidget *control)
    {
        m_describers.insert(control, describer);
    }
    void setGroup(QWidget *frame, const QList<QWidget *> &members)
    {
        m_groups.insert(frame, members);
        for (QWidget *member : members)
            m_groupOf.insert(member, frame);
    }

    // A null id or pointer where there is none.
    ElementId labelOf(QWidget *control) const { return m_labels.value(control); }
    ElementId describerOf(QWidget *control) const { return m_describers.value(control); }
    QWidget *groupOf(QWidget *control) const { return m_groupOf.value(control); }
    QList<QWidget *> membersOf(QWidget *frame) const { return m_groups.value(frame); }
    QList<QWidget *> frames() const { return m_groups.keys(); }

    QList<QWidget *> labelledBy(ElementId label) const { return m_labels.keys(label); }
    QList<QWidget *> describedBy(ElementId describer) const { return m_describers.keys(describer); }

private:
    QHash<QWidget *, ElementId> m_labels;
    QHash<QWidget *, ElementId> m_describers;
    QHash<QWidget *, QList<QWidget *>> m_groups;
    QHash<QWidget *, QWidget *> m_groupOf;
};

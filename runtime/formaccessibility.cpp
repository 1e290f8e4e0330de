#include "formaccessibility.h"

#include "descriptionannouncer.h"
#include "figurepainter.h"
#include "twips.h"
#include "windowedcontrols.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

using RelationList = QList<QPair<QAccessibleInterface *, QAccessible::Relation>>;

// What FormAccessibility::shownKind() gives for a figure that is not a shape shown.
constexpr int hiddenFigure = -2;
constexpr int lineFigure = -1;

// The description of the client area that a windowed control lies on.
FormAccessibility *formOf(QWidget *control)
{
    return control ? FormAccessibility::of(control->parentWidget()) : nullptr;
}

QAccessibleInterface *elementInterface(FormAccessibility *form, ElementId id);

// One windowless control, which has no widget of its own to describe it.
class WindowlessElementAccessible : public QAccessibleInterface
{
public:
    WindowlessElementAccessible(FormAccessibility *form, ElementId id) : m_form(form), m_id(id) { }

    bool isValid() const override { return !m_form.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_form ? m_form->clientArea()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_form ? QAccessible::queryAccessibleInterface(m_form->clientArea()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::State state() const override { return {}; }

    QString text(QAccessible::Text kind) const override
    {
        if (!m_form)
            return {};
        if (kind == QAccessible::Name)
            return m_form->nameOf(m_id);
        if (kind == QAccessible::Description)
            return m_form->descriptionOf(m_id);
        return {};
    }

    QRect rect() const override
    {
        if (!m_form)
            return {};
        return m_form->boundsOf(m_id).translated(m_form->clientArea()->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override
    {
        if (m_id.type() == ElementId::Label)
            return QAccessible::StaticText;
        return m_form && m_form->isCanvas(m_id) ? QAccessible::Canvas : QAccessible::Graphic;
    }

    // A label names the controls it labels.
    RelationList relations(QAccessible::Relation match) const override
    {
        RelationList found;
        if (!m_form || !(match & QAccessible::Labelled))
            return found;
        for (QWidget *control : m_form->relations().labelledBy(m_id))
            found.append({QAccessible::queryAccessibleInterface(control), QAccessible::Labelled});
        return found;
    }

private:
    QPointer<FormAccessibility> m_form;
    ElementId m_id;
};

// The caption of a frame, drawn by the frame itself. It labels the frame's group, and is there
// for a screen reader's review of what the window shows, which reads only objects without
// children.
class FrameCaptionAccessible : public QAccessibleInterface
{
public:
    explicit FrameCaptionAccessible(Frame *frame) : m_frame(frame) { }

    bool isValid() const override { return !m_frame.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_frame ? m_frame->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_frame ? QAccessible::queryAccessibleInterface(m_frame->parentWidget()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::State state() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }

    QString text(QAccessible::Text kind) const override
    {
        if (!m_frame || kind != QAccessible::Name)
            return {};
        return QString(m_frame->title()).remove(QLatin1Char('&'));
    }

    QRect rect() const override
    {
        if (!m_frame)
            return {};
        return m_frame->captionBox().translated(m_frame->mapToGlobal(QPoint(0, 0)));
    }

    RelationList relations(QAccessible::Relation match) const override
    {
        if (!m_frame || !(match & QAccessible::Labelled))
            return {};
        return {{QAccessible::queryAccessibleInterface(m_frame), QAccessible::Labelled}};
    }

private:
    QPointer<Frame> m_frame;
};

// The client area: its windowed controls first, as for any widget, except those that a frame
// groups, then the frames' captions, then its windowless controls.
class ClientAreaAccessible : public QAccessibleWidget
{
public:
    explicit ClientAreaAccessible(FormAccessibility *form)
        : QAccessibleWidget(form->clientArea(), QAccessible::Client), m_form(form)
    { }

    ~ClientAreaAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_elements))
            QAccessible::deleteAccessibleInterface(id);
        for (QAccessible::Id id : std::as_const(m_captions))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        return int(windowedChildren().size() + frames().size() + elements().size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QAccessibleInterface *> windowed = windowedChildren();
        if (index < 0)
            return nullptr;
        if (index < windowed.size())
            return windowed[index];
        const QList<Frame *> frames = this->frames();
        qsizetype at = index - windowed.size();
        if (at < frames.size())
            return caption(frames[at]);
        const QList<ElementId> elements = this->elements();
        at -= frames.size();
        return at < elements.size() ? element(elements[at]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child)
                return i;
        }
        return -1;
    }

    QAccessibleInterface *caption(Frame *frame) const
    {
        auto found = m_captions.find(frame);
        if (found == m_captions.end()) {
            auto *made = new FrameCaptionAccessible(frame);
            found = m_captions.insert(frame, QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(*found);
    }

    QAccessibleInterface *element(ElementId id) const
    {
        auto found = m_elements.find(id.packed());
        if (found == m_elements.end()) {
            auto *made = new WindowlessElementAccessible(m_form, id);
            found = m_elements.insert(id.packed(), QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(*found);
    }

private:
    // The description goes before the client area does, with the first of its children.
    QList<ElementId> elements() const { return m_form ? m_form->elements() : QList<ElementId>(); }

    QList<QAccessibleInterface *> windowedChildren() const
    {
        QList<QAccessibleInterface *> children;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface *child = QAccessibleWidget::child(i);
            auto *control = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
            if (child && !(m_form && m_form->relations().groupOf(control)))
                children.append(child);
        }
        return children;
    }

    QList<Frame *> frames() const
    {
        QList<Frame *> frames;
        const QList<QWidget *> groupings =
            m_form ? m_form->relations().frames() : QList<QWidget *>();
        for (QWidget *grouping : groupings) {
            if (auto *frame = qobject_cast<Frame *>(grouping))
                frames.append(frame);
        }
        return frames;
    }

    QPointer<FormAccessibility> m_form;
    mutable QHash<quint32, QAccessible::Id> m_elements;
    mutable QHash<const Frame *, QAccessible::Id> m_captions;
};

QAccessibleInterface *elementInterface(FormAccessibility *form, ElementId id)
{
    auto *accessible = dynamic_cast<ClientAreaAccessible *>(
        QAccessible::queryAccessibleInterface(form->clientArea()));
    return accessible && !id.isNull() ? accessible->element(id) : nullptr;
}

// A frame holds, for a screen reader, the controls it groups, so that entering the group speaks
// its caption; on the form they lie over the frame, not inside it.
class FrameAccessible : public QAccessibleWidget
{
public:
    explicit FrameAccessible(Frame *frame) : QAccessibleWidget(frame, QAccessible::Grouping) { }

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            return static_cast<Frame *>(widget())->title().remove(QLatin1Char('&'));
        return text;
    }

    // Its caption labels it.
    RelationList relations(QAccessible::Relation match) const override
    {
        RelationList found = QAccessibleWidget::relations(match);
        auto *client = dynamic_cast<ClientAreaAccessible *>(
            QAccessible::queryAccessibleInterface(widget()->parentWidget()));
        if (client && (match & QAccessible::Label))
            found.append({client->caption(static_cast<Frame *>(widget())), QAccessible::Label});
        return found;
    }

    int childCount() const override { return int(members().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> grouped = members();
        return index >= 0 && index < grouped.size()
            ? QAccessible::queryAccessibleInterface(grouped[index])
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(members().indexOf(child ? qobject_cast<QWidget *>(child->object()) : nullptr));
    }

private:
    QList<QWidget *> members() const
    {
        FormAccessibility *form = formOf(widget());
        return form ? form->relations().membersOf(widget()) : QList<QWidget *>();
    }
};

// An option button, whose parent for a screen reader is the frame that groups it.
class OptionButtonAccessible : public QAccessibleWidget
{
public:
    explicit OptionButtonAccessible(OptionButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    { }

    QAccessibleInterface *parent() const override
    {
        FormAccessibility *form = formOf(widget());
        if (QWidget *frame = form ? form->relations().groupOf(widget()) : nullptr)
            return QAccessible::queryAccessibleInterface(frame);
        return QAccessibleWidget::parent();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(toggleAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == toggleAction() && widget()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    OptionButton *button() const { return static_cast<OptionButton *>(widget()); }
};

// A scroll bar with its value, named by its label and described by the windowless control
// beside it.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ScrollBarAccessible(HScrollBar *bar) : QAccessibleWidget(bar, QAccessible::ScrollBar)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QString::number(bar()->value());
        if (kind == QAccessible::Description) {
            if (QAccessibleInterface *describer = related(&AccessibleRelations::describerOf))
                return describedAs(describer);
        }
        return QAccessibleWidget::text(kind);
    }

    RelationList relations(QAccessible::Relation match) const override
    {
        RelationList found = QAccessibleWidget::relations(match);
        if (match & QAccessible::Label) {
            if (QAccessibleInterface *label = related(&AccessibleRelations::labelOf))
                found.append({label, QAccessible::Label});
        }
        return found;
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << increaseAction() << decreaseAction();
    }

    void doAction(const QString &action) override
    {
        if (action == increaseAction())
            bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else if (action == decreaseAction())
            bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else
            QAccessibleWidget::doAction(action);
    }

    QVariant currentValue() const override { return bar()->value(); }
    // Whatever number comes over the bus is taken as a person's step would be: clamped to the
    // slider's range and rounded to a whole value. What is no number changes nothing.
    void setCurrentValue(const QVariant &value) override
    {
        bool isNumber = false;
        const double wanted = value.toDouble(&isNumber);
        if (!isNumber || std::isnan(wanted))
            return;
        const double clamped =
            std::clamp(wanted, double(bar()->minimum()), double(bar()->maximum()));
        bar()->setValue(int(std::lround(clamped)));
    }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    HScrollBar *bar() const { return static_cast<HScrollBar *>(widget()); }

    // The windowless control that labels or describes this scroll bar, if any.
    QAccessibleInterface *related(ElementId (AccessibleRelations::*relation)(QWidget *) const) const
    {
        FormAccessibility *form = formOf(widget());
        return form ? elementInterface(form, (form->relations().*relation)(widget())) : nullptr;
    }

    // A label describes by its caption, a shape by its name and what it shows:
    // "Color preview: red 200, green 0, blue 0".
    static QString describedAs(QAccessibleInterface *describer)
    {
        const QString name = describer->text(QAccessible::Name);
        const QString shows = describer->text(QAccessible::Description);
        return shows.isEmpty() ? name : name + QStringLiteral(": ") + shows;
    }
};

// Qt asks once for each class of the object's ancestry, most derived first; the object's own
// class decides, so the answer does not depend on which name is asked for.
QAccessibleInterface *controlFactory(const QString &, QObject *object)
{
    if (FormAccessibility *form = FormAccessibility::of(qobject_cast<QWidget *>(object)))
        return new ClientAreaAccessible(form);
    if (auto *frame = qobject_cast<Frame *>(object))
        return new FrameAccessible(frame);
    if (auto *option = qobject_cast<OptionButton *>(object))
        return new OptionButtonAccessible(option);
    if (auto *bar = qobject_cast<HScrollBar *>(object))
        return new ScrollBarAccessible(bar);
    return nullptr;
}

} // namespace

FormAccessibility::FormAccessibility(QWidget *clientArea, WindowlessLayer &layer)
    : QObject(clientArea), m_layer(layer)
{
    static const bool installed = [] {
        QAccessible::installFactory(controlFactory);
        return true;
    }();
    Q_UNUSED(installed);
    // Made with the first window, so that it learns who listens before the first change.
    DescriptionAnnouncer::instance();
    m_layer.addObserver(this);
}

FormAccessibility::~FormAccessibility()
{
    m_layer.removeObserver(this);
}

FormAccessibility *FormAccessibility::of(const QWidget *clientArea)
{
    return clientArea
        ? clientArea->findChild<FormAccessibility *>(QString(), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QWidget *FormAccessibility::clientArea() const
{
    return static_cast<QWidget *>(parent());
}

void FormAccessibility::setElementName(ElementId id, const QString &name)
{
    m_names.insert(id.packed(), name);
}

void FormAccessibility::setCanvas(ElementId frame, const QString &name)
{
    m_canvas = frame;
    setElementName(frame, name);
}

// Only labels and named shapes are spoken, a handful, so they are gathered directly rather than
// found by walking every figure of a large drawing.
QList<ElementId> FormAccessibility::elements() const
{
    QList<ElementId> elements;
    for (quint32 index = 0; index < m_layer.labelCount(); ++index)
        elements.append(ElementId(ElementId::Label, index));
    for (auto packed = m_names.keyBegin(); packed != m_names.keyEnd(); ++packed)
        elements.append(ElementId::fromPacked(*packed));
    elements.removeIf([this](ElementId id) { return boundsOf(id).isEmpty(); });
    std::sort(elements.begin(), elements.end(), [this](ElementId a, ElementId b) {
        return m_layer.stackingPosition(a) < m_layer.stackingPosition(b);
    });
    return elements;
}

QString FormAccessibility::nameOf(ElementId id) const
{
    if (id.type() == ElementId::Label)
        return m_layer.label(id.index()).caption;
    return m_names.value(id.packed());
}

// The canvas tells what it holds; another named shape tells the colour it shows, read from the
// shape itself.
QString FormAccessibility::descriptionOf(ElementId id) const
{
    if (isCanvas(id))
        return figuresInWords();
    if (id.type() != ElementId::Shape || !m_names.contains(id.packed()))
        return {};
    return colorInWords(m_layer.shape(id.index()).backColor);
}

bool FormAccessibility::isFigure(ElementId id) const
{
    return id.type() != ElementId::Label && !m_names.contains(id.packed());
}

int FormAccessibility::shownKind(ElementId id) const
{
    if (id.type() == ElementId::Line)
        return m_layer.line(id.index()).visible ? lineFigure : hiddenFigure;
    const ShapeData &shape = m_layer.shape(id.index());
    return shape.visible ? shape.shape : hiddenFigure;
}

// "2 circles, 1 line", in the order the figure kinds are offered. Counted when a screen reader
// asks, which it does not while a drag goes on, rather than kept up to date at every step.
QString FormAccessibility::figuresInWords() const
{
    int circles = 0, lines = 0, rectangles = 0, roundedRectangles = 0;
    m_layer.forEachInStackingOrder([&](ElementId id) {
        if (!isFigure(id))
            return;
        switch (shownKind(id)) {
        case hiddenFigure:
            break;
        case lineFigure:
            ++lines;
            break;
        case ShapeOval:
            ++circles;
            break;
        case ShapeRectangle:
            ++rectangles;
            break;
        case ShapeRoundedRectangle:
            ++roundedRectangles;
            break;
        }
    });
    QStringList counts;
    const auto count = [&counts](int number, const char *one, const char *many) {
        if (number > 0)
            counts.append(
                QStringLiteral("%1 %2").arg(number).arg(QLatin1String(number == 1 ? one : many)));
    };
    count(circles, "circle", "circles");
    count(lines, "line", "lines");
    count(rectangles, "rectangle", "rectangles");
    count(roundedRectangles, "rounded rectangle", "rounded rectangles");
    return counts.isEmpty() ? QStringLiteral("no figures") : counts.join(QStringLiteral(", "));
}

QRect FormAccessibility::boundsOf(ElementId id) const
{
    const qreal ratio = clientArea()->devicePixelRatioF();
    return Twips::deviceToLogical(FigurePainter::bounds(m_layer, id, ratio), ratio);
}

void FormAccessibility::elementAboutToChange(ElementId id)
{
    if (QAccessible::isActive() && isFigure(id))
        m_kindBeforeChange = shownKind(id);
}

void FormAccessibility::elementChanged(ElementId id)
{
    // A window being built is told to screen readers as a whole when it is shown.
    if (!QAccessible::isActive() || !clientArea()->isVisible())
        return;
    // A figure moved or resized changes nothing a screen reader is told, so a drag costs it
    // nothing; one that comes, goes or takes another kind changes what the canvas holds.
    if (isFigure(id)) {
        if (shownKind(id) == m_kindBeforeChange || m_canvas.isNull())
            return;
        id = m_canvas;
    }
    if (QAccessibleInterface *element = elementInterface(this, id)) {
        QAccessibleEvent changed(element,
                                 id.type() == ElementId::Label ? QAccessible::NameChanged
                                                               : QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
    for (QWidget *control : m_relations.describedBy(id))
        DescriptionAnnouncer::instance().announce(QAccessible::queryAccessibleInterface(control));
}

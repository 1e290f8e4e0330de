#include "windowlessaccessible.h"

#include "figurepainter.h"
#include "formsurface.h"
#include "twips.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace {

// One windowless control, which has no widget of its own to describe it.
class WindowlessElementAccessible : public QAccessibleInterface
{
public:
    WindowlessElementAccessible(FormSurface *surface, ElementId id) : m_surface(surface), m_id(id) {}

    bool isValid() const override { return !m_surface.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_surface ? m_surface->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_surface.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::State state() const override { return {}; }

    QString text(QAccessible::Text kind) const override
    {
        if (!m_surface)
            return {};
        if (kind == QAccessible::Name)
            return m_surface->accessibleNameOf(m_id);
        if (kind == QAccessible::Description)
            return m_surface->accessibleDescriptionOf(m_id);
        return {};
    }

    QRect rect() const override
    {
        if (!m_surface)
            return {};
        const qreal ratio = m_surface->devicePixelRatioF();
        const QRect local = Twips::deviceToLogical(FigurePainter::bounds(m_surface->layer(), m_id, ratio), ratio);
        return local.translated(m_surface->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override
    {
        return m_id.type() == ElementId::Label ? QAccessible::StaticText : QAccessible::Graphic;
    }

private:
    QPointer<FormSurface> m_surface;
    ElementId m_id;
};

// The surface: its windowed controls first, as for any widget, then its windowless ones.
class FormSurfaceAccessible : public QAccessibleWidget
{
public:
    explicit FormSurfaceAccessible(FormSurface *surface)
        : QAccessibleWidget(surface, QAccessible::Client)
    {
    }

    ~FormSurfaceAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_elements))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        return QAccessibleWidget::childCount() + int(surface()->accessibleElements().size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const QList<ElementId> elements = surface()->accessibleElements();
        return index - widgets < elements.size() ? element(elements[index - widgets]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        const QList<ElementId> elements = surface()->accessibleElements();
        for (qsizetype i = 0; i < elements.size(); ++i) {
            if (element(elements[i]) == child)
                return widgets + int(i);
        }
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    FormSurface *surface() const { return static_cast<FormSurface *>(widget()); }

    QAccessibleInterface *element(ElementId id) const
    {
        auto found = m_elements.constFind(id.packed());
        if (found == m_elements.cend()) {
            auto *made = new WindowlessElementAccessible(surface(), id);
            found = m_elements.insert(id.packed(), QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(*found);
    }

    mutable QHash<quint32, QAccessible::Id> m_elements;
};

QAccessibleInterface *surfaceFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("FormSurface") && object && object->isWidgetType())
        return new FormSurfaceAccessible(static_cast<FormSurface *>(object));
    return nullptr;
}

} // namespace

void installWindowlessAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(surfaceFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

#include "startup.h"

#include <QCoreApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <fontconfig/fontconfig.h>

#include <chrono>
#include <system_error>
#include <utility>

using namespace std::chrono_literals;

// Fontconfig's first use parses its configuration files and font caches, the largest single step
// of start-up. It keeps one configuration for the process, so Qt later finds it ready.
std::jthread preloadFontConfiguration()
{
    try {
        return std::jthread(FcInit);
    } catch (const std::system_error &) { // GCOVR_EXCL_LINE: only when no thread can be made
        return {};                        // GCOVR_EXCL_LINE
    }
}

namespace {

// Waits for the first exposed window, then runs its work once the exposure has been painted.
class FirstFrameWatcher : public QObject
{
public:
    FirstFrameWatcher(QCoreApplication &application, std::function<void()> work)
        : QObject(&application), m_work(std::move(work))
    {
        application.installEventFilter(this);
        // A window that starts minimized is not exposed until the user opens it.
        QTimer::singleShot(1s, this, &FirstFrameWatcher::run);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose)
            return false;
        const auto *window = qobject_cast<QWindow *>(watched);
        if (window && window->isExposed()) {
            // Queued behind the paint that the exposure is about to cause.
            QMetaObject::invokeMethod(this, &FirstFrameWatcher::run, Qt::QueuedConnection);
            parent()->removeEventFilter(this);
        }
        return false;
    }

private:
    void run()
    {
        if (m_work)
            std::exchange(m_work, nullptr)();
        deleteLater();
    }

    std::function<void()> m_work;
};

// An icon that the style reads only when the icon is first drawn or measured. Sizes reach an
// engine in device pixels; the style's icon is asked for them at a pixel ratio of 1, so that the
// application's ratio is not applied twice, and painted as its own engine paints it: scaled to fill
// the box.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(QStyle *style, QStyle::StandardPixmap which) : m_style(style), m_which(which)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, icon().pixmap(rect.size(), ratio, mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!m_read && m_style) {
            m_icon = m_style->standardIcon(m_which);
            m_read = true;
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_read = false;
};

} // namespace

void runAfterFirstFrame(QCoreApplication &application, std::function<void()> work)
{
    new FirstFrameWatcher(application, std::move(work));
}

DeferredIconStyle::DeferredIconStyle(QStyle *base) : QProxyStyle(base)
{ }

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                      const QWidget *widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}

#include "startup.h"

#include <QCoreApplication>
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

} // namespace

void runAfterFirstFrame(QCoreApplication &application, std::function<void()> work)
{
    new FirstFrameWatcher(application, std::move(work));
}

#include "processstartup.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QRegion>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const QString &why)
{
    throw std::runtime_error(why.toStdString());
}

// An X server of the benchmark's own, on a display number it chooses itself.
class XvfbServer
{
public:
    XvfbServer()
    {
        m_process.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-displayfd"), QStringLiteral("1"),
                         QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) { }
        const QByteArray number = m_process.readLine().trimmed();
        if (number.isEmpty())
            fail(QStringLiteral("Xvfb did not start: ")
                 + QString::fromLocal8Bit(m_process.readAllStandardError()));
        m_display = ':' + number;
    }
    ~XvfbServer()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    const QByteArray &display() const { return m_display; }

private:
    QProcess m_process;
    QByteArray m_display;
};

// Watches the whole screen of the server: which top-level windows appear and where pixels arrive.
class ScreenWatcher
{
public:
    explicit ScreenWatcher(const QByteArray &display);
    ~ScreenWatcher() { xcb_disconnect(m_connection); }

    // Starts the program and waits for its window's first complete frame; returns the seconds
    // taken and the window's size, then kills the program and waits until its window is gone.
    double startUntilFirstFrame(const QString &program, QSize *windowSize, double *cpuSeconds);

private:
    using Event = std::unique_ptr<xcb_generic_event_t, decltype(&free)>;
    Event nextEvent(Clock::time_point deadline);
    bool isDamage(const xcb_generic_event_t &event) const;
    void settle(xcb_window_t window);

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    std::vector<QByteArray> m_environment;
};

ScreenWatcher::ScreenWatcher(const QByteArray &display)
    : m_connection(xcb_connect(display.constData(), nullptr))
{
    if (xcb_connection_has_error(m_connection))
        fail(QStringLiteral("cannot connect to the X server ") + QString::fromLatin1(display));
    const xcb_query_extension_reply_t *damage =
        xcb_get_extension_data(m_connection, &xcb_damage_id);
    if (!damage || !damage->present)
        fail(QStringLiteral("the X server has no XDamage extension"));
    m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    free(xcb_damage_query_version_reply(
        m_connection,
        xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));

    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    // Every drawing on the screen, into any window, is reported rectangle by rectangle.
    xcb_damage_create(m_connection, xcb_generate_id(m_connection), m_root,
                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(m_connection);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QString &entry : environment.toStringList())
        m_environment.push_back(entry.toLocal8Bit());
}

ScreenWatcher::Event ScreenWatcher::nextEvent(Clock::time_point deadline)
{
    for (;;) {
        if (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            return Event(event, &free);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (xcb_connection_has_error(m_connection) || left.count() <= 0)
            return Event(nullptr, &free);
        pollfd socket{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&socket, 1, int(left.count()));
    }
}

bool ScreenWatcher::isDamage(const xcb_generic_event_t &event) const
{
    return (event.response_type & 0x7f) == m_damageEvent;
}

double ScreenWatcher::startUntilFirstFrame(const QString &program, QSize *windowSize,
                                           double *cpuSeconds)
{
    const QByteArray path = program.toLocal8Bit();
    char *const arguments[] = {const_cast<char *>(path.constData()), nullptr};
    std::vector<char *> environment;
    for (QByteArray &entry : m_environment)
        environment.push_back(entry.data());
    environment.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, path.constData(), &quiet, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0)
        fail(QStringLiteral("cannot start ") + program);

    // Top-level windows as they are created and moved; the one mapped is the program's window.
    std::map<xcb_window_t, QRect> geometry;
    xcb_window_t window = 0;
    QRegion unpainted;
    Clock::time_point painted;
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    while (window == 0 || !unpainted.isEmpty()) {
        const Event event = nextEvent(deadline);
        if (!event) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            fail(program + QStringLiteral(" painted no window within 20 seconds"));
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event.get());
            geometry[created->window] =
                QRect(created->x, created->y, created->width, created->height);
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto *moved = reinterpret_cast<xcb_configure_notify_event_t *>(event.get());
            geometry[moved->window] = QRect(moved->x, moved->y, moved->width, moved->height);
            if (moved->window == window)
                unpainted &= geometry[window];
        } else if (type == XCB_MAP_NOTIFY && window == 0) {
            window = reinterpret_cast<xcb_map_notify_event_t *>(event.get())->window;
            unpainted = geometry[window];
        } else if (window != 0 && isDamage(*event)) {
            const xcb_rectangle_t area =
                reinterpret_cast<xcb_damage_notify_event_t *>(event.get())->area;
            unpainted -= QRect(area.x, area.y, area.width, area.height);
        }
        painted = Clock::now();
    }

    *windowSize = geometry[window].size();
    kill(child, SIGKILL);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    *cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    settle(window);
    return std::chrono::duration<double>(painted - start).count();
}

// Waits until the killed program's window is gone and the server has repainted what it covered,
// so that the next program starts on a quiet screen.
void ScreenWatcher::settle(xcb_window_t window)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
    for (;;) {
        const Event event = nextEvent(deadline);
        if (!event)
            fail(QStringLiteral("a killed program's window did not go away"));
        if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY
            && reinterpret_cast<xcb_destroy_notify_event_t *>(event.get())->window == window)
            break;
    }
    free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        free(event);
}

} // namespace

std::vector<ProcessStartups> measureProcessStartups(const QStringList &programs, int runs)
{
    const XvfbServer server;
    ScreenWatcher watcher(server.display());
    std::vector<ProcessStartups> results(size_t(programs.size()));
    // One unmeasured start each first, so that every measured one finds the files in the cache.
    for (int run = -1; run < runs; ++run) {
        for (qsizetype turn = 0; turn < programs.size(); ++turn) {
            // Alternate which program goes first, so neither always follows the other.
            const qsizetype which = run % 2 == 0 ? turn : programs.size() - 1 - turn;
            ProcessStartups &result = results[size_t(which)];
            double cpu = 0;
            const double seconds =
                watcher.startUntilFirstFrame(programs[which], &result.windowSize, &cpu);
            if (run >= 0) {
                result.seconds.push_back(seconds);
                result.cpuSeconds.push_back(cpu);
            }
        }
    }
    return results;
}

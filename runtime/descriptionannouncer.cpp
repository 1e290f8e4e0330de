#include "descriptionannouncer.h"

#include <QAccessibleInterface>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPointer>

namespace {

constexpr QLatin1String registryService("org.a11y.atspi.Registry");
constexpr QLatin1String registryPath("/org/a11y/atspi/registry");
constexpr QLatin1String registryInterface("org.a11y.atspi.Registry");
// Our own connection to the accessibility bus, which only listens to the registry.
constexpr QLatin1String registryConnection("quillora-accessibility-registry");

// The registry names an event "Class:Member:Detail", an empty part taking every event there.
bool takesAnnouncements(const QString &event)
{
    const QStringList parts = event.split(QLatin1Char(':'));
    const auto matches = [&parts](qsizetype index, QLatin1String name) {
        return index >= parts.size() || parts.at(index).isEmpty()
            || parts.at(index).compare(name, Qt::CaseInsensitive) == 0;
    };
    return matches(0, QLatin1String("Object")) && matches(1, QLatin1String("Announcement"));
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// FIXME: Qt before 6.8 has no announcement event, and its bridge sends a description change
// with the control where AT-SPI puts the new text, which Orca 43 then ignores. So the event goes
// out by hand, through Qt's internals: the connection that Qt's bridge names "a11y", and the path
// that it gives the control. Qt 6.8 made this unnecessary; below it, nothing public can do it.
void sendThroughQtBridge(QAccessibleInterface *control, bool asAnnouncement)
{
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) {
        qWarning("Screen readers cannot be told of a new description: Qt's accessibility bridge "
                 "has no connection named \"a11y\" to the accessibility bus");
        return;
    }
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(control));
    const QString interface = QStringLiteral("org.a11y.atspi.Event.Object");
    // AT-SPI's politeness of an announcement that waits for what is being said to end.
    constexpr int politeAnnouncement = 1;
    QDBusMessage event;
    if (asAnnouncement) {
        event = QDBusMessage::createSignal(path, interface, QStringLiteral("Announcement"));
        event << QString() << politeAnnouncement << 0;
    } else {
        event = QDBusMessage::createSignal(path, interface, QStringLiteral("PropertyChange"));
        event << QStringLiteral("accessible-description") << 0 << 0;
    }
    event << QVariant::fromValue(QDBusVariant(control->text(QAccessible::Description)))
          << QVariantMap();
    if (!bus.send(event))
        qWarning("Screen readers cannot be told of a new description: %s",
                 qPrintable(bus.lastError().message()));
}
#endif

} // namespace

DescriptionAnnouncer &DescriptionAnnouncer::instance()
{
    // It lives as long as the application, whose event loop answers its calls to the bus.
    static QPointer<DescriptionAnnouncer> announcer;
    if (!announcer)
        announcer = new DescriptionAnnouncer(QCoreApplication::instance());
    return *announcer;
}

DescriptionAnnouncer::DescriptionAnnouncer(QObject *parent) : QObject(parent)
{
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive())
        watchRegistry();
}

DescriptionAnnouncer::~DescriptionAnnouncer()
{
    QAccessible::removeActivationObserver(this);
    if (m_watching)
        QDBusConnection::disconnectFromBus(registryConnection);
}

void DescriptionAnnouncer::accessibilityActiveChanged(bool active)
{
    if (active)
        watchRegistry();
}

// Asks once, as soon as a screen reader switches accessibility on, where the accessibility bus
// is, as every AT-SPI client does: from AT_SPI_BUS_ADDRESS where set, or else from the session
// bus. Then the registry there is asked which screen readers listen, and followed.
void DescriptionAnnouncer::watchRegistry()
{
    if (m_watching)
        return;
    m_watching = true;
    const QString address = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
    if (!address.isEmpty()) {
        watchRegistryAt(address);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"),
                                                             QStringLiteral("/org/a11y/bus"),
                                                             QStringLiteral("org.a11y.Bus"),
                                                             QStringLiteral("GetAddress"));
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusMessage reply = finished->reply();
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    watchRegistryAt(reply.arguments().constFirst().toString());
                else
                    qWarning("The session bus gives no address of the accessibility bus: %s",
                             qPrintable(reply.errorMessage()));
            });
}

void DescriptionAnnouncer::watchRegistryAt(const QString &address)
{
    QDBusConnection bus = QDBusConnection::connectToBus(address, registryConnection);
    if (!bus.isConnected()) {
        qWarning("The accessibility bus at %s cannot be reached: %s", qPrintable(address),
                 qPrintable(bus.lastError().message()));
        return;
    }
    bus.connect(registryService, registryPath, registryInterface,
                QStringLiteral("EventListenerRegistered"), this,
                SLOT(listenerRegistered(QString, QString)));
    bus.connect(registryService, registryPath, registryInterface,
                QStringLiteral("EventListenerDeregistered"), this,
                SLOT(listenerDeregistered(QString, QString)));
    const QDBusMessage call =
        QDBusMessage::createMethodCall(registryService, registryPath, registryInterface,
                                       QStringLiteral("GetRegisteredEvents"));
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusMessage reply = finished->reply();
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                    return;
                const auto events = reply.arguments().constFirst().value<QDBusArgument>();
                events.beginArray();
                while (!events.atEnd()) {
                    QString listener;
                    QString event;
                    events.beginStructure();
                    events >> listener >> event;
                    events.endStructure();
                    listenerRegistered(listener, event);
                }
                events.endArray();
            });
}

void DescriptionAnnouncer::listenerRegistered(const QString &bus, const QString &event)
{
    if (takesAnnouncements(event))
        m_announcementListeners.insert(bus);
}

void DescriptionAnnouncer::listenerDeregistered(const QString &bus, const QString &event)
{
    if (takesAnnouncements(event))
        m_announcementListeners.remove(bus);
}

void DescriptionAnnouncer::announce(QAccessibleInterface *control)
{
    if (!control || !QAccessible::isActive())
        return;
    // An announcement is said whatever has the focus; a description change only of the control
    // that has it.
    const bool asAnnouncement = control->state().focused && !m_announcementListeners.isEmpty();
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    sendThroughQtBridge(control, asAnnouncement);
#else
    if (asAnnouncement) {
        QAccessibleAnnouncementEvent event(control, control->text(QAccessible::Description));
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleEvent event(control, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
#endif
}

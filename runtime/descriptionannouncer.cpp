#include "descriptionannouncer.h"

#include <QAccessibleInterface>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace {

const QString registryService = QStringLiteral("org.a11y.atspi.Registry");
const QString registryPath = QStringLiteral("/org/a11y/atspi/registry");
const QString registryInterface = QStringLiteral("org.a11y.atspi.Registry");
// AT-SPI's politeness of an announcement that waits for what is being said to end.
constexpr int politeAnnouncement = 1;

QDBusConnection accessibilityBus()
{
    return QDBusConnection(QStringLiteral("a11y"));
}

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

} // namespace

DescriptionAnnouncer::DescriptionAnnouncer()
{
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive())
        watchRegistry();
}

DescriptionAnnouncer::~DescriptionAnnouncer()
{
    QAccessible::removeActivationObserver(this);
}

void DescriptionAnnouncer::accessibilityActiveChanged(bool active)
{
    if (active)
        watchRegistry();
}

// Asks the registry once which screen readers listen, and follows it from then on, as soon as
// the bridge is connected to the bus, so that the answer is in before the first announcement.
void DescriptionAnnouncer::watchRegistry()
{
    if (m_watching)
        return;
    QDBusConnection bus = accessibilityBus();
    if (!bus.isConnected())
        return;
    m_watching = true;
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
    QDBusConnection bus = accessibilityBus();
    if (!control || !bus.isConnected())
        return;
    watchRegistry();
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(control));
    const QString interface = QStringLiteral("org.a11y.atspi.Event.Object");
    const QDBusVariant text(control->text(QAccessible::Description));
    QDBusMessage event;
    // An announcement is said whatever has the focus; a description change only of the control
    // that has it.
    if (!control->state().focused || m_announcementListeners.isEmpty()) {
        event = QDBusMessage::createSignal(path, interface, QStringLiteral("PropertyChange"));
        event << QStringLiteral("accessible-description") << 0 << 0;
    } else {
        event = QDBusMessage::createSignal(path, interface, QStringLiteral("Announcement"));
        event << QString() << politeAnnouncement << 0;
    }
    event << QVariant::fromValue(text) << QVariantMap();
    bus.send(event);
}

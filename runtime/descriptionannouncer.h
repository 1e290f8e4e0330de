#pragma once

#include <QAccessible>
#include <QObject>
#include <QSet>
#include <QString>

class QAccessibleInterface;

// Tells screen readers the new description of a control.
//
// A screen reader that takes announcements hears the description of the focused control as one.
// Orca 51 and later keep quiet about a description change much like the one before, and the
// colour a slider mixes changes by one digit a step, so it would never be heard. Otherwise it is
// told as a change of the description, with its text. Only one of the two is sent, so that a
// screen reader that takes both does not say the colour twice; which screen readers take
// announcements the accessibility bus's registry tells, as they come and go.
//
// There is one for the whole program: the registry's answer is the same for every window.
class DescriptionAnnouncer : public QObject, private QAccessible::ActivationObserver
{
    Q_OBJECT
public:
    static DescriptionAnnouncer &instance();
    ~DescriptionAnnouncer() override;

    void announce(QAccessibleInterface *control);

private slots:
    void listenerRegistered(const QString &bus, const QString &event);
    void listenerDeregistered(const QString &bus, const QString &event);

private:
    explicit DescriptionAnnouncer(QObject *parent);

    void accessibilityActiveChanged(bool active) override;
    void watchRegistry();
    void watchRegistryAt(const QString &address);

    bool m_watching = false;
    // The buses of the screen readers that take announcements.
    QSet<QString> m_announcementListeners;
};

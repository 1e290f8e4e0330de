#pragma once

#include <QAccessible>
#include <QObject>
#include <QSet>
#include <QString>

class QAccessibleInterface;

// Tells screen readers the new description of a control, sent over the connection that Qt's
// bridge opened to the accessibility bus, from the path where the bridge keeps the control.
//
// A screen reader that takes announcements hears the description of the focused control as one.
// Orca 51 and later keep quiet about a description change much like the one before, and the
// colour a slider mixes changes by one digit a step, so it would never be heard. Otherwise it is
// told as a change of the description, sent with its text as AT-SPI defines the event; Qt 6.4's
// bridge sends the control where the text belongs, and Orca 43 then says nothing. Which screen
// readers take announcements the bus's registry tells, as they come and go. Only one of the two
// is sent, so that a screen reader that takes both does not say the colour twice.
class DescriptionAnnouncer : public QObject, private QAccessible::ActivationObserver
{
    Q_OBJECT
public:
    DescriptionAnnouncer();
    ~DescriptionAnnouncer() override;

    void announce(QAccessibleInterface *control);

private slots:
    void listenerRegistered(const QString &bus, const QString &event);
    void listenerDeregistered(const QString &bus, const QString &event);

private:
    void accessibilityActiveChanged(bool active) override;
    void watchRegistry();

    bool m_watching = false;
    // The buses of the screen readers that take announcements.
    QSet<QString> m_announcementListeners;
};

#include "alarmnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace dvw {

void DesktopAlarmNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));
    // The body may be read as markup by the service: the appointment text is escaped.
    call << QStringLiteral("Dayvane") << uint(0) << QStringLiteral("dayvane") << summary
         << body.toHtmlEscaped() << QStringList() << hints << int(-1);
    bus.send(call);
}

} // namespace dvw

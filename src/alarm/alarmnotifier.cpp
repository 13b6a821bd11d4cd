#include "alarmnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace dvw {

namespace {

QDBusMessage serviceCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                          QStringLiteral("/org/freedesktop/Notifications"),
                                          QStringLiteral("org.freedesktop.Notifications"), method);
}

void closeNotification(std::uint32_t id)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = serviceCall(QStringLiteral("CloseNotification"));
    call << uint(id);
    bus.send(call);
}

} // namespace

void NotificationIds::sent(std::uint64_t key)
{
    m_sent[key] = Sent {};
}

std::optional<std::uint32_t> NotificationIds::answered(std::uint64_t key, std::uint32_t id)
{
    const auto it = m_sent.find(key);
    if (it == m_sent.end())
        return std::nullopt;
    if (it->second.withdrawn) {
        m_sent.erase(it);
        return id;
    }
    it->second.id = id;
    return std::nullopt;
}

void NotificationIds::failed(std::uint64_t key)
{
    m_sent.erase(key);
}

std::optional<std::uint32_t> NotificationIds::withdraw(std::uint64_t key)
{
    const auto it = m_sent.find(key);
    if (it == m_sent.end() || it->second.withdrawn)
        return std::nullopt;
    if (!it->second.id) {
        it->second.withdrawn = true;
        return std::nullopt;
    }
    const std::uint32_t id = *it->second.id;
    m_sent.erase(it);
    return id;
}

std::size_t NotificationIds::held() const
{
    std::size_t n = 0;
    for (const auto &[key, sent] : m_sent)
        n += !sent.withdrawn;
    return n;
}

std::uint64_t DesktopAlarmNotifier::notify(const QString &summary, const QString &body)
{
    const std::uint64_t key = m_nextKey++;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return key;
    QDBusMessage call = serviceCall(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));
    // The body may be read as markup by the service: the appointment text is escaped.
    call << QStringLiteral("Dayvane") << uint(0) << QStringLiteral("dayvane") << summary
         << body.toHtmlEscaped() << QStringList() << hints << int(-1);
    m_ids->sent(key);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, watcher,
        [ids = std::weak_ptr<NotificationIds>(m_ids), key](QDBusPendingCallWatcher *w) {
            const QDBusPendingReply<uint> reply = *w;
            if (const std::shared_ptr<NotificationIds> known = ids.lock()) {
                if (reply.isError())
                    known->failed(key);
                else if (const auto close = known->answered(key, reply.value()))
                    closeNotification(*close);
            }
            w->deleteLater();
        });
    return key;
}

void DesktopAlarmNotifier::withdraw(std::uint64_t key)
{
    if (const std::optional<std::uint32_t> id = m_ids->withdraw(key))
        closeNotification(*id);
}

} // namespace dvw

#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace dvw {

// A second signal beside the alarm window: a message to the desktop's notification service.
class AlarmNotifier
{
public:
    virtual ~AlarmNotifier() = default;
    // Plain texts; the notifier makes them safe for the service. The key names the
    // notification for withdraw().
    virtual std::uint64_t notify(const QString &summary, const QString &body) = 0;
    // Takes the notification away (its alarm window was closed); a key that is unknown or
    // already withdrawn does nothing.
    virtual void withdraw(std::uint64_t key) = 0;
};

// The service's ids of the notifications sent. An id arrives some time after its send;
// a notification withdrawn before then is closed as soon as its id comes.
class NotificationIds
{
public:
    void sent(std::uint64_t key);
    // The service answered the send of `key` with `id`: the id to close at once, if the
    // notification was withdrawn meanwhile.
    std::optional<std::uint32_t> answered(std::uint64_t key, std::uint32_t id);
    // The send failed: no id will come.
    void failed(std::uint64_t key);
    // The id to close now; none when it is not known yet (it is closed when it comes) or
    // the key is unknown.
    std::optional<std::uint32_t> withdraw(std::uint64_t key);
    // Notifications sent and not withdrawn or failed.
    std::size_t held() const;

private:
    struct Sent
    {
        std::optional<std::uint32_t> id;
        bool withdrawn = false;
    };
    std::map<std::uint64_t, Sent> m_sent;
};

// Sends to the freedesktop notification service on the session bus, without waiting for
// an answer: with no bus or no service nothing happens and nothing blocks.
class DesktopAlarmNotifier : public AlarmNotifier
{
public:
    std::uint64_t notify(const QString &summary, const QString &body) override;
    void withdraw(std::uint64_t key) override;

private:
    // Shared with the answers still to come, which may outlive this notifier.
    std::shared_ptr<NotificationIds> m_ids = std::make_shared<NotificationIds>();
    std::uint64_t m_nextKey = 1;
};

} // namespace dvw

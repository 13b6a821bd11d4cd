#pragma once

#include <QString>

namespace dvw {

// A second signal beside the alarm window: a message to the desktop's notification service.
class AlarmNotifier
{
public:
    virtual ~AlarmNotifier() = default;
    // Plain texts; the notifier makes them safe for the service.
    virtual void notify(const QString &summary, const QString &body) = 0;
};

// Sends to the freedesktop notification service on the session bus, without waiting for
// an answer: with no bus or no service nothing happens and nothing blocks.
class DesktopAlarmNotifier : public AlarmNotifier
{
public:
    void notify(const QString &summary, const QString &body) override;
};

} // namespace dvw

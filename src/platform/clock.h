#pragma once

#include <QDateTime>

namespace dvw {

// Where the program reads the time of day. Widgets take a Clock, so tests set the time
// instead of reading the wall clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that shows what it was set to.
class ManualClock : public Clock
{
public:
    explicit ManualClock(const QDateTime &time = {})
        : m_time(time)
    { }
    void set(const QDateTime &time) { m_time = time; }
    QDateTime now() const override { return m_time; }

private:
    QDateTime m_time;
};

} // namespace dvw

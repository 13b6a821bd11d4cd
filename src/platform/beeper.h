#pragma once

namespace dvw {

// The sound a command makes when it cannot do what was asked.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The desktop's beep.
class SystemBeeper : public Beeper
{
public:
    void beep() override;
};

} // namespace dvw

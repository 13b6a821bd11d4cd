#pragma once

#include "views/entryactions.h"

#include <optional>
#include <string>

namespace dvw::test {

// The entry commands' beep and clipboard, as the tests observe them.
struct CountingBeeper : Beeper
{
    int beeps = 0;
    void beep() override { ++beeps; }
};

struct FakeClipboard : EntryClipboard
{
    std::optional<std::string> held;
    bool put(const std::string &bytes) override
    {
        held = bytes;
        return true;
    }
    std::optional<std::string> text() const override { return held; }
};

} // namespace dvw::test

#pragma once

#include "datetextsettings.h"

#include <cstdint>
#include <map>

namespace dvw {

// What the line reader needs from the document that owns the line: how dates are
// written and the colour of a category.
class ReadContext
{
public:
    virtual ~ReadContext() = default;

    virtual const DateTextSettings &dateSettings() const = 0;
    // The colour number the category table gives the packed code, or false when the
    // table does not hold it.
    virtual bool categoryColour(std::uint32_t code, std::uint8_t &colour) const = 0;
};

// A context with a plain code-to-colour map: enough for the command-line tool's line
// commands and for tests.
class SimpleReadContext : public ReadContext
{
public:
    explicit SimpleReadContext(DateTextSettings settings = {})
        : m_settings(settings)
    { }

    const DateTextSettings &dateSettings() const override { return m_settings; }
    bool categoryColour(std::uint32_t code, std::uint8_t &colour) const override
    {
        const auto it = m_colours.find(code);
        if (it == m_colours.end())
            return false;
        colour = it->second;
        return true;
    }

    void setSettings(const DateTextSettings &settings) { m_settings = settings; }
    void setCategoryColour(std::uint32_t code, std::uint8_t colour) { m_colours[code] = colour; }

private:
    DateTextSettings m_settings;
    std::map<std::uint32_t, std::uint8_t> m_colours;
};

} // namespace dvw

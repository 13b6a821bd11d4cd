// Arbitrary bytes as a stored setting value and as a whole settings file. Font values stay
// inside their slot's limits and read back from their own written form; numbers read back
// from their written form; the file check never fails on any input.
#include "settings/fontvalue.h"
#include "settings/settingvalue.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::size_t characterCount(const std::string &text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

void checkFont(std::string_view text)
{
    const dvw::FontSlot heading {"Arial Bold", 10, true, false};
    const dvw::FontSlot font = dvw::parseFontValue(text, heading);
    if (font.face.empty() || characterCount(font.face) > dvw::kFontFaceLength)
        std::abort();
    if (font.size != heading.size
        && (font.size < dvw::kFontSizeMin || font.size > dvw::kFontSizeMax))
        std::abort();
    if (!(dvw::parseFontValue(dvw::formatFontValue(font), font) == font))
        std::abort();
}

void checkNumbers(std::string_view text)
{
    if (const std::optional<int> value = dvw::parseIntValue(text)) {
        if (dvw::parseIntValue(std::to_string(*value)) != value)
            std::abort();
    }
    if (const std::optional<double> value = dvw::parseRealValue(text)) {
        if (std::isfinite(*value)) {
            const std::optional<double> back = dvw::parseRealValue(dvw::formatRealValue(*value));
            if (!back || std::abs(*back - *value) > 0.0051 + std::abs(*value) * 1e-15)
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checkFont(text);
    checkNumbers(text);
    (void)dvw::settingsTextSurvivesRewrite(text);
    return 0;
}

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dvw {

// How stored setting texts become numbers and back. The settings file is plain text that
// users may edit by hand, so every reader here takes any text and says "missing" rather
// than guess.

// An inclusive range of integers.
struct IntRange
{
    int low;
    int high;

    bool contains(int value) const { return value >= low && value <= high; }
};

// A range of reals with an inclusive or exclusive lower bound and an exclusive upper
// bound. NaN and the infinities are never inside, whatever the bounds.
struct RealRange
{
    double low;
    bool lowIncluded;
    double high;

    bool contains(double value) const;
};

// A whole decimal number that fits 32 bits signed, with optional blanks around it and an
// optional sign. Anything else (a fraction, trailing text, hex, too many digits) is
// missing, so the setting keeps its default.
std::optional<int> parseIntValue(std::string_view text);

// A real as a stored text is read: leading blanks skipped, an optional sign, then a
// decimal number (trailing text after it is ignored, so "5.25 in" is 5.25). Empty text or
// text that does not start with a number is missing. The C locale is always used, so a
// user's decimal comma never changes what a stored file means. "nan" and "inf" do parse;
// range checks reject them.
std::optional<double> parseRealValue(std::string_view text);

// The stored text of a real: two decimals, rounded, in the C locale ("0.76" for 0.755).
std::string formatRealValue(double value);

// At most `count` characters of UTF-8 text, cut at a character boundary so that a
// display text is never left with half a character.
std::string cutToCharacters(std::string text, std::size_t count);

// The text without the blanks and tabs at either end.
std::string_view trimBlanks(std::string_view text);

// Whether the text is valid UTF-8: overlong forms, surrogates and code points past U+10FFFF
// are invalid as well.
bool isValidUtf8(std::string_view text);

// Whether the INI writer can rewrite this settings file text without losing any of it:
// valid UTF-8, and every line blank, a closed "[section]" header, or "name=value" with a
// name, balanced quotes, and no serialised object ("@..." other than an escaped "@@").
// Comment lines fail too, since the writer drops them. A file that fails is copied aside
// before the first write rewrites it.
bool settingsTextSurvivesRewrite(std::string_view text);

} // namespace dvw

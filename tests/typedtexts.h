#pragma once

#include <rapidcheck.h>

#include <string>

namespace dvw::test {

// What a user might type into a setting's question: whole numbers around every range and
// past 32 bits, decimals with up to four places near the measures' bounds, fonts, colours,
// and text that is nothing of the kind (letters, signs, blanks, tabs, accents).
inline rc::Gen<std::string> genTypedText()
{
    using namespace rc;
    const auto number = gen::map(gen::inRange(-20, 3700), [](int n) { return std::to_string(n); });
    const auto digits = gen::container<std::string>(gen::inRange('0', static_cast<char>('9' + 1)));
    const auto decimal = gen::map(gen::pair(gen::inRange(-100, 2200), gen::inRange(0, 5)),
                                  [](const std::pair<int, int> &p) {
                                      std::string text = std::to_string(p.first / 100) + "."
                                          + std::to_string(std::abs(p.first % 100));
                                      return text
                                          + std::string(static_cast<std::size_t>(p.second),
                                                        '0' + static_cast<char>(p.second));
                                  });
    const auto font = gen::map(
        gen::tuple(gen::element<std::string>("Arial", "Serif", " Mono "), gen::inRange(0, 45),
                   gen::element<std::string>("", "B", "I", "BI", "R", "X")),
        [](const std::tuple<std::string, int, std::string> &t) {
            return std::get<0>(t) + ", " + std::to_string(std::get<1>(t)) + std::get<2>(t);
        });
    const auto colour = gen::map(gen::inRange(0, 0x1000000), [](int rgb) {
        static const char hex[] = "0123456789abcdef";
        std::string text = "#";
        for (int shift = 20; shift >= 0; shift -= 4)
            text += hex[(rgb >> shift) & 0xF];
        return text;
    });
    const auto garbage = gen::container<std::string>(
        gen::element(' ', '\t', '-', '+', '.', ',', '#', 'e', 'B', 'I', 'x', '1', '9', '0'));
    const auto words = gen::element<std::string>("", " ", "abc", "12abc", "1e2", "inf", "nan",
                                                 "Zürich", "N\xC3\xA4me, Dr", "-1", "0x10");
    return gen::oneOf(number, digits, decimal, font, colour, garbage, words);
}

} // namespace dvw::test

#pragma once

// Line generator for the properties of the tests that take appointment lines: every code,
// every schedule kind, dates in every form and both orders, years on both sides of the
// century break and in four digits, and free texts that begin with whatever the reader
// might take for more of the schedule.
#include <rapidcheck.h>

#include <string>
#include <utility>
#include <vector>

namespace dvw::test {

inline rc::Gen<std::string> genYear()
{
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::inRange(0, 100),
                     [](int y) { return (y < 10 ? "0" : "") + std::to_string(y); }),
        rc::gen::map(rc::gen::inRange(1850, 2110), [](int y) { return std::to_string(y); }),
        rc::gen::element<std::string>("150", "1000", "0005", "6057993"));
}

inline rc::Gen<std::string> genDay()
{
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::inRange(1, 32), [](int d) { return std::to_string(d); }),
        rc::gen::element<std::string>("0", "29", "30", "31", "32", "40"));
}

inline rc::Gen<std::string> genMonth()
{
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::inRange(0, 14), [](int m) { return std::to_string(m); }),
        rc::gen::element<std::string>("?", "Mar", "december", "FEB"));
}

inline rc::Gen<std::string> genDate()
{
    return rc::gen::apply(
        [](const std::string &a, const std::string &b, int yearForm, const std::string &year) {
            std::string text = a + "/" + b;
            if (yearForm == 1)
                text += "/" + year;
            else if (yearForm == 2)
                text += " " + year;
            else if (yearForm == 3)
                text += ", " + year;
            return text;
        },
        genMonth(), genDay(), rc::gen::inRange(0, 4), genYear());
}

inline rc::Gen<std::string> genCategory()
{
    return rc::gen::element<std::string>("", "WORK", "home", "ab", "A\\B", "=x", ",", "HOMES",
                                         "\t1");
}

inline rc::Gen<std::string> genCode()
{
    return rc::gen::oneOf(
        rc::gen::element<std::string>("\\~", "\\1", "\\2", "\\3", "\\4", "\\i", "\\W", "\\u", "\\L",
                                      "\\N", "\\P", "\\h", "\\Q", "\\D", "\\X", "\\(", "\\(15)",
                                      "\\(4294967294)", "\\ H"),
        rc::gen::map(
            rc::gen::pair(rc::gen::element<std::string>("\\S", "\\E", "\\D", "\\x", "\\B"),
                          genDate()),
            [](const std::pair<std::string, std::string> &p) { return p.first + p.second; }),
        rc::gen::map(genCategory(), [](const std::string &c) { return "\\*" + c; }));
}

inline rc::Gen<std::string> genSchedule()
{
    return rc::gen::oneOf(
        rc::gen::just(std::string()), genDate(),
        rc::gen::map(genCategory(), [](const std::string &c) { return "*" + c; }),
        rc::gen::map(
            rc::gen::pair(rc::gen::inRange(0, 40), rc::gen::element('D', 'w', 'M', 'x')),
            [](const std::pair<int, char> &p) { return "!" + std::to_string(p.first) + p.second; }),
        rc::gen::element<std::string>("!mon, wed", "!SAT,sun,tue", "!fri,", "!MAR3MON>1", "!?5FRI",
                                      "!nov4thu<2", "!jun1sat>0", "!4294967295D", "!"),
        rc::gen::map(genDate(), [](const std::string &d) { return d + " >" + "3"; }),
        rc::gen::map(genDate(), [](const std::string &d) { return d + " <400"; }));
}

inline rc::Gen<std::string> genCounts()
{
    return rc::gen::element<std::string>("", "", "+2", "-3", "-3 +2", "+0", "+", "- -", "+ 1 -0",
                                         "+3000000000");
}

inline rc::Gen<std::string> genFreeText()
{
    return rc::gen::apply(
        [](const std::string &start, const std::string &tail) { return start + tail; },
        rc::gen::element<std::string>("", "x", "9:00 am Dentist", "+5 apples", "-x", ">5 x", "<b>",
                                      ",x", "/x", "1999 x", "14:30 x", "25 x", "\\H x", "*x", "=x",
                                      "3/5 x", "!2W x", "  x", "> x", "\\", "Mar 5"),
        rc::gen::element<std::string>("", " tail", "\r\nnext", std::string("\0z", 2), "\xe9"));
}

inline rc::Gen<std::string> genLine()
{
    return rc::gen::apply(
        [](bool completed, const std::string &lead, const std::vector<std::string> &codes,
           const std::string &schedule, const std::string &counts, const std::string &freeText) {
            std::string line = completed ? ">" : "";
            line += lead;
            for (const std::string &code : codes)
                line += code;
            line += schedule + " " + counts + " " + freeText;
            return line;
        },
        rc::gen::arbitrary<bool>(), rc::gen::element<std::string>("", "", "", " ", "  "),
        rc::gen::mapcat(rc::gen::inRange<std::size_t>(0, 4),
                        [](std::size_t n) {
                            return rc::gen::container<std::vector<std::string>>(n, genCode());
                        }),
        genSchedule(), genCounts(), genFreeText());
}

} // namespace dvw::test

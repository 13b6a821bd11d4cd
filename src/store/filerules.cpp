#include "filerules.h"

#include <cstddef>

namespace dvw {

namespace {

constexpr char CtrlZ = 26;
constexpr std::string_view LineEnd = "\r\n";

// One physical line of [pos, end of bytes): its text without the line end, and where the
// next line starts. Only LF ends a line; a CR right before it belongs to the line end.
std::string_view nextLine(std::string_view bytes, std::size_t &pos)
{
    const std::size_t start = pos;
    std::size_t lf = bytes.find('\n', start);
    if (lf == std::string_view::npos) {
        pos = bytes.size();
        return bytes.substr(start);
    }
    pos = lf + 1;
    std::size_t length = lf - start;
    if (length > 0 && bytes[lf - 1] == '\r')
        --length;
    return bytes.substr(start, length);
}

// Whether the first segment of a text, written as it is, would be read back as part of
// the line before it (or, for the first line of the file, change the text).
bool needsLeadingBlank(std::string_view text, bool firstLineWritten)
{
    if (text.starts_with(LineEnd))
        return true;
    return !firstLineWritten && text.starts_with('&');
}

} // namespace

std::size_t MaxFileTexts(std::string_view bytes)
{
    std::size_t lineEnds = 0;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1))
        ++lineEnds;
    return lineEnds + 1;
}

void ForEachFileText(std::string_view bytes, const std::function<void(std::string &&)> &add)
{
    // A text is handed on once the next line shows it is complete: a continuation line
    // still belongs to it.
    std::string text;
    bool started = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::string_view line = nextLine(bytes, pos);
        if (line.empty())
            continue;
        if (started && line.front() == '&') {
            text.append(LineEnd);
            text.append(line.substr(1));
            continue;
        }
        if (started)
            add(std::move(text));
        text = std::string(line);
        started = true;
    }
    if (!started)
        return;
    // The old end-of-file mark; a text that held nothing else is dropped with it.
    if (text.back() == CtrlZ)
        text.pop_back();
    if (!text.empty())
        add(std::move(text));
}

std::vector<std::string> SplitFileText(std::string_view bytes)
{
    std::vector<std::string> texts;
    texts.reserve(MaxFileTexts(bytes));
    ForEachFileText(bytes, [&texts](std::string &&text) { texts.push_back(std::move(text)); });
    return texts;
}

std::string JoinFileText(const std::vector<std::string> &texts)
{
    std::size_t total = 0;
    for (const auto &text : texts)
        total += text.size() + 4;
    std::string out;
    out.reserve(total);

    bool firstLineWritten = true;
    for (const auto &text : texts) {
        if (text.starts_with('~'))
            continue;
        if (needsLeadingBlank(text, firstLineWritten))
            out.push_back(' ');
        firstLineWritten = false;
        std::size_t start = 0;
        for (;;) {
            const std::size_t cut = text.find(LineEnd, start);
            out.append(text, start, cut == std::string::npos ? std::string::npos : cut - start);
            out.append(LineEnd);
            if (cut == std::string::npos)
                break;
            out.push_back('&');
            start = cut + LineEnd.size();
        }
    }
    // out ends in CR LF when anything was written; the byte before is the last line's end.
    if (out.size() >= 3 && out[out.size() - 3] == CtrlZ) {
        out.push_back(CtrlZ);
        out.append(LineEnd);
    }
    return out;
}

std::string BackupPath(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    std::string backup;
    if (dot != std::string::npos && dot > nameStart)
        backup = path.substr(0, dot) + ".BAK";
    if (backup.empty() || backup == path)
        backup = path + ".BAK";
    return backup;
}

std::string NormaliseInsertedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out.push_back('\r');
        out.push_back(text[i]);
    }
    if (out.starts_with('&') || out.starts_with('~') || out.starts_with(LineEnd))
        out.insert(out.begin(), ' ');
    return out;
}

} // namespace dvw

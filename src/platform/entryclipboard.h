#pragma once

#include <memory>
#include <optional>
#include <string>

class QMimeData;

namespace dvw {

// The clipboard as the entry and file-view commands use it: one line's exact bytes.
class EntryClipboard
{
public:
    virtual ~EntryClipboard() = default;
    // False when the clipboard could not take the text (it is left as it was).
    virtual bool put(const std::string &lineBytes) = 0;
    // The text on the clipboard, none when it holds no text.
    virtual std::optional<std::string> text() const = 0;
    // Whether there is text to paste (asked whenever the menus are brought up to date).
    virtual bool hasText() const
    {
        const std::optional<std::string> held = text();
        return held && !held->empty();
    }
    // True when the clipboard cannot be opened at all: copy, paste and delete give up.
    virtual bool busy() const { return false; }
};

// The clipboard of the desktop: plain text for other programs, and the line's exact bytes
// under a type of our own, which a paste prefers.
std::unique_ptr<EntryClipboard> SystemEntryClipboard();
// The line's exact bytes when the data is a line this program copied; none otherwise.
std::optional<std::string> CopiedLineOf(const QMimeData *data);

} // namespace dvw

#pragma once

#include <QString>

#include <optional>

namespace dvw {

// Every message box and one-line question of the program goes through this interface,
// so tests answer them from a script and never block on a modal box. Captions, texts and
// prompts are always shown as plain text: they may hold file names and appointment text.
// A message box's caption says what it is about (a file's name, or empty); the box itself
// carries the program's name, so every box looks the same whoever asks.
class Prompter
{
public:
    enum class Icon { Information, Warning, Stop, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // A notice with one OK button.
    virtual void info(const QString &caption, const QString &text, Icon icon = Icon::Information)
        = 0;
    // true for OK, false for Cancel (or the box closed).
    virtual bool okCancel(const QString &caption, const QString &text) = 0;
    // Yes or No; with withCancel also Cancel, which is what closing the box answers.
    // Without withCancel, closing the box answers No.
    virtual Answer yesNo(const QString &caption, const QString &text, bool withCancel = false) = 0;
    // The edited text, or nothing when the user cancelled.
    virtual std::optional<QString> askText(const QString &caption, const QString &prompt,
                                           const QString &initial)
        = 0;
};

} // namespace dvw

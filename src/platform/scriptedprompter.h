#pragma once

#include "prompter.h"

#include <QString>

#include <deque>
#include <vector>

namespace dvw {

// The prompter of tests: answers come from a queue filled in advance, and every question
// asked is recorded. A question with no answer left is answered the harmless way (Cancel,
// or No when there is no Cancel) and counted, so a test can tell it was not expected.
class ScriptedPrompter : public Prompter
{
public:
    struct Asked
    {
        enum class Kind { Info, OkCancel, YesNo, YesNoCancel, AskText };
        Kind kind;
        QString caption;
        QString text;
        Icon icon = Icon::Information;
    };

    void pushAnswer(Answer answer);
    void pushText(const QString &text);
    void pushCancelText();

    const std::vector<Asked> &asked() const { return m_asked; }
    int unanswered() const { return m_unanswered; }
    std::size_t pending() const { return m_replies.size(); }
    void clear();

    void info(const QString &caption, const QString &text, Icon icon = Icon::Information) override;
    bool okCancel(const QString &caption, const QString &text) override;
    Answer yesNo(const QString &caption, const QString &text, bool withCancel = false) override;
    std::optional<QString> askText(const QString &caption, const QString &prompt,
                                   const QString &initial) override;

private:
    struct Reply
    {
        Answer answer;
        bool hasText = false;
        QString text;
    };
    // Takes the next reply; false (and one more unanswered question) when the script ran out.
    bool next(Reply &reply);

    std::deque<Reply> m_replies;
    std::vector<Asked> m_asked;
    int m_unanswered = 0;
};

} // namespace dvw

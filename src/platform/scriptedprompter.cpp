#include "scriptedprompter.h"

namespace dvw {

void ScriptedPrompter::pushAnswer(Answer answer)
{
    m_replies.push_back({answer, false, {}});
}

void ScriptedPrompter::pushText(const QString &text)
{
    m_replies.push_back({Answer::Ok, true, text});
}

void ScriptedPrompter::pushCancelText()
{
    m_replies.push_back({Answer::Cancel, false, {}});
}

void ScriptedPrompter::clear()
{
    m_replies.clear();
    m_asked.clear();
    m_unanswered = 0;
}

bool ScriptedPrompter::next(Reply &reply)
{
    if (m_replies.empty()) {
        ++m_unanswered;
        return false;
    }
    reply = m_replies.front();
    m_replies.pop_front();
    return true;
}

void ScriptedPrompter::info(const QString &caption, const QString &text, Icon icon)
{
    // A notice needs no answer: it takes nothing from the script.
    m_asked.push_back({Asked::Kind::Info, caption, text, icon});
}

bool ScriptedPrompter::okCancel(const QString &caption, const QString &text)
{
    m_asked.push_back({Asked::Kind::OkCancel, caption, text, Icon::Question});
    Reply reply;
    return next(reply) && reply.answer == Answer::Ok;
}

Prompter::Answer ScriptedPrompter::yesNo(const QString &caption, const QString &text,
                                         bool withCancel)
{
    m_asked.push_back({withCancel ? Asked::Kind::YesNoCancel : Asked::Kind::YesNo, caption, text,
                       Icon::Question});
    Reply reply;
    if (!next(reply) || (reply.answer == Answer::Cancel && !withCancel))
        return withCancel ? Answer::Cancel : Answer::No;
    return reply.answer;
}

std::optional<QString> ScriptedPrompter::askText(const QString &caption, const QString &prompt,
                                                 const QString &initial)
{
    m_asked.push_back({Asked::Kind::AskText, caption, prompt, Icon::Question});
    Reply reply;
    if (!next(reply) || reply.answer != Answer::Ok)
        return std::nullopt;
    return reply.hasText ? reply.text : initial;
}

} // namespace dvw

#include "documenthistory.h"

#include "store/tapptdocument.h"

#include <QUndoCommand>

namespace dvw {

// One recorded step: the change from the lines before it to the lines after it.
class DocumentHistory::Step : public QUndoCommand
{
public:
    Step(DocumentHistory &history, LineChange change, const QString &name)
        : QUndoCommand(name)
        , m_history(history)
        , m_change(std::move(change))
    { }

    void undo() override { m_history.apply(m_change.inverse()); }
    void redo() override
    {
        // Pushing the step redoes it, but the document already holds its lines.
        if (m_pushing) {
            m_pushing = false;
            return;
        }
        m_history.apply(m_change);
    }

private:
    DocumentHistory &m_history;
    LineChange m_change;
    bool m_pushing = true;
};

DocumentHistory::DocumentHistory(TApptDocument &doc)
    : m_doc(doc)
{
    restart();
}

QString DocumentHistory::plainStepName()
{
    return QObject::tr("Change");
}

bool DocumentHistory::record(const QString &name)
{
    LineChange change = DiffLines(m_texts, m_doc.lines());
    if (change.empty())
        return false;
    ApplyLineChange(m_texts, change);
    ++m_serial;
    m_stack.push(new Step(*this, std::move(change), name));
    return true;
}

bool DocumentHistory::undo()
{
    record(plainStepName());
    if (!m_stack.canUndo())
        return false;
    m_failed = false;
    m_stack.undo();
    return afterMove();
}

bool DocumentHistory::redo()
{
    record(plainStepName());
    if (!m_stack.canRedo())
        return false;
    m_failed = false;
    m_stack.redo();
    return afterMove();
}

bool DocumentHistory::apply(const LineChange &change)
{
    // The kept texts equal the lines here (undo and redo record first), so a change that
    // does not fit is a broken history: it must not touch the lines.
    if (m_failed || !ChangeFits(m_doc.lines(), change)) {
        m_failed = true;
        return false;
    }
    ApplyLineChange(m_texts, change);
    m_doc.ApplyChange(change, true);
    return true;
}

bool DocumentHistory::afterMove()
{
    ++m_serial;
    if (m_failed) {
        // The lines stay as they are and the history starts again from them.
        restart();
        return false;
    }
    m_doc.setChanged(!m_stack.isClean());
    return true;
}

void DocumentHistory::markSaved()
{
    record(plainStepName());
    m_stack.setClean();
}

void DocumentHistory::restart()
{
    m_failed = false;
    m_stack.clear();
    m_texts = LineTexts(m_doc.lines());
    ++m_serial;
    if (m_doc.isChanged())
        m_stack.resetClean();
    else
        m_stack.setClean();
}

} // namespace dvw

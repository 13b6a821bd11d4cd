#pragma once

#include "store/linechange.h"

#include <QString>
#include <QUndoStack>

#include <string>
#include <vector>

namespace dvw {

class TApptDocument;

// The undo history of one open document. It keeps the texts of the lines as the last step
// left them; record() diffs the document's lines against them, so every change is caught
// however it was made, and a step holds only the lines it changed. Undo and redo put the
// lines back through the document (byte for byte, rebuilt in full), and the document's
// changed mark follows the stack's clean state: undoing back to the saved lines clears it.
class DocumentHistory
{
public:
    explicit DocumentHistory(TApptDocument &doc);
    DocumentHistory(const DocumentHistory &) = delete;
    DocumentHistory &operator=(const DocumentHistory &) = delete;

    TApptDocument &document() const { return m_doc; }
    QUndoStack &stack() { return m_stack; }

    // The lines changed since the last step become a step of this name; false when none did.
    bool record(const QString &name);
    // Changes not recorded yet become a step first, so the undo is always exact. False when
    // there was nothing to undo (or redo).
    bool undo();
    bool redo();
    // The lines were saved: this is the clean state.
    void markSaved();
    // The lines on disk match no state of the history any more (the file went away).
    void forgetSavedState() { m_stack.resetClean(); }
    // The history starts again from the lines as they are now (a reload); clean unless the
    // document is changed.
    void restart();
    // Grows with every step recorded, undone or redone: tells whether anything happened.
    unsigned long serial() const { return m_serial; }

    // The name of a step not taken from a menu command.
    static QString plainStepName();

private:
    class Step;
    friend class Step;
    bool apply(const LineChange &change);
    // False when a step did not fit the lines.
    bool afterMove();

    TApptDocument &m_doc;
    QUndoStack m_stack;
    std::vector<std::string> m_texts; // the lines as the last step left them
    unsigned long m_serial = 0;
    bool m_failed = false;
};

} // namespace dvw

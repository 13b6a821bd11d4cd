#pragma once

#include "documenthistory.h"

#include <QObject>

#include <map>
#include <memory>

class QAction;

namespace dvw {

class TApptDocument;
class TDVDecoratedMDIFrame;

// Every open document's undo history, and the Undo and Redo commands of the Edit menu.
// After each command the frame carried out, each document's changed lines become a step
// named after the command's menu text; a change made outside a command (a popup) becomes
// a step when the views are refreshed. A save marks the clean state; closing a document
// ends its history.
class UndoHistories : public QObject
{
    Q_OBJECT
public:
    explicit UndoHistories(TDVDecoratedMDIFrame &frame);
    ~UndoHistories() override;

    // The document's history; null for a document the frame does not hold.
    DocumentHistory *historyOf(const TApptDocument &doc);
    // Records what changed in every open document as a step of this name.
    void recordAll(const QString &name);
    // Undoes or redoes one step of the document and shows the result. False when there
    // was none.
    bool undo(TApptDocument &doc);
    bool redo(TApptDocument &doc);
    // The history starts again from the document's lines (after a reload).
    void restart(TApptDocument &doc);

    // "Delete appointment" for "&Delete appointment\tD": a menu text as a step name.
    static QString stepName(const QString &menuText);

private:
    void registerCommands();
    void sync();
    void queueRecord();
    void afterMove(TApptDocument &doc);
    // The Undo and Redo items name the step they would take.
    void updateTexts();

    TDVDecoratedMDIFrame &m_frame;
    std::map<const TApptDocument *, std::unique_ptr<DocumentHistory>> m_histories;
    bool m_recordQueued = false;
};

// Gives the frame its undo histories and the Undo and Redo commands. Call once, before the
// first document opens.
UndoHistories &InstallUndo(TDVDecoratedMDIFrame &frame);

} // namespace dvw

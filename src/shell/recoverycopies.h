#pragma once

#include "store/recoverycopy.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dvw {

class DocumentSignals;
class TApptDocument;
class TDVDecoratedMDIFrame;

// Keeps a recovery copy of every document with unsaved changes, DelayMs after a change
// (the first change of a burst starts the wait, so steady typing still writes every few
// seconds). A save, or closing without saving, removes the copy. After the start file has
// opened, the copies a previous run left are offered one by one, never applied unasked.
class RecoveryCopies : public QObject
{
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;

    // `directory` holds the copies (RecoveryDirectory); empty: none are kept.
    RecoveryCopies(TDVDecoratedMDIFrame &frame, std::string directory);
    ~RecoveryCopies() override;

    const std::string &directory() const { return m_directory; }
    // Writes the copy of every changed document whose lines moved on since its last copy,
    // and removes the copies of saved and closed documents.
    void sync();
    // A document changed (or may have): the copies follow DelayMs later.
    void noteChange();
    // Offers each copy left by a run that ended without closing its documents.
    void offerLeftCopies();
    // The file name of the document's copy while it has one; empty otherwise.
    std::string copyNameOf(const TApptDocument &doc) const;
    const QTimer &timer() const { return m_timer; }

    // The question for one copy.
    static QString question(const FoundRecovery &found, RecoveryAction action);

private:
    struct Kept
    {
        QPointer<DocumentSignals> events;
        std::string untitledId;
        std::string name; // the copy's file name, when hasCopy
        bool hasCopy = false;
        std::vector<std::string> written; // the lines of the copy
    };

    void keep(const TApptDocument &doc, Kept &kept);
    void drop(Kept &kept);
    void offer(const FoundRecovery &found, RecoveryAction action);
    // The open document of this file, opening it when it is not open; null when it
    // cannot be opened.
    TApptDocument *documentOf(const std::string &path);

    TDVDecoratedMDIFrame &m_frame;
    std::string m_directory;
    std::optional<std::uint32_t> m_profile;
    QTimer m_timer;
    std::map<const DocumentSignals *, Kept> m_kept;
    // Copies that an earlier run left and that were not decided on yet: no document writes
    // over them meanwhile (the start file's copy has the name of the one it left).
    std::set<std::string> m_left;
    int m_untitledCount = 0;
    bool m_failureShown = false;
};

// Gives the frame its recovery copies in the user's state folder
// ($XDG_STATE_HOME/dayvane). Call once, before the first document opens.
RecoveryCopies &InstallRecovery(TDVDecoratedMDIFrame &frame);

} // namespace dvw

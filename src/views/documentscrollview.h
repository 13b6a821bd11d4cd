#pragma once

#include "tscrollview.h"
#include "viewhost.h"

#include <QPointer>

class QMenu;

namespace dvw {

class DocumentSignals;
class TApptDocument;

// A row view of one document, the base of the appointment list and the file view. It
// hears the document through its signals and asks the main window through its host. Once
// the document has gone (its window is deleted a moment later) document() is null and
// clicks on the rows and paints do nothing.
class DocumentScrollView : public TScrollView
{
    Q_OBJECT
public:
    // Null once the document has gone.
    TApptDocument *document() const;

protected:
    DocumentScrollView(DocumentSignals &events, ViewHost host, QWidget *parent);

    // A command through the host, as if the user chose it in a menu.
    void runCommand(int command);
    void showHelp(int topic);
    // A popup menu of this view that deletes itself once closed, and an item of it that
    // runs the command, enabled when the host says it can run.
    QMenu *newPopup(const QString &name);
    void addPopupItem(QMenu &menu, const QString &text, int command);

    bool viewportEvent(QEvent *event) override;

    QPointer<DocumentSignals> m_events;
    ViewHost m_host;
};

} // namespace dvw

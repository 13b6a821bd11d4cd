#pragma once

#include "core/tdate.h"
#include "store/documentlistener.h"

#include <QObject>

namespace dvw {

class TApptDocument;

// The one way the views of a document hear it: the document's notifications (show a
// date, select a display position, the cursor's date, closed) as Qt signals. A view
// connects to these with itself as context, so Qt cuts the connection when the view goes.
// What one view tells the others goes through the send functions, which tell the
// document's other listeners too; the signals carry the sender so that it can ignore its
// own news (null when the document itself speaks).
class DocumentSignals : public QObject, private DocumentListener
{
    Q_OBJECT
public:
    explicit DocumentSignals(TApptDocument &doc, QObject *parent = nullptr);
    ~DocumentSignals() override;

    // Null once the document has gone.
    TApptDocument *document() const { return m_doc; }

    void sendGoToDate(const TDate &date, const QObject *sender);
    // A display-index position, or -1 when the index is empty.
    void sendSelectPosition(int position, const QObject *sender);
    // Remembers the cursor's date in the document (a list opened later starts there) and
    // shows it in the other views.
    void sendCursorDate(const TDate &date, const QObject *sender);

signals:
    void dateRequested(const dvw::TDate &date, const QObject *sender);
    void positionSelected(int position, const QObject *sender);
    // Also followed by dateRequested for the same date.
    void cursorDateChanged(const dvw::TDate &date, const QObject *sender);
    // The document is going; document() is null from now on.
    void closed();

private:
    void goToDate(const TDate &date) override;
    void selectPosition(int position) override;
    void documentClosed() override;

    TApptDocument *m_doc;
};

} // namespace dvw

#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace dvw {

class DocumentSignals;
class TApptDocument;
class TOneEdit;

// "Current": the complete text of the appointment under the list view's cursor,
// continuation lines included, in a read-only edit that fills the pane. It follows the
// selected display line and the refresh of the documents; it sends nothing.
class TOneApptView : public QWidget
{
    Q_OBJECT
public:
    // The list view's cursor line, or nothing while the document shows no list view.
    using ListCursorFn = std::function<std::optional<int>()>;

    TOneApptView(DocumentSignals &doc, const QFont &bodyFont, ListCursorFn listCursor = {},
                 QWidget *parent = nullptr);

    static QString viewName(); // "Current"

    // The display line whose record is shown, or -1.
    int shownLine() const { return m_shown; }
    void showLine(int position);
    // After the document's index was rebuilt.
    void refresh();
    TOneEdit *edit() const { return m_edit; }
    // Null once the document has gone.
    TApptDocument *document() const;

signals:
    void helpRequested(int context);
    void focusListRequested();
    void commandRequested(int command);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<DocumentSignals> m_events;
    ListCursorFn m_listCursor;
    TOneEdit *m_edit;
    int m_shown = -1;
};

} // namespace dvw

#pragma once

#include "store/documentlistener.h"

#include <QFont>
#include <QWidget>

#include <functional>
#include <optional>

namespace dvw {

class TApptDocument;
class TOneEdit;

// "Current": the complete text of the appointment under the list view's cursor,
// continuation lines included, in a read-only edit that fills the pane. It follows the
// selected display line and the refresh of the documents; it sends nothing.
class TOneApptView : public QWidget, public DocumentListener
{
    Q_OBJECT
public:
    // The list view's cursor line, or nothing while the document shows no list view.
    using ListCursorFn = std::function<std::optional<int>()>;

    TOneApptView(TApptDocument &doc, const QFont &bodyFont, ListCursorFn listCursor = {},
                 QWidget *parent = nullptr);
    ~TOneApptView() override;

    static QString viewName(); // "Current"

    // The display line whose record is shown, or -1.
    int shownLine() const { return m_shown; }
    void showLine(int position);
    // After the document's index was rebuilt.
    void refresh();
    TOneEdit *edit() const { return m_edit; }
    TApptDocument *document() const { return m_doc; }

    // DocumentListener
    void goToDate(const TDate &) override { }
    void selectPosition(int position) override { showLine(position); }
    void documentClosed() override { m_doc = nullptr; }

signals:
    void helpRequested(int context);
    void focusListRequested();
    void commandRequested(int command);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TApptDocument *m_doc;
    ListCursorFn m_listCursor;
    TOneEdit *m_edit;
    int m_shown = -1;
};

} // namespace dvw

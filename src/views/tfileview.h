#pragma once

#include "documentscrollview.h"
#include "filerows.h"
#include "shell/commandregistry.h"
#include "shell/commandtarget.h"

#include <QFont>
#include <QPointer>

namespace dvw {

class DocumentSignals;
class TApptDocument;

// The file view of one document ("File View"): the appointment file line for line, one
// row per line of the line table in file order, marked rows in red. It decides nothing
// about the lines: keys, the mouse and its popup run commands through its host, and the
// commands change the document and call refresh(). While it is the active view the
// commands put in commands() are its own (its Delete, Paste and Find work on raw lines).
class TFileView : public DocumentScrollView, public CommandTarget
{
    Q_OBJECT
public:
    static QString viewName(); // "File View"

    TFileView(DocumentSignals &doc, const QFont &font, ViewHost host, QWidget *parent = nullptr);

    const FileRows &fileRows() const { return m_rows; }
    int currentRow() const { return m_rows.current(); }
    // Makes the row current and scrolls it into sight.
    void setCurrentRow(int row);
    // The line table changed: the row count follows it, the cursor stays on a row, and the
    // view repaints.
    void refresh();
    void setBodyFont(const QFont &font);
    // Paints the rows that meet the area into any painter, as the window does.
    void paintRowsTo(QPainter &painter, const QRect &area);

    // The commands this view answers in place of their features.
    CommandRegistry &commands() { return m_commands; }
    bool handles(int command) const override { return m_commands.has(command); }
    bool enabled(int command) const override { return m_commands.canRun(command); }
    void run(int command) override { m_commands.run(command); }

protected:
    ScrollRows &scrollRows() override { return m_rows.rows(); }
    void paintRows(QPainter &painter, const QRect &area) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void moveTo(int row);
    void popupMenu(int row, const QPoint &globalPos);

    QFont m_font;
    FileRows m_rows;
    CommandRegistry m_commands;
};

} // namespace dvw

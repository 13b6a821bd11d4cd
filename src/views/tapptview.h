#pragma once

#include "apptrows.h"
#include "documentscrollview.h"
#include "listcursor.h"
#include "listlayout.h"
#include "listpainter.h"

#include <QPointer>

#include <optional>

class QMenu;

namespace dvw {

class DocumentSignals;
class TApptDocument;

// What the list takes from the settings.
struct ApptViewSettings
{
    ListLook look; // fonts and user colours; the system colours come from the palette
    int headingHeight = 16; // HEADINGFONT's pixel height: the row height, unless a font's
                            // line is taller
    ListWording wording;
    bool bigDialog = false;
};

// The appointment list of one document ("Appointment View"): the notes, then each day of
// the window with its appointments, one row per display-index position. It keeps a
// cursor on an entry, follows keys and mouse, and keeps the document's other views in
// step by telling them the cursor's date and row, following theirs in turn.
class TApptView : public DocumentScrollView, public ListCursor
{
    Q_OBJECT
public:
    static QString viewName(); // "Appointment View"

    // The view follows the document through its signals, and does nothing once it went.
    TApptView(DocumentSignals &doc, const ApptViewSettings &settings, ViewHost host,
              QWidget *parent = nullptr);
    ~TApptView() override;

    const ApptViewSettings &viewSettings() const { return m_settings; }
    // Settings changed while the list is open: shown at once.
    void setViewSettings(const ApptViewSettings &settings);
    const ApptRows &rowRules() const { return m_rows; }
    int cursorLine() const override { return m_rows.cursor(); }
    int topRow() const { return m_rows.rows().topRow; }
    // The cursor's day: the heading's date above a dated entry, else today.
    TDate cursorDate() const;
    // Whether the list lets its command run now (menu enabling), given whether the
    // screen filter is on.
    bool allows(int command, bool screening) const;
    // Sets the cursor (-1: keep it inside the visible rows) and tells the other views.
    void setCursorLine(int value);
    // Tells the other views the cursor's date and remembers it in the document.
    void broadcastCursorDate();

    // The rows the window shows now, laid out for painting.
    ListLayout layout(const QRect &area) const;
    // Paints the whole list as the window would, into any painter.
    void paintRowsTo(QPainter &painter, const QRect &area);

    // The document's lines changed and it was rebuilt: shows the new rows with the cursor on
    // position (-1: where it was, kept on the list), then tells the other views the date,
    // when given, and the cursor's row.
    void showChangedRows(int position, const std::optional<TDate> &date);

    // What the other views and the document ask: show this date, select this position.
    void goToDate(const TDate &date);
    void selectPosition(int position);

protected:
    ScrollRows &scrollRows() override { return m_rows.rows(); }
    void paintRows(QPainter &painter, const QRect &area) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void followIndex();
    void afterMove(int oldTop, bool cursorChanged, int oldCursor);
    void act(const struct ListAction &action);
    void popupMenu(int row, const QPoint &globalPos);
    void setUp();
    ListLook look() const;

    void tellPosition();

    ApptViewSettings m_settings;
    ApptRows m_rows;
    bool m_setUp = false;
};

} // namespace dvw

#pragma once

#include "render/monthpainter.h"
#include "shell/commandtarget.h"
#include "store/entryops.h"
#include "viewhost.h"

#include <QAbstractScrollArea>
#include <QPointer>

namespace dvw {

class DocumentSignals;
class TApptDocument;

struct MonthViewSettings
{
    MonthLook look;
    bool shadeWeekends = false;
};

// A month of one document as a grid of weeks, with a selected day that follows the other
// views' cursor date and tells them its own. The vertical scroll bar carries only a month
// count (0..24 from the window's start month); the whole month is drawn at every paint.
// The pane (TMonthView) and the calendar (TCalendarView) differ in rules and keys.
class MonthGridView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Null once the document has gone.
    TApptDocument *document() const;
    const TDate &selectedDate() const { return m_selected; }
    // Selects a date; with broadcast it becomes the document's cursor date and the other
    // views follow it.
    void selectDate(const TDate &date, bool broadcast);
    void setViewSettings(const MonthViewSettings &settings);

    // The month shown, as data and as laid out in the window.
    MonthGrid grid() const;
    GridGeometry geometry() const;
    // Draws the month as the window would, into any painter.
    void paintTo(QPainter &painter, const QRect &rect, const QRect &dirty = QRect()) const;

protected:
    MonthGridView(DocumentSignals &events, GridRule rule, const MonthViewSettings &settings,
                  ViewHost host, QWidget *parent);

    // The moves both views share: paging, Home, the arrows. True when the key was one.
    bool moveKey(int key);
    void runCommand(int command);
    bool commandEnabled(int command) const;
    // Whether the clipboard holds text to paste.
    bool canPaste() const;
    void addMenuEntry(QMenu &menu, const QString &text, int command);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

    QPointer<DocumentSignals> m_events;
    GridRule m_rule;
    MonthViewSettings m_settings;
    ViewHost m_host;
    TDate m_selected;

    void syncScrollBar();

private:
    void scrollAction(int action);
};

// The month pane ("Month View"): a date picker beside the list. While it is the active
// view, Paste puts the clipboard's appointment on its selected day.
class TMonthView : public MonthGridView, public CommandTarget
{
    Q_OBJECT
public:
    static QString viewName(); // "Month View"
    TMonthView(DocumentSignals &events, const MonthViewSettings &settings, ViewHost host,
               QWidget *parent = nullptr);

    // Puts the clipboard's appointment on the selected day at once (no dialog).
    void pasteOnSelectedDay();

    bool handles(int command) const override;
    bool enabled(int command) const override;
    void run(int command) override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// The calendar view ("Calendar View"): each day's appointments in its cell. Its popup's
// commands, and Insert and Paste of the Edit menu while it is the active view, are its own.
class TCalendarView : public MonthGridView, public CommandTarget
{
    Q_OBJECT
public:
    static QString viewName(); // "Calendar View"
    TCalendarView(DocumentSignals &events, const MonthViewSettings &settings, ViewHost host,
                  QWidget *parent = nullptr);

    // The line and date of the entry under a point of the window, selecting its day; line
    // -1 when no drawn entry lies there.
    std::pair<int, TDate> entryAt(const QPoint &point);
    // The day dialog for the selected day (not modal; it goes at the first key or click).
    void openDayDialog();

    // The popup's commands: edit, mark done, delete and copy act on the entry captured when
    // the popup opened (a beep when it no longer holds); add, insert and paste go on the
    // selected day through the edit dialog.
    bool handles(int command) const override;
    bool enabled(int command) const override;
    void run(int command) override;
    const std::optional<EntryTarget> &captured() const { return m_captured; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void popup(const QPoint &point);
    void addPopupEntry(QMenu &menu, const QString &text, int command);
    // Opens the edit dialog and shows what it changed.
    void edit(int line, const std::string &text, const QString &step);
    // The popup's command changed the lines: an undo step of this name.
    void changed(const QString &step);
    // The entry under the point where the popup opened: its operations act on it.
    std::optional<EntryTarget> m_captured;
};

} // namespace dvw

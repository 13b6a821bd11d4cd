// The appointment list over a display index of about 65,000 rows: painting one screenful
// into an image, and walking the cursor through the whole index by keys.
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "views/apptrows.h"
#include "views/listpainter.h"
#include "views/monthviews.h"
#include "views/tapptview.h"
#include "yeardocument.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

dvw::TApptDocument &document()
{
    static const std::unique_ptr<dvw::TApptDocument> doc = dvw::bench::everyDayDocument();
    return *doc;
}

dvw::ApptViewSettings viewSettings()
{
    dvw::ApptViewSettings s;
    s.look.headingFont = QApplication::font();
    s.look.headingFont.setPixelSize(14);
    s.look.headingFont.setBold(true);
    s.look.bodyFont = QApplication::font();
    s.look.bodyFont.setPixelSize(13);
    s.headingHeight = 16;
    return s;
}

void BM_PaintOneScreenful(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    dvw::DocumentSignals events(doc);
    dvw::TApptView view(events, viewSettings(), {});
    view.resize(800, 600);
    view.setCursorLine(doc.engine().lastPosition() / 2);
    view.selectPosition(doc.engine().lastPosition() / 2);
    QImage image(800, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        view.paintRowsTo(painter, image.rect());
    }
    state.counters["rows"] = static_cast<double>(view.layout(image.rect()).rows.size());
    state.counters["index"] = static_cast<double>(doc.engine().index().size());
}
BENCHMARK(BM_PaintOneScreenful)->Unit(benchmark::kMicrosecond);

// The rules alone: Down from the first row to the last entry.
void BM_RulesCursorDownThroughIndex(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    std::int64_t moves = 0;
    for (auto _ : state) {
        dvw::ApptRows rows(doc.engine().index());
        rows.rows().pageRows = 37;
        while (rows.cursor() < rows.lastLine() - 1) {
            rows.key(dvw::ApptRows::Key::Down);
            ++moves;
        }
        benchmark::DoNotOptimize(rows.cursor());
    }
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_RulesCursorDownThroughIndex)->Unit(benchmark::kMillisecond);

// The window: every Down key as the user presses it, with the broadcasts to the other views.
void BM_ViewCursorDownThroughIndex(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    dvw::DocumentSignals events(doc);
    dvw::TApptView view(events, viewSettings(), {});
    view.resize(800, 600);
    std::int64_t moves = 0;
    for (auto _ : state) {
        QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &home);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        while (view.cursorLine() < doc.engine().lastPosition() - 1) {
            QCoreApplication::sendEvent(&view, &down);
            ++moves;
        }
    }
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_ViewCursorDownThroughIndex)->Unit(benchmark::kMillisecond);

dvw::MonthViewSettings calendarSettings()
{
    dvw::MonthViewSettings s;
    s.look.titleFont = QApplication::font();
    s.look.titleFont.setPixelSize(20);
    s.look.headingFont = QApplication::font();
    s.look.headingFont.setPixelSize(14);
    s.look.dayFont = s.look.headingFont;
    s.look.entryFont = QApplication::font();
    s.look.entryFont.setPixelSize(11);
    s.shadeWeekends = true;
    return s;
}

// The whole calendar at 1600 x 1000 over days of 178 entries each: the month's grid built
// from the document and every cell drawn.
void BM_CalendarRepaint(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    dvw::DocumentSignals events(doc);
    dvw::TCalendarView view(events, calendarSettings(), {});
    view.resize(1600, 1000);
    QImage image(1600, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        view.paintTo(painter, image.rect());
    }
}
BENCHMARK(BM_CalendarRepaint)->Unit(benchmark::kMillisecond);

// One arrow key in the calendar: the new date selected and told to the other views.
void BM_CalendarKeyMove(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    dvw::DocumentSignals events(doc);
    dvw::TCalendarView view(events, calendarSettings(), {});
    view.resize(1600, 1000);
    int i = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, (++i & 1) ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &key);
    }
}
BENCHMARK(BM_CalendarKeyMove)->Unit(benchmark::kMicrosecond);

// One arrow key with the repaint it asks for: the month's grid and the two changed cells.
void BM_CalendarKeyMoveWithRepaint(benchmark::State &state)
{
    dvw::TApptDocument &doc = document();
    dvw::DocumentSignals events(doc);
    dvw::TCalendarView view(events, calendarSettings(), {});
    view.resize(1600, 1000);
    QImage image(1600, 1000, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        const int before = static_cast<int>(view.selectedDate().DayOfMonth());
        QKeyEvent key(QEvent::KeyPress, (++i & 1) ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &key);
        const dvw::GridGeometry g = view.geometry();
        QRect dirty;
        for (const int day : {before, static_cast<int>(view.selectedDate().DayOfMonth())}) {
            const dvw::GridRect r = g.cellRect(day);
            dirty |= QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        QPainter painter(&image);
        painter.setClipRect(dirty);
        view.paintTo(painter, image.rect(), dirty);
    }
}
BENCHMARK(BM_CalendarKeyMoveWithRepaint)->Unit(benchmark::kMillisecond);

} // namespace

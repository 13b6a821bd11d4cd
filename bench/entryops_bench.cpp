// One entry command on a 20,000-line file over 365 days, from the command to the list
// painted again; and whether memory grows over many done/undone toggles.
#include "platform/scriptedprompter.h"
#include "shell/documentsignals.h"
#include "store/tapptdocument.h"
#include "views/entryactions.h"
#include "views/tapptview.h"
#include "yeardocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

struct QuietBeeper : dvw::Beeper
{
    void beep() override { }
};

struct HeldClipboard : dvw::EntryClipboard
{
    std::string held;
    bool put(const std::string &bytes) override
    {
        held = bytes;
        return true;
    }
    std::optional<std::string> text() const override { return held; }
};

// Single dates spread over the year, weekly lines and notes: 20,000 lines.
std::unique_ptr<dvw::TApptDocument> bigDocument()
{
    auto doc = dvw::bench::yearWindowDocument();
    const char *const weekdays[] = {"MON", "TUE", "WED", "THU", "FRI"};
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        if (i % 10 == 0)
            line = "!" + std::string(weekdays[i % 5]) + " weekly " + std::to_string(i);
        else if (i % 10 == 1)
            line = "* note " + std::to_string(i);
        else
            line = std::to_string(i % 12 + 1) + "/" + std::to_string(i % 28 + 1) + "/"
                + (i % 12 + 1 >= 12 ? "26" : "27") + " " + std::to_string(i % 12 + 8)
                + ":00 appointment " + std::to_string(i);
        doc->lineTable().emplace_back(line);
    }
    doc->Rescan();
    return doc;
}

dvw::ApptViewSettings viewSettings()
{
    dvw::ApptViewSettings s;
    s.look.headingFont = QApplication::font();
    s.look.bodyFont = QApplication::font();
    return s;
}

// A single appointment's entry near the middle of the list.
int middleEntry(const dvw::TApptDocument &doc)
{
    const auto &index = doc.engine().index();
    for (std::size_t i = index.size() / 2; i < index.size(); ++i)
        if (index[i].kind == dvw::DatedEntry)
            return static_cast<int>(i);
    return 0;
}

long residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

// Mark done (or undone) on the cursor's entry, show the changed rows and paint them.
void BM_MarkDoneToRepaint(benchmark::State &state)
{
    auto doc = bigDocument();
    dvw::DocumentSignals events(*doc);
    dvw::TApptView view(events, viewSettings(), {});
    view.resize(800, 600);
    view.setCursorLine(middleEntry(*doc));
    dvw::ScriptedPrompter prompter;
    QuietBeeper beeper;
    HeldClipboard clipboard;
    dvw::EntryContext context {*doc, prompter, beeper, clipboard, {}};
    QImage image(800, 600, QImage::Format_RGB32);
    int changed = 0;
    for (auto _ : state) {
        const auto outcome = dvw::MarkDoneAt(context, view.cursorLine());
        if (outcome) {
            ++changed;
            view.showChangedRows(outcome->position, std::nullopt);
        }
        QPainter painter(&image);
        view.paintRowsTo(painter, image.rect());
    }
    state.counters["changed"] = changed;
    state.counters["lines"] = static_cast<double>(doc->lines().size());
    state.counters["index"] = static_cast<double>(doc->engine().index().size());
}
BENCHMARK(BM_MarkDoneToRepaint)->Unit(benchmark::kMillisecond);

// 10,000 toggles of one entry: the resident size before and after.
void BM_TenThousandToggles(benchmark::State &state)
{
    auto doc = bigDocument();
    dvw::ScriptedPrompter prompter;
    QuietBeeper beeper;
    HeldClipboard clipboard;
    dvw::EntryContext context {*doc, prompter, beeper, clipboard, {}};
    std::int32_t position = middleEntry(*doc);
    long before = 0, after = 0;
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) // warm up: the tables reach their working size
            if (auto o = dvw::MarkDoneAt(context, position))
                position = o->position;
        before = residentKilobytes();
        for (int i = 0; i < 10000; ++i)
            if (auto o = dvw::MarkDoneAt(context, position))
                position = o->position;
        after = residentKilobytes();
    }
    state.counters["rssBeforeKB"] = static_cast<double>(before);
    state.counters["rssAfterKB"] = static_cast<double>(after);
}
BENCHMARK(BM_TenThousandToggles)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

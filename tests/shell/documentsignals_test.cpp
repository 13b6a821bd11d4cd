#include "shell/documentsignals.h"
#include "store/documentlistener.h"
#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <QObject>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace dvw;

namespace {

// Another listener of the document (a view that is not on Qt): it must hear what the
// views send through the signals too.
struct PlainListener : DocumentListener
{
    void goToDate(const TDate &date) override
    {
        heard.push_back("date " + std::to_string(date.dayNumber));
    }
    void selectPosition(int p) override { heard.push_back("position " + std::to_string(p)); }
    std::vector<std::string> heard;
};

// A view: records what it hears that another view or the document sent.
struct View : QObject
{
    View(DocumentSignals &events)
    {
        connect(&events, &DocumentSignals::dateRequested, this,
                [this](const TDate &d, const QObject *sender) {
                    if (sender != this)
                        heard.push_back("date " + std::to_string(d.dayNumber));
                });
        connect(&events, &DocumentSignals::positionSelected, this,
                [this](int p, const QObject *sender) {
                    if (sender != this)
                        heard.push_back("position " + std::to_string(p));
                });
        connect(&events, &DocumentSignals::closed, this, [this] { heard.push_back("closed"); });
    }
    std::vector<std::string> heard;
};

std::unique_ptr<TApptDocument> smallDocument()
{
    return test::documentOf({"12/8/2026 A"}, TDate(7, 12, 2026), 30);
}

} // namespace

TEST(DocumentSignals, EveryViewButTheSenderHearsAndSoDoTheDocumentsOtherListeners)
{
    auto doc = smallDocument();
    PlainListener plain;
    doc->addListener(&plain);
    DocumentSignals events(*doc);
    View a(events);
    View b(events);
    const TDate day(9, 12, 2026);

    events.sendSelectPosition(3, &a);
    events.sendGoToDate(day, &b);
    events.sendCursorDate(day, &a);
    doc->broadcastSelectPosition(5, nullptr); // the document itself, after an edit

    const std::string d = "date " + std::to_string(day.dayNumber);
    EXPECT_EQ(a.heard, (std::vector<std::string> {d, "position 5"}));
    EXPECT_EQ(b.heard, (std::vector<std::string> {"position 3", d, "position 5"}));
    EXPECT_EQ(plain.heard, (std::vector<std::string> {"position 3", d, d, "position 5"}));
    // A list opened later starts at the date sent last as the cursor's.
    EXPECT_TRUE(doc->hasPendingCursorDate());
    EXPECT_EQ(doc->lastCursorDate().dayNumber, day.dayNumber);
    doc->removeListener(&plain);
}

TEST(DocumentSignals, AGoneViewIsNoLongerToldAndAGoneDocumentSaysSoOnce)
{
    auto doc = smallDocument();
    DocumentSignals events(*doc);
    auto gone = std::make_unique<View>(events);
    View stays(events);
    gone.reset();
    events.sendSelectPosition(1, nullptr);
    EXPECT_EQ(stays.heard, std::vector<std::string> {"position 1"});

    doc.reset();
    EXPECT_EQ(events.document(), nullptr);
    EXPECT_EQ(stays.heard, (std::vector<std::string> {"position 1", "closed"}));
    // Sending to a gone document does nothing.
    events.sendSelectPosition(2, nullptr);
    events.sendCursorDate(TDate(9, 12, 2026), nullptr);
    EXPECT_EQ(stays.heard.size(), 2u);
}

#include "history/livefilerules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dvw;

namespace {

const FileIdentity readVersion {1, 10, 100, 1000, 1000};
const FileIdentity keptVersion {1, 10, 120, 2000, 2000};
const FileIdentity newVersion {1, 11, 140, 3000, 3000};

// What is on disk when the watcher fires, against what the document read or kept.
enum class Disk { Gone, AsRead, AsKept, Other };

std::optional<FileIdentity> onDisk(Disk disk)
{
    switch (disk) {
    case Disk::Gone:
        return std::nullopt;
    case Disk::AsRead:
        return readVersion;
    case Disk::AsKept:
        return keptVersion;
    case Disk::Other:
        return newVersion;
    }
    return std::nullopt;
}

} // namespace

TEST(DecideLiveFile, EachFactDecidesAsDocumented)
{
    struct Case
    {
        std::string name;
        Disk disk;
        bool kept; // the user kept their changes over keptVersion
        bool unsaved;
        bool goneReported;
        bool modal;
        LiveFileAction expected;
    };
    using A = LiveFileAction;
    const std::vector<Case> cases = {
        {"our own save", Disk::AsRead, false, false, false, false, A::Nothing},
        {"our own save with unsaved changes", Disk::AsRead, false, true, false, false, A::Nothing},
        {"another version, nothing unsaved", Disk::Other, false, false, false, false, A::Reload},
        {"another version, changes unsaved", Disk::Other, false, true, false, false,
         A::OfferReload},
        {"the version kept over", Disk::AsKept, true, true, false, false, A::Nothing},
        {"a version after the kept one", Disk::Other, true, true, false, false, A::OfferReload},
        {"kept version without keeping", Disk::AsKept, false, true, false, false, A::OfferReload},
        {"the file went", Disk::Gone, false, false, false, false, A::ReportGone},
        {"the file went, changes unsaved", Disk::Gone, false, true, false, false, A::ReportGone},
        {"the file went, already told", Disk::Gone, false, true, true, false, A::Nothing},
        {"the file came back after being told", Disk::Other, false, false, true, false, A::Reload},
        {"a dialog open over another version", Disk::Other, false, false, false, true, A::Wait},
        {"a dialog open while the file went", Disk::Gone, false, false, false, true, A::Wait},
        {"a dialog open over our own save", Disk::AsRead, false, false, false, true, A::Wait},
    };
    for (const Case &c : cases) {
        LiveFileFacts facts;
        facts.onDisk = onDisk(c.disk);
        facts.known = readVersion;
        if (c.kept)
            facts.keptOver = keptVersion;
        facts.unsavedChanges = c.unsaved;
        facts.goneReported = c.goneReported;
        facts.modalStep = c.modal;
        EXPECT_EQ(DecideLiveFile(facts), c.expected) << c.name;
    }
}

TEST(DecideLiveFile, AFileMissingAtOpenIsANewVersionWhenItAppears)
{
    // A document started over a missing file knows no version: what appears is new.
    LiveFileFacts facts;
    facts.onDisk = newVersion;
    EXPECT_EQ(DecideLiveFile(facts), LiveFileAction::Reload);
    facts.unsavedChanges = true;
    EXPECT_EQ(DecideLiveFile(facts), LiveFileAction::OfferReload);
}

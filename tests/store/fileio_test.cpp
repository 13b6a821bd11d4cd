#include "store/fileio.h"
#include "store/filerules.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace dvw;
using namespace dvw::test;
using Names = std::set<std::string>;

namespace {

std::optional<FileIdentity> identityOf(const std::string &path)
{
    const LoadResult loaded = LoadFile(path);
    if (loaded.status != LoadResult::Loaded)
        return std::nullopt;
    return loaded.identity;
}

} // namespace

TEST(SaveFileAtomically, ReplacesTheFileAndKeepsThePreviousVersionAsBackup)
{
    TempDir dir;
    writeBytes(dir.file("NOTES.APT"), "old\r\n");
    const SaveResult saved = SaveFileAtomically(dir.file("NOTES.APT"), "new\r\n",
                                                identityOf(dir.file("NOTES.APT")), false);
    ASSERT_TRUE(saved.ok) << saved.reason;
    EXPECT_EQ(readBytes(dir.file("NOTES.APT")), "new\r\n");
    EXPECT_EQ(readBytes(dir.file("NOTES.BAK")), "old\r\n");
    EXPECT_EQ(dir.names(), (Names {"NOTES.APT", "NOTES.BAK"}));
    EXPECT_EQ(saved.identity, identityOf(dir.file("NOTES.APT")));
}

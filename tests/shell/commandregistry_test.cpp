#include "shell/commandregistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace dvw;

namespace {

// A registry of three commands: 10 always runs, 20 runs while `open`, 30 never.
struct Registered
{
    CommandRegistry registry;
    std::vector<int> ran;
    bool open = false;

    Registered()
    {
        registry.add(10, [this] { ran.push_back(10); });
        registry.add(
            20, [this] { ran.push_back(20); }, [this] { return open; });
        registry.add(
            30, [this] { ran.push_back(30); }, [] { return false; });
    }
};

} // namespace

TEST(CommandRegistry, RunsACommandOnlyWhenRegisteredAndItsRuleAllows)
{
    struct Case
    {
        int command;
        bool open;
        bool runs;
    };
    const std::vector<Case> cases = {
        {10, false, true}, {10, true, true},  {20, false, false},
        {20, true, true},  {30, true, false}, {40, true, false},
    };
    for (const Case &c : cases) {
        Registered r;
        r.open = c.open;
        EXPECT_EQ(r.registry.canRun(c.command), c.runs) << c.command << " open " << c.open;
        EXPECT_EQ(r.registry.run(c.command), c.runs) << c.command << " open " << c.open;
        EXPECT_EQ(r.ran, c.runs ? std::vector<int> {c.command} : std::vector<int> {})
            << c.command << " open " << c.open;
    }
}

TEST(CommandRegistry, TheRuleIsAskedAtEachCallNotAtRegistration)
{
    Registered r;
    EXPECT_FALSE(r.registry.run(20));
    r.open = true;
    EXPECT_TRUE(r.registry.run(20));
    r.open = false;
    EXPECT_FALSE(r.registry.canRun(20));
    EXPECT_EQ(r.ran, std::vector<int> {20});
}

TEST(CommandRegistry, ARegisteredNumberCannotBeTakenAgainOrLeftWithoutHandler)
{
    Registered r;
    for (int command : {10, 20, 30}) {
        try {
            r.registry.add(command, [] {});
            ADD_FAILURE() << command << " registered twice";
        } catch (const std::logic_error &e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(command)), std::string::npos);
        }
    }
    EXPECT_THROW(r.registry.add(40, {}), std::logic_error);
    EXPECT_FALSE(r.registry.has(40));
    // The first registration still answers.
    EXPECT_TRUE(r.registry.run(10));
    EXPECT_EQ(r.ran, std::vector<int> {10});
    EXPECT_EQ(r.registry.commands(), (std::vector<int> {10, 20, 30}));
}

TEST(CommandRegistry, AHandlerMayDestroyItsRegistry)
{
    // Exit closes the main window that owns the registry while the handler runs.
    auto registry = std::make_unique<CommandRegistry>();
    std::string captured = "kept alive by the running handler";
    std::string seen;
    registry->add(1, [&registry, captured, &seen] {
        registry.reset();
        seen = captured;
    });
    EXPECT_TRUE(registry->run(1));
    EXPECT_EQ(registry, nullptr);
    EXPECT_EQ(seen, captured);
}

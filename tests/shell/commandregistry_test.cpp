#include "shell/commandregistry.h"
#include "shell/commandtarget.h"

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

namespace {

// A view's target: it handles 20 and 50, each runs while `on`.
struct FakeTarget : CommandTarget
{
    bool on = true;
    std::vector<int> ran;
    bool handles(int command) const override { return command == 20 || command == 50; }
    bool enabled(int) const override { return on; }
    void run(int command) override { ran.push_back(command); }
};

} // namespace

TEST(CommandRegistry, TheActiveViewAnswersTheCommandsItHandlesAndNoOthers)
{
    struct Case
    {
        int command;
        bool viewActive;
        bool viewOn; // the target's enabling rule
        bool featureOpen; // the registration's rule of 20
        bool runs;
        const char *by; // "view", "feature" or ""
    };
    const std::vector<Case> cases = {
        // Handled by the view: its rule alone decides, the feature is never asked.
        {20, true, true, false, true, "view"},
        {20, true, false, true, false, ""},
        // Not handled by the view: the registration answers as before.
        {10, true, false, false, true, "feature"},
        {30, true, true, true, false, ""},
        // Only the view knows 50; without the view nobody does.
        {50, true, true, false, true, "view"},
        {50, false, true, false, false, ""},
        // No active view: the registration answers.
        {20, false, true, true, true, "feature"},
        {20, false, true, false, false, ""},
    };
    for (const Case &c : cases) {
        Registered r;
        FakeTarget view;
        view.on = c.viewOn;
        r.open = c.featureOpen;
        r.registry.setTargetFinder(
            [&view, &c]() -> CommandTarget * { return c.viewActive ? &view : nullptr; });
        const std::string where = std::to_string(c.command) + (c.viewActive ? " view" : "");
        EXPECT_EQ(r.registry.canRun(c.command), c.runs) << where;
        EXPECT_EQ(r.registry.run(c.command), c.runs) << where;
        const std::string by = c.by;
        EXPECT_EQ(view.ran, by == "view" ? std::vector<int> {c.command} : std::vector<int> {})
            << where;
        EXPECT_EQ(r.ran, by == "feature" ? std::vector<int> {c.command} : std::vector<int> {})
            << where;
        EXPECT_EQ(r.registry.has(c.command), c.command != 50 || c.viewActive) << where;
    }
}

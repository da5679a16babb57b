// The window model's port states, driven through its events alone.
#include "WindowModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Flags {
    bool shown, enabled;
};

// What the state table says the controls show in each port state.
struct ExpectedState {
    Flags port, speed, lport, commands;
    bool handshakeEnabled;
    bool hand2Selected, handSelected;
};

struct StateCase {
    std::string name;
    std::vector<std::function<void(WindowModel&)>> steps;
    ExpectedState expected;
};

void load(WindowModel& m) { m.load(); }
void serial(WindowModel& m) { m.clickOption1(); }
void parallel(WindowModel& m) { m.clickOption2(); }
void pickHand(WindowModel& m) { m.clickHandshake(m.Hand); }

constexpr ExpectedState kNone{{false, false}, {false, true}, {false, false}, {true, false}, false, true, false};
constexpr ExpectedState kSerial{{true, true}, {true, true}, {false, false}, {true, true}, true, true, false};
constexpr ExpectedState kSerialHand{{true, true}, {true, true}, {false, false}, {true, true}, true, false, true};
constexpr ExpectedState kParallel{{false, false}, {false, false}, {true, true}, {true, true}, false, true, false};

class WindowStates : public testing::TestWithParam<StateCase> {};

TEST_P(WindowStates, ControlsShowTheState)
{
    WindowModel model;
    for (const auto& step : GetParam().steps)
        step(model);
    const ExpectedState& want = GetParam().expected;
    EXPECT_EQ(model.Port.shown, want.port.shown);
    EXPECT_EQ(model.Port.enabled, want.port.enabled);
    EXPECT_EQ(model.Speed.shown, want.speed.shown);
    EXPECT_EQ(model.Speed.enabled, want.speed.enabled);
    EXPECT_EQ(model.LPort.shown, want.lport.shown);
    EXPECT_EQ(model.LPort.enabled, want.lport.enabled);
    for (const Control* button : {&model.Command1, &model.Command3}) {
        EXPECT_EQ(button->shown, want.commands.shown);
        EXPECT_EQ(button->enabled, want.commands.enabled);
    }
    for (const Control* control : {&model.Han, &model.Hand, &model.Hand2})
        EXPECT_EQ(control->enabled, want.handshakeEnabled);
    EXPECT_EQ(model.Hand2.selected, want.hand2Selected);
    EXPECT_EQ(model.Hand.selected, want.handSelected);
    EXPECT_TRUE(model.Command5.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, WindowStates,
    testing::Values(
        StateCase{"AfterStartUp", {load}, kNone},
        StateCase{"Serial", {load, serial}, kSerial},
        StateCase{"SerialKeepsHandshakeChoice", {load, serial, pickHand}, kSerialHand},
        StateCase{"SerialAgainKeepsHand", {load, serial, pickHand, serial}, kSerialHand},
        StateCase{"Parallel", {load, parallel}, kParallel},
        StateCase{"ParallelDropsHandshake", {load, serial, pickHand, parallel}, kParallel},
        StateCase{"SerialAfterParallelHasNoHandshake", {load, serial, pickHand, parallel, serial}, kSerial},
        StateCase{"HandshakeCannotBePickedOutsideSerial", {load, pickHand}, kNone},
        StateCase{"ParallelTwice", {load, parallel, parallel}, kParallel}),
    [](const auto& info) { return info.param.name; });

TEST(WindowModel, ControlsAsDesigned)
{
    WindowModel model;
    EXPECT_EQ(model.Port.text, "COM1");
    EXPECT_EQ(model.Port.list, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(model.LPort.text, "LPT1");
    EXPECT_EQ(model.LPort.list, (std::vector<std::string>{"LPT1", "LPT2"}));
    EXPECT_EQ(model.Speed.text, "9600");
    EXPECT_EQ(model.Speed.list, (std::vector<std::string>{"9600", "19200"}));
    EXPECT_EQ(model.Prin.text, "Welcome for you to use our products");
    EXPECT_EQ(model.Prin.list,
              (std::vector<std::string>{"Welcom for you to use our product", "欢迎使用Kestrova有限公司打印机"}));
    ASSERT_EQ(model.Turn.list.size(), 20u);
    EXPECT_EQ(model.Turn.text, "1");
    EXPECT_EQ(model.Turn.list.front(), "1");
    EXPECT_EQ(model.Turn.list.back(), "20");
    EXPECT_FALSE(model.Option1.selected);
    EXPECT_FALSE(model.Option2.selected);
    EXPECT_FALSE(model.Speed.enabled) << "Speed is enabled by start-up, not before";
}

TEST(WindowModel, OptionButtonsExcludeEachOther)
{
    WindowModel model;
    model.load();
    model.clickOption1();
    EXPECT_TRUE(model.Option1.selected);
    EXPECT_FALSE(model.Option2.selected);
    model.clickOption2();
    EXPECT_FALSE(model.Option1.selected);
    EXPECT_TRUE(model.Option2.selected);
}

TEST(WindowModel, StartUpRunsItsActionBeforeEnablingSpeed)
{
    WindowModel model;
    bool speedEnabledDuringLoad = true;
    model.attachLoad([&](WindowModel& m) { speedEnabledDuringLoad = m.Speed.enabled; });
    model.load();
    EXPECT_FALSE(speedEnabledDuringLoad);
    EXPECT_TRUE(model.Speed.enabled);
    EXPECT_FALSE(model.Speed.shown);
}

TEST(WindowModel, TypedTextStaysAsTyped)
{
    WindowModel model;
    model.load();
    model.clickOption1();
    model.editText(model.Port, "com1 ");
    model.editText(model.Turn, " 2.5 ");
    EXPECT_EQ(model.Port.text, "com1 ");
    EXPECT_EQ(model.Port.list.size(), 4u) << "typing adds no entry";
    EXPECT_EQ(model.Turn.text, " 2.5 ");
}

TEST(WindowModel, TestButtonsDoNothingBeforeAPortTypeIsChosen)
{
    WindowModel model;
    int runs = 0;
    model.attachCashDrawerTest([&](WindowModel&) { ++runs; });
    model.attachPrintTest([&](WindowModel&) { ++runs; });
    model.load();
    model.clickCommand1();
    model.clickCommand3();
    EXPECT_EQ(runs, 0);
    model.clickOption2();
    model.clickCommand1();
    model.clickCommand3();
    EXPECT_EQ(runs, 2);
}

TEST(WindowModel, ExitByButtonOrCloseBoxEndsOnce)
{
    for (const auto& leave : {std::function<void(WindowModel&)>(&WindowModel::clickCommand5),
                              std::function<void(WindowModel&)>(&WindowModel::closeWindow)}) {
        WindowModel model;
        int exits = 0;
        model.setExitHandler([&] { ++exits; });
        model.load();
        leave(model);
        leave(model);
        EXPECT_TRUE(model.unloaded());
        EXPECT_EQ(exits, 1);
    }
}

TEST(WindowModel, AFailingActionIsReportedOnceAndStopsEverything)
{
    WindowModel model;
    std::vector<std::string> reports;
    model.setFailureHandler([&](const std::string& message) { reports.push_back(message); });
    int runs = 0;
    model.attachCashDrawerTest([&](WindowModel&) {
        ++runs;
        throw std::runtime_error("Could not open com1 (/dev/ttyS0): No such file or directory.");
    });
    model.load();
    model.clickOption1();
    model.clickCommand1();
    model.clickCommand1();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(runs, 1) << "no action runs once the program is ending";
    EXPECT_EQ(reports[0], "Cash drawer test failed.\n\nCould not open com1 (/dev/ttyS0): No such file or directory.");
    EXPECT_TRUE(model.failed());
}

TEST(WindowModel, ChangesAreAnnouncedForTheScreen)
{
    WindowModel model;
    int changes = 0;
    model.setChangeObserver([&] { ++changes; });
    model.load();
    const int afterLoad = changes;
    EXPECT_GT(afterLoad, 0);
    model.clickOption1();
    EXPECT_GT(changes, afterLoad);
}

} // namespace

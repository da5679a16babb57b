// The window is a plain window, not a dialog: no button is a default or a
// cancel button, so Enter and Escape start nothing and do not close it,
// wherever the focus is.
#include "TesterSession.h"

namespace {

class KeyboardTest : public DesktopTest {};

TEST_F(KeyboardTest, EnterAndEscapeStartNothing)
{
    PseudoTerminal com1;
    enableOutputProcessing(com1.slave());
    runtime_.link("com1", com1.slavePath());

    TesterSession tester(desktop(), px9tester9xBuild(), runtime_.path());
    ASSERT_TRUE(tester.showsWindow());
    const std::vector<std::string> keys{"Return", "KP_Enter", "Escape"};
    // Before a port type is chosen, with the focus where the window puts it
    // (the test print content).
    tester.press(keys);
    tester.click("Option1");
    // Back in the test print content, then on 开钱箱, next in tab order.
    tester.click("Prin");
    tester.press(keys);
    tester.press({"Tab"});
    tester.press(keys);

    // The keys went first; the click that follows is handled only after
    // them, so exactly one drawer stream proves that they sent none and left
    // the window open.
    tester.click("Command1");
    EXPECT_EQ(hexBytes(receiveStream(com1, drawerStream().size())), hexBytes(drawerStream())) << tester.errorOutput();
    EXPECT_TRUE(tester.running());
    tester.click("Command5");
    EXPECT_TRUE(tester.exitsWith(0));
}

} // namespace

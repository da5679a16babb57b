// The failure rule as the operator meets it: a port that cannot be used
// stops the cash drawer test with one message box titled with the
// program's name; once it is dismissed the program ends with status 1, and
// the same text is on stderr, naming the device and its host path.
#include "TesterSession.h"

#include <sys/file.h>

namespace fs = std::filesystem;

namespace {

enum class Port { Missing, HeldByAnotherProgram };

struct FailureCase {
    std::string label;
    const Build* build;
    std::string option;  // "Option1" serial (COM1), "Option2" parallel (LPT1)
    std::string entry;   // the device-name entry the choice reaches
    Port port;
    std::string reason;  // part of the system's reason or the hint
};

void PrintTo(const FailureCase& test, std::ostream* out)
{
    *out << test.label;
}

class FailureTest : public DesktopTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, ShowsMessageBoxThenExitsWithOne)
{
    const FailureCase& test = GetParam();
    PseudoTerminal tty;
    std::string hostPath = tty.slavePath();
    if (test.port == Port::Missing)
        hostPath = (runtime_.path() / "unplugged" / test.entry).string();
    else
        ASSERT_EQ(::flock(tty.slave(), LOCK_EX | LOCK_NB), 0);
    runtime_.link(test.entry, hostPath);
    // The pseudo-terminal also stands in for /dev/ttyS0 where that can be
    // reached, so that nothing the program writes goes unseen.
    std::optional<std::string> ttyS0;
    if (reachesTtyS0(*test.build)) {
        if (const auto reason = privateTtyS0Unavailable(tty.slavePath()))
            GTEST_SKIP() << *reason;
        ttyS0 = tty.slavePath();
    }

    TesterSession tester(desktop(), *test.build, runtime_.path(), ttyS0);
    ASSERT_TRUE(tester.showsWindow());
    tester.click(test.option);
    tester.click("Command1");

    const std::string& name = test.build->deliverable.name;
    const auto box = tester.waitForMessageBox(name);
    ASSERT_TRUE(box) << "no message box titled " << name << "; the program "
                     << (tester.running() ? "is still running" : "ended") << "; stderr: " << tester.errorOutput();
    EXPECT_EQ(desktop().windowTitle(*box), name);
    EXPECT_TRUE(tester.running()) << "ended before the box was dismissed";
    tester.dismissMessageBox(*box);
    EXPECT_TRUE(tester.exitsWith(1));

    // The program's own line; the toolkit may have written warnings before it.
    const std::string stderrText = tester.errorOutput();
    const std::size_t line = stderrText.find(name + ": ");
    ASSERT_NE(line, std::string::npos) << stderrText;
    EXPECT_TRUE(line == 0 || stderrText[line - 1] == '\n') << stderrText;
    const std::string failure = stderrText.substr(line);
    for (const std::string& part : {test.entry, hostPath, test.reason})
        EXPECT_NE(failure.find(part), std::string::npos) << "\"" << part << "\" not in: " << failure;
    EXPECT_EQ(hexBytes(tty.readAvailable(50ms)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Ports, FailureTest,
    ::testing::Values(
        FailureCase{"px9tester9x_MissingCom1", &px9tester9xBuild(), "Option1", "com1", Port::Missing,
                    "No such file or directory"},
        FailureCase{"px9tester9x_Com1InUse", &px9tester9xBuild(), "Option1", "com1", Port::HeldByAnotherProgram,
                    "in use"},
        FailureCase{"px9tester_MissingLpt1", &px9testerBuild(), "Option2", "lpt1", Port::Missing,
                    "No such file or directory"}),
    [](const auto& info) { return info.param.label; });

} // namespace

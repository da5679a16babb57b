// Start-up and normal exit of both builds: the window shows with its
// caption and size, the serial aliases COM5-COM8 are in the device-name
// folder before it shows and stay after exit, and both ways out end with
// status 0.
#include "TesterSession.h"

#include <map>

namespace fs = std::filesystem;

namespace {

enum class ExitWay { ExitButton, CloseBox };
enum class Folder { Missing, WithStaleEntries };

struct StartupCase {
    std::string label;
    const Build* build;
    ExitWay exitWay;
    Folder folder;
};

void PrintTo(const StartupCase& test, std::ostream* out)
{
    *out << test.label;
}

// Entry name -> where the link points.
std::map<std::string, std::string> linksIn(const fs::path& folder)
{
    std::map<std::string, std::string> links;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        links[entry.path().filename().string()] =
            entry.is_symlink() ? fs::read_symlink(entry.path()).string() : "(not a link)";
    return links;
}

class StartupTest : public DesktopTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupTest, ShowsWindowWithSerialAliasesAndExitsWithZero)
{
    const StartupCase& test = GetParam();
    std::map<std::string, std::string> expected = {
        {"com5", "/dev/ttyS0"}, {"com6", "/dev/ttyS1"}, {"com7", "/dev/ttyS2"}, {"com8", "/dev/ttyS3"}};
    if (test.folder == Folder::Missing) {
        fs::remove_all(runtime_.path() / "kestrova-px9");
    } else {
        // An alias left pointing elsewhere is redefined; the operator's own
        // link for COM1 is left alone.
        runtime_.link("com5", "/dev/ttyUSB9");
        runtime_.link("com1", "/dev/ttyUSB0");
        expected["com1"] = "/dev/ttyUSB0";
    }

    TesterSession tester(desktop(), *test.build, runtime_.path());
    ASSERT_TRUE(tester.showsWindow());
    EXPECT_EQ(linksIn(runtime_.deviceFolder()), expected) << "when the window showed";
    for (const fs::path& folder : {runtime_.deviceFolder().parent_path(), runtime_.deviceFolder()})
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;
    EXPECT_EQ(desktop().windowTitle(tester.window()), test.build->caption);
    EXPECT_EQ(desktop().windowSize(tester.window()), std::pair(test.build->width, test.build->height));

    if (test.exitWay == ExitWay::ExitButton)
        tester.click("Command5");
    else
        desktop().requestClose(tester.window());
    EXPECT_TRUE(tester.exitsWith(0));
    EXPECT_EQ(linksIn(runtime_.deviceFolder()), expected) << "after exit";
}

INSTANTIATE_TEST_SUITE_P(
    Builds, StartupTest,
    ::testing::Values(StartupCase{"px9tester9x_ExitButton", &px9tester9xBuild(), ExitWay::ExitButton, Folder::WithStaleEntries},
                      StartupCase{"px9tester9x_CloseBox", &px9tester9xBuild(), ExitWay::CloseBox, Folder::Missing},
                      StartupCase{"px9tester_ExitButton", &px9testerBuild(), ExitWay::ExitButton, Folder::Missing},
                      StartupCase{"px9tester_CloseBox", &px9testerBuild(), ExitWay::CloseBox, Folder::WithStaleEntries}),
    [](const auto& info) { return info.param.label; });

} // namespace

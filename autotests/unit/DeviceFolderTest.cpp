// The folder of device-name links: where it is, when it is trusted, what a
// name reaches, and the serial aliases.
#include "AliasTable.h"
#include "DeviceFolder.h"
#include "TestDevices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string linkTarget(const fs::path& entry)
{
    return fs::read_symlink(entry).string();
}

TEST(DeviceFolder, LivesUnderTheRuntimeDirectoryOrTmp)
{
    ScratchRuntimeDir runtime;
    EXPECT_EQ(DeviceFolder::forCurrentUser().path(), runtime.deviceFolder());

    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    const fs::path fallback = "/tmp/kestrova-px9-" + std::to_string(::geteuid()) + "/dosdevices";
    EXPECT_EQ(DeviceFolder::forCurrentUser().path(), fallback);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DeviceFolder::forCurrentUser().path(), fallback);
}

TEST(DeviceFolder, CreatesWhatIsMissingPrivately)
{
    ScratchRuntimeDir runtime;
    fs::remove_all(runtime.path() / "kestrova-px9");
    EXPECT_TRUE(DeviceFolder::forCurrentUser().trusted());
    for (const fs::path& dir : {runtime.path() / "kestrova-px9", runtime.deviceFolder()}) {
        struct stat info {};
        ASSERT_EQ(::stat(dir.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << dir;
    }
}

TEST(DeviceFolder, AFolderOthersCanWriteIsNeitherReadNorWritten)
{
    ScratchRuntimeDir runtime;
    Fifo fifo(runtime.path() / "printer");
    runtime.link("com5", fifo.path());
    ::chmod(runtime.deviceFolder().c_str(), 0777);
    const DeviceFolder folder = DeviceFolder::forCurrentUser();
    EXPECT_FALSE(folder.trusted());

    defineAliases(folder);
    EXPECT_EQ(linkTarget(runtime.deviceFolder() / "com5"), fifo.path().string()) << "nothing written";
    EXPECT_FALSE(fs::exists(fs::symlink_status(runtime.deviceFolder() / "com6")));
    const HostDevice device = folder.locate("com5");
    EXPECT_NE(device.hostPath, fifo.path().string()) << "nothing read";
    EXPECT_FALSE(device.folderTrusted);
}

struct LocateCase {
    std::string name;
    std::string deviceName;
    std::string expectedPath;  // "<entry>" for the linked target
    PortKind kind;
};

class Locate : public testing::TestWithParam<LocateCase> {};

TEST_P(Locate, FindsTheHostPath)
{
    ScratchRuntimeDir runtime;
    runtime.link("com2", "/dev/ttyUSB7");
    runtime.link("lpt2", "/dev/usb/lp3");
    const HostDevice device = DeviceFolder::forCurrentUser().locate(GetParam().deviceName);
    const std::string expected = GetParam().expectedPath == "<missing>"
        ? (runtime.deviceFolder() / GetParam().deviceName).string()
        : GetParam().expectedPath;
    EXPECT_EQ(device.hostPath, expected);
    EXPECT_EQ(device.name, GetParam().deviceName);
    EXPECT_EQ(device.kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Locate,
    testing::Values(LocateCase{"LinkedSerial", "com2", "/dev/ttyUSB7", PortKind::Serial},
                    LocateCase{"LinkedAnyCase", "COM2", "/dev/ttyUSB7", PortKind::Serial},
                    LocateCase{"LinkedParallelWithColon", "lpt2:", "/dev/usb/lp3", PortKind::Parallel},
                    LocateCase{"HostSerialName", "com1", "/dev/ttyS0", PortKind::Serial},
                    LocateCase{"HostSerialName4", "com4", "/dev/ttyS3", PortKind::Serial},
                    LocateCase{"HostParallelName", "lpt1:", "/dev/lp0", PortKind::Parallel},
                    LocateCase{"AliasWithoutEntry", "com6", "<missing>", PortKind::Serial}),
    [](const auto& info) { return info.param.name; });

TEST(AliasTable, DefinesCom5ToCom8OnTheFirstFourSerialDevices)
{
    ScratchRuntimeDir runtime;
    runtime.link("com6", "/dev/ttyUSB0");  // replaced, not kept
    defineAliases(DeviceFolder::forCurrentUser());
    for (int k = 0; k < 4; ++k) {
        const fs::path entry = runtime.deviceFolder() / ("com" + std::to_string(5 + k));
        ASSERT_TRUE(fs::is_symlink(entry)) << entry;
        EXPECT_EQ(linkTarget(entry), "/dev/ttyS" + std::to_string(k));
    }
    // Only the links themselves are left behind, no staging files.
    int entries = 0;
    for ([[maybe_unused]] const auto& item : fs::directory_iterator(runtime.deviceFolder()))
        ++entries;
    EXPECT_EQ(entries, 4);
}

TEST(AliasTable, UnknownTargetsAndFlagsAreRefused)
{
    ScratchRuntimeDir runtime;
    const DeviceFolder folder = DeviceFolder::forCurrentUser();
    EXPECT_FALSE(defineDosDevice(folder, kRawTargetPath, "COM5", "\\Device\\Serial4"));
    EXPECT_FALSE(defineDosDevice(folder, kRawTargetPath, "COM5", "/dev/ttyS0"));
    EXPECT_FALSE(defineDosDevice(folder, 0, "COM5", "\\Device\\Serial0"));
    EXPECT_TRUE(defineDosDevice(folder, kRawTargetPath, "COM5", "\\Device\\Serial2"));
    EXPECT_EQ(linkTarget(runtime.deviceFolder() / "com5"), "/dev/ttyS2");
}

} // namespace

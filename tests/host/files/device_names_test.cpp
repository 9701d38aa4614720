#include "text/files/device_names.h"

#include <gtest/gtest.h>

namespace {

struct DeviceCase {
    const char* path;
    bool device;
};

TEST(DeviceNames, ReservedNamesAnywhereAndTheDeviceNamespaceAreDevices)
{
    const DeviceCase cases[] = {
        {"C:\\posts\\post.rtf", false},
        {"NUL", true},
        {"C:\\posts\\nul.txt", true},
        {"C:\\posts\\Com3.rtf", true},
        {"C:\\posts\\LPT9", true},
        {"C:\\posts\\CON  .txt", true},
        {"C:\\posts\\conin$", true},
        {"C:\\posts\\COM0", false},
        {"C:\\posts\\COM10", false},
        {"C:\\posts\\console.rtf", false},
        {"C:\\posts\\nul\\post.rtf", false},
        {"\\\\.\\PhysicalDrive0", true},
        {"\\\\?\\GLOBALROOT\\Device\\Null", true},
        {"\\\\?\\C:\\posts\\post.rtf", false},
        {"\\\\?\\unc\\server\\share\\post.rtf", false},
        {"\\\\server\\share\\post.rtf", false},
    };
    for (const DeviceCase& test : cases)
        EXPECT_EQ(names_a_device(test.path), test.device) << test.path;
}

} // namespace

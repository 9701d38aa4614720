// Test entry for the Wine-side suite.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <gtest/gtest.h>

#include "app/recovery.h"
#include "wine_host.h"

int main(int argc, char** argv)
{
    // ctest reads the test list from our output; keep Windows line ends
    // out of it.
    _setmode(_fileno(stdout), _O_BINARY);
    ::testing::InitGoogleTest(&argc, argv);
    // The editors under test keep their recovery copies here, never in the
    // profile of the user who runs the tests.
    const ScratchFolder recovery;
    SetEnvironmentVariableW(RECOVERY_FOLDER_VARIABLE, std::wstring(recovery.path.begin(), recovery.path.end()).c_str());
    return RUN_ALL_TESTS();
}

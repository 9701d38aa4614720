// Test entry for the Wine-side suite.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <gtest/gtest.h>

#include "app/recovery.h"
#include "app/settings.h"
#include "document/personal_dictionary.h"
#include "wine_host.h"

namespace {

// Every Main window loads the dictionaries in the background once it is
// up; the tests that are not about spelling keep that off, as the user can.
// The value the prefix had comes back at the end.
class SpellingOff {
public:
    SpellingOff()
    {
        DWORD size = sizeof kept_;
        had_ = RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SPELL_WHILE_TYPING_VALUE, RRF_RT_REG_DWORD, nullptr,
                            &kept_, &size) == ERROR_SUCCESS;
        const DWORD off = 0;
        RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SPELL_WHILE_TYPING_VALUE, REG_DWORD, &off, sizeof off);
    }
    ~SpellingOff()
    {
        if (had_)
            RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SPELL_WHILE_TYPING_VALUE, REG_DWORD, &kept_, sizeof kept_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SPELL_WHILE_TYPING_VALUE);
    }

private:
    DWORD kept_ = 0;
    bool had_ = false;
};

} // namespace

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
    // And the words they add go to a file of their own.
    const std::string personal = recovery.file("dictionary.txt");
    SetEnvironmentVariableW(PERSONAL_DICTIONARY_VARIABLE, std::wstring(personal.begin(), personal.end()).c_str());
    const SpellingOff spelling_off;
    return RUN_ALL_TESTS();
}

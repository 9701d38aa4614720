#include "text/files/start_arguments.h"

#include <gtest/gtest.h>

namespace {

struct StartCase {
    std::vector<std::wstring> arguments;
    std::optional<std::wstring> recovery_copy;
    std::vector<std::wstring> files;
};

TEST(StartArguments, TheRecoverSwitchKeepsItsMeaningAndAnyOtherWordNamesAFile)
{
    const StartCase cases[] = {
        {{}, std::nullopt, {}},
        {{L"a.txt", L"", L"/b.rtf"}, std::nullopt, {L"a.txt", L"/b.rtf"}},
        {{L"/recover", L"C:\\copies\\1.draft"}, L"C:\\copies\\1.draft", {}},
        {{L"/recover"}, std::nullopt, {}},
        // A file that reads like the switch: after "--", or not first.
        {{L"--", L"/recover", L"--"}, std::nullopt, {L"/recover", L"--"}},
        {{L"a.txt", L"/recover", L"x"}, std::nullopt, {L"a.txt", L"/recover", L"x"}},
    };
    for (const StartCase& c : cases) {
        const StartArguments start = read_start_arguments(c.arguments);
        EXPECT_EQ(start.recovery_copy, c.recovery_copy) << c.arguments.size();
        EXPECT_EQ(start.files, c.files) << c.arguments.size();
    }
}

} // namespace

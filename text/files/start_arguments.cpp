#include "text/files/start_arguments.h"

StartArguments read_start_arguments(const std::vector<std::wstring>& arguments)
{
    StartArguments start;
    if (!arguments.empty() && arguments.front() == RECOVER_SWITCH) {
        // Only ever written by the editor itself, with its one copy.
        if (arguments.size() > 1 && !arguments[1].empty())
            start.recovery_copy = arguments[1];
        return start;
    }
    bool switches_ended = false;
    for (const std::wstring& argument : arguments) {
        if (!switches_ended && argument == END_OF_SWITCHES) {
            switches_ended = true;
            continue;
        }
        if (!argument.empty())
            start.files.push_back(argument);
    }
    return start;
}

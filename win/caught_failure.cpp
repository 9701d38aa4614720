#include "win/caught_failure.h"

#include <new>

namespace {

// What is being caught, told from inside the catch block.
CaughtFailure current_failure() noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return CaughtFailure::out_of_memory;
    } catch (...) {
        return CaughtFailure::other;
    }
}

} // namespace

void report_caught_failure(HWND window, UINT message) noexcept
{
    // A dialog's failure goes to its owner; the Main window owns them all.
    HWND owner = GetAncestor(window, GA_ROOTOWNER);
    PostMessageW(owner ? owner : window, WM_CAUGHT_FAILURE, static_cast<WPARAM>(current_failure()), message);
}

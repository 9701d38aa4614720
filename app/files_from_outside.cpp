#include "app/files_from_outside.h"

#include <string>
#include <utility>

#include "app/command_dispatch.h"
#include "app/editor_control.h"
#include "app/file_commands.h"
#include "app/long_operation.h"
#include "app/main_window_state.h"
#include "app/post_review.h"
#include "document/file_io.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"

namespace {

// Why a path is not opened.
UINT refusal_text(PathKind kind)
{
    switch (kind) {
    case PathKind::folder: return IDS_NAMED_IS_A_FOLDER;
    case PathKind::device: return IDS_NAMED_IS_A_DEVICE;
    default: return IDS_NAMED_FILE_MISSING;
    }
}

// Nothing to lose yet: a path that is no file is refused before the save
// question. One that stops being a file meanwhile is refused after it.
void open_named_file(MainWindowState& state, const std::string& path)
{
    NamedOpen opened{DocumentChange::kept, path_kind(path)};
    if (opened.not_a_file == PathKind::other) {
        LongOperation busy(state, LongWork::opening);
        opened = open_named_document(state.parts.editor, state.document, state.history.is_modified(), path,
                                     [&state] { return replace_editor(state); }, busy.progress());
        follow_document(state, opened.change);
    }
    if (opened.not_a_file != PathKind::other)
        show_message(state.parts.main_window, {refusal_text(opened.not_a_file), IDS_CAPTION_NOTICE, MB_OK | MB_ICONWARNING},
                     quoted_path(path));
}

// The names in a drop, in Explorer's order; the drop is let go.
std::vector<std::wstring> dropped_paths(HDROP drop)
{
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        const UINT length = DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        path.resize(length);
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    return paths;
}

} // namespace

void open_named_files(MainWindowState& state, const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return;
    open_named_file(state, absolute_path(from_wide(paths.front())));
    if (paths.size() > 1)
        show_passing_note(state, format_program_text(IDS_ONE_POST_AT_A_TIME, {std::to_string(paths.size())}));
    SetFocus(state.parts.editor);
}

void accept_dropped_files(HWND window)
{
    DragAcceptFiles(window, TRUE);
}

void open_dropped_files(HWND main_window, HDROP drop)
{
    open_named_files(*main_window_state(main_window), dropped_paths(drop));
}

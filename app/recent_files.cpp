#include "app/recent_files.h"

#include "app/editor_control.h"
#include "app/file_commands.h"
#include "app/main_window_state.h"
#include "app/settings.h"
#include "ui/recent_menu.h"
#include "win/messages.h"

namespace {

// Why an entry is taken off the list.
UINT not_a_file_text(PathKind kind)
{
    switch (kind) {
    case PathKind::folder: return IDS_RECENT_IS_A_FOLDER;
    case PathKind::device: return IDS_RECENT_IS_A_DEVICE;
    default: return IDS_RECENT_FILE_GONE;
    }
}

HMENU file_popup(const MainWindowState& state)
{
    return GetSubMenu(GetMenu(state.parts.main_window), 0);
}

} // namespace

void refresh_recent_files(MainWindowState& state)
{
    state.recent_files = load_recent_files();
    show_recent_files(file_popup(state), state.recent_files);
}

DocumentChange open_recent_file(MainWindowState& state, size_t index, const ProgressReport& progress)
{
    if (index >= state.recent_files.size())
        return DocumentChange::kept;
    const std::string path = state.recent_files[index];
    const NamedOpen opened =
        open_named_document(state.parts.editor, state.document, state.history.is_modified(), path,
                            [&state] { return replace_editor(state); }, progress);
    if (opened.not_a_file != PathKind::other) {
        forget_recent_file(path);
        show_message(state.parts.main_window, {not_a_file_text(opened.not_a_file), IDS_CAPTION_NOTICE, MB_OK | MB_ICONWARNING},
                     quoted_path(path));
    }
    refresh_recent_files(state);
    return opened.change;
}

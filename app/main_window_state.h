// What the Main window keeps for its life: the document, the window's parts
// and what the dialogs remember. It lives on the window itself
// (GWLP_USERDATA) and reaches each operation as a parameter.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/board_store.h"
#include "app/find_commands.h"
#include "app/recovery.h"
#include "app/settings.h"
#include "document/document_file.h"
#include "app/spelling.h"
#include "editor/edit_recorder.h"
#include "editor/editor_subclass.h"
#include "document/printing.h"
#include "ui/format_dialogs.h"
#include "ui/preview_pane.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"
#include "win/win_handles.h"

// The window's parts, declared in the order they may be released.
struct WindowParts {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    HWND editor = nullptr;
    // While the context menu is open, a close waits until it has closed.
    bool context_menu_open = false;
    bool close_after_menu = false;
    Toolbar toolbar;
    bool undo_button_enabled = true;
    StatusBar status_bar;
    PreviewPane preview;
    std::vector<OwnedBitmap> smiley_pictures;
    PrintTarget print_target;
    PrinterLookup printer_lookup;
    EditorSubclassState editor_subclass;
};

// The colours the two colour dialogs open on.
struct DialogColors {
    ColorChoice tag;
    ColorChoice background{RGB(255, 255, 255), {}};
};

// How the post is checked and shown before it leaves: the user's settings,
// and where the preview's splitter stands.
struct PostReview {
    Settings settings;
    // The boards kept, and the rules of the chosen one, which the counts,
    // the tag check, the preview and the paste follow.
    BoardList boards = default_boards();
    BoardRules rules{Board{}};
    // A copy of the whole post took a tag problem along: the status bar
    // shows it as a warning until the problem is mended.
    bool tag_warning = false;
    // The preview's share of the width beside the Editor control.
    int preview_per_mille = 500;
    bool dragging_splitter = false;
    // Where the Editor control and the preview were laid out, and the
    // splitter between them (empty while the preview is hidden).
    RECT pane_area{};
    RECT splitter{};
    // When the post last changed (GetTickCount), and whether the review's
    // timer is set: a key only notes the time, and the timer, when it
    // comes, waits on for the rest of the pause.
    DWORD last_change = 0;
    bool review_due = false;
    // A review after a pause goes in stages, one for each timer message, so
    // that a key that comes meanwhile goes first: the post as read, and the
    // stage to do next with it (0, read it, when none is under way).
    std::string post;
    int next_stage = 0;
    // The length part's tip as last asked for.
    std::wstring length_tip;
};

struct MainWindowState {
    DocumentFile document;
    // The document's undo history; it also says whether the document is modified.
    EditRecorder history;
    // The copy of the unsaved document that survives a crash.
    RecoveryState recovery;
    WindowParts parts;
    DialogColors colors;
    PostReview review;
    SpellingState spelling;
    // The recent files as the File popup shows them, newest first.
    std::vector<std::string> recent_files;
    SearchState search;
    // The messages during which a failure was caught and told: each is told once.
    std::set<UINT> failures_told;
};

// The state of a Main window, or null for any other window.
MainWindowState* main_window_state(HWND main_window);

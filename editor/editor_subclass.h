// The Editor control's subclass. It leads every edit the user makes in the
// control itself and every way to the control's own undo to the document's
// history: the keys (editor/editor_keys.h), dragging the selection
// (editor/selection_drag.h), and the undo and text messages (here). After a
// printer-width layout it puts the lines back to the window's width on the
// first key release. It also draws the spell checker's marks over what the
// control paints (editor/spell_underline.h): a subclass of their own would
// cost each message to the control a lookup in the window server.
#pragma once

#include <windows.h>

#include <cstddef>

#include "editor/selection_drag.h"
#include "editor/spell_underline.h"

class EditRecorder;

// What the subclass works with; the Main window owns it for the control's life.
struct EditorSubclassState {
    // Gets the commands that the control's undo, redo and clipboard keys and
    // messages stand for, so that the history records them, and the files
    // dropped on the control from Explorer (WM_DROPFILES), to open.
    HWND command_window = nullptr;
    // An insertion is still selected in the markup's format: the next Left or
    // Right gives the caret the plain format.
    bool format_reset_pending = false;
    // The lines are laid out for the printer's page; whatever sets that
    // layout raises this. The next key release lays the lines out at the
    // window's width again, once: every further one would make the control
    // re-wrap the whole document for nothing.
    bool lines_at_printer_width = false;
    // The control's own window procedure, which the subclass passes messages on to.
    WNDPROC previous_proc = nullptr;
    // The first half of a character typed as a surrogate pair, until the
    // second half arrives.
    wchar_t high_surrogate = 0;
    // Records what the user types and deletes; without one, the control's
    // own editing and undo run as they are.
    EditRecorder* recorder = nullptr;
    // The control's own drag and drop would move text behind the history's
    // back; the subclass drags the selection itself, as one step.
    SelectionDrag drag;
    // The longest document, in characters, that copying dragged text may make.
    std::size_t size_limit = 0;
    // The misspelt words to mark, when spelling is wired to the control.
    SpellMarks* marks = nullptr;
};

// Installs the subclass on the control; false when the platform refused. Its
// window procedure is a Unicode one, so that typed characters reach the
// control whole whatever the code page.
bool install_editor_subclass(HWND editor, EditorSubclassState& state);

// Hands a message to the control's own window procedure.
LRESULT pass_to_control(HWND editor, const EditorSubclassState& state, UINT message, WPARAM wparam, LPARAM lparam);

// Hands a command to the command window, which carries it out and records
// it in the history.
void send_command(const EditorSubclassState& state, WORD command);

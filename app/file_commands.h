// New, Open, Save and Save As of the Editor control's content, as RTF or
// plain text, and the question before unsaved work goes. They tell what
// happened; whether the document is modified is the history's to keep.
// Every file opened or saved goes to the front of the recent files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "document/document_file.h"
#include "document/file_io.h"
#include "win/progress.h"

enum class SaveOutcome { saved, cancelled, failed };

// What came of the offer to save a modified document before it goes.
enum class SaveOffer {
    go_on, // nothing to save, or No: the document may go unsaved
    saved, // Yes, and the save went through: the document may go
    stay,  // Cancel, or Yes with a save that was cancelled or failed
};

// What New or Open did to the document.
enum class DocumentChange {
    kept,           // the user stayed, or the file could not be taken
    saved_but_kept, // saved at the question, then Open was cancelled or failed
    replaced,       // a new or opened document took its place
};

// Offers to save a document with unsaved changes (`modified`) before it is
// replaced or closed: Yes saves, No goes on without saving, Cancel stays.
SaveOffer confirm_discard(HWND editor, DocumentFile& file, bool modified);

// Both leave the document unchanged unless they replaced it. New empties
// the Editor control through `empty_editor`, which returns the control that
// holds the new document.
DocumentChange new_document(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor);
// Open's `progress` hears of the file's size, then of its reading in.
DocumentChange open_document(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor,
                             const ProgressReport& progress = {});

// Opens a file without asking which: as the kind chosen (the filter), unless
// the file says otherwise. Returns false, after telling the user why, when the
// file cannot be taken; the document is then unchanged. The old document
// goes through `empty_editor`, when given, before the file comes in.
bool open_document_file(HWND editor, DocumentFile& file, const std::string& path, FileKind chosen_kind,
                        const std::function<HWND()>& empty_editor = {}, const ProgressReport& progress = {});

struct NamedOpen {
    DocumentChange change;
    // What the entry names when it is no file to open (nothing was opened
    // then): nothing any more, a folder or a device; PathKind::other when
    // it was a file.
    PathKind not_a_file;
};

// Opens a file named outside the Open dialog (a recent file, the command
// line, a drop) through the same steps as Open: the save question first,
// then every check of the file. No filter is chosen: a file that begins as
// RTF opens as RTF, any other as text.
NamedOpen open_named_document(HWND editor, DocumentFile& file, bool modified, const std::string& path,
                              const std::function<HWND()>& empty_editor, const ProgressReport& progress = {});

// Another program changed the file since the document last read or wrote
// it, and the document has no unsaved changes (`modified`): offers to load
// the file again, once for each version of it. True when it was loaded.
bool offer_reload(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor,
                  const ProgressReport& progress = {});

// Save asks before it writes over a change another program made to the
// file: Yes writes, No saves under another name, Cancel saves nothing.
// A failed or cancelled Save As keeps the old name.
SaveOutcome save_document(HWND editor, DocumentFile& file);
SaveOutcome save_document_as(HWND editor, DocumentFile& file);

#include "app/menu_commands.h"

#include "document/saving.h"
#include "resources/resource_ids.h"
#include "view/document_view.h"
#include "view/view_position.h"

namespace vop {
namespace {

constexpr int RefusedInTextViewHz = 4400;
constexpr int RefusedInTextViewMs = 100;

// The question before the document leaves. False when the command must stop.
// After No the held pages hold the file's bytes again; should the document
// stay (the new one cannot be opened, or the user cancels the pick), the
// screen must show them, not the dropped changes.
bool DocumentMayLeave(EditorState& s) {
    const bool asked = s.documentOpen() && s.Modified;
    if (PromptSaveFile(s) == -1) return false;
    if (asked && s.documentOpen()) RefreshView(s);
    return true;
}

void OpenPickedFile(EditorState& s) {
    if (!DocumentMayLeave(s)) return;
    const std::optional<std::string> path = s.UI().pickFileToOpen();
    if (!path) return;
    s.FindPatternLength = 0;
    OpenNamedFile(s, *path);
}

// Replace and Goto Address have nothing to work on in the text view.
void OpenHexViewDialog(EditorState& s, DialogKind kind) {
    if (s.TextViewOn) {
        s.UI().beep(RefusedInTextViewHz, RefusedInTextViewMs);
        return;
    }
    s.UI().openDialog(kind, BoxOwner::MainWindow);
}

}  // namespace

void RunMenuCommand(EditorState& s, int command) {
    const bool searchable = s.documentOpen();  // the Search menu is grayed without a document
    switch (command) {
        case IDM_FILE_OPEN: OpenPickedFile(s); break;
        case IDM_FILE_SAVE: SaveDocument(s); break;
        case IDM_FILE_CLOSE:
            if (DocumentMayLeave(s)) CloseDocument(s);
            break;
        case IDM_FILE_EXIT: RequestExit(s); break;
        case IDM_SEARCH_FIND:
            if (searchable) s.UI().openDialog(DialogKind::Find, BoxOwner::MainWindow);
            break;
        case IDM_SEARCH_REPLACE:
            if (searchable) OpenHexViewDialog(s, DialogKind::Replace);
            break;
        case IDM_SEARCH_GOTO:
            if (searchable) OpenHexViewDialog(s, DialogKind::GotoAddress);
            break;
        case IDM_OPTIONS_COLORS: s.UI().openDialog(DialogKind::Colors, BoxOwner::MainWindow); break;
        case IDM_OPTIONS_FONTS: s.UI().openDialog(DialogKind::Font, BoxOwner::MainWindow); break;
        case IDM_HELP_KEYS: s.UI().openDialog(DialogKind::Keys, BoxOwner::MainWindow); break;
        case IDM_HELP_ABOUT: s.UI().openDialog(DialogKind::About, BoxOwner::MainWindow); break;
        default: break;
    }
}

void OpenNamedFile(EditorState& s, const std::string& path) {
    if (OpenDocument(s, path, 0) != LoadOutcome::Loaded) return;
    s.PendingNibbleAddress = NoPendingNibble;  // a high digit typed before belongs to the file left
    CheckWritable(s);
}

void OpenDroppedFile(EditorState& s, const std::string& path) {
    if (DocumentMayLeave(s)) OpenNamedFile(s, path);
}

void RequestExit(EditorState& s) {
    if (PromptSaveFile(s) != -1) s.UI().closeMainWindow();
}

}  // namespace vop

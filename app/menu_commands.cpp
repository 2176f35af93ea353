#include "app/menu_commands.h"

#include "app/operation.h"
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

// Opened at page 0, with the read-only warning; nothing is asked first.
void OpenAtStart(EditorState& s, const std::string& path) {
    if (OpenDocument(s, path, 0) != LoadOutcome::Loaded) return;
    s.PendingNibbleAddress = NoPendingNibble;  // a high digit typed before belongs to the file left
    CheckWritable(s);
}

void OpenPickedFile(EditorState& s) {
    if (!DocumentMayLeave(s)) return;
    const std::optional<std::string> path = s.UI().pickFileToOpen();
    if (!path) return;
    s.FindPatternLength = 0;
    OpenAtStart(s, *path);
}

void Exit(EditorState& s) {
    if (PromptSaveFile(s) != -1) s.UI().closeMainWindow();
}

// Replace and Goto Address have nothing to work on in the text view.
void OpenHexViewDialog(EditorState& s, DialogKind kind) {
    if (s.TextViewOn) {
        s.UI().beep(RefusedInTextViewHz, RefusedInTextViewMs);
        return;
    }
    WaitInDialog(s, kind, BoxOwner::MainWindow);
}

}  // namespace

void RunMenuCommand(EditorState& s, int command) {
    const Operation operation(s);
    if (operation.refused()) return;
    const bool searchable = s.documentOpen();  // the Search menu is grayed without a document
    switch (command) {
        case IDM_FILE_OPEN: OpenPickedFile(s); break;
        case IDM_FILE_SAVE: SaveDocument(s); break;
        case IDM_FILE_CLOSE:
            if (DocumentMayLeave(s)) CloseDocument(s);
            break;
        case IDM_FILE_EXIT: Exit(s); break;
        case IDM_SEARCH_FIND:
            if (searchable) WaitInDialog(s, DialogKind::Find, BoxOwner::MainWindow);
            break;
        case IDM_SEARCH_REPLACE:
            if (searchable) OpenHexViewDialog(s, DialogKind::Replace);
            break;
        case IDM_SEARCH_GOTO:
            if (searchable) OpenHexViewDialog(s, DialogKind::GotoAddress);
            break;
        case IDM_OPTIONS_COLORS: WaitInDialog(s, DialogKind::Colors, BoxOwner::MainWindow); break;
        case IDM_OPTIONS_FONTS: WaitInDialog(s, DialogKind::Font, BoxOwner::MainWindow); break;
        case IDM_HELP_KEYS: WaitInDialog(s, DialogKind::Keys, BoxOwner::MainWindow); break;
        case IDM_HELP_ABOUT: WaitInDialog(s, DialogKind::About, BoxOwner::MainWindow); break;
        default: break;
    }
}

void OpenNamedFile(EditorState& s, const std::string& path) {
    const Operation operation(s);
    if (!operation.refused()) OpenAtStart(s, path);
}

void OpenDroppedFile(EditorState& s, const std::string& path) {
    const Operation operation(s);
    if (!operation.refused() && DocumentMayLeave(s)) OpenAtStart(s, path);
}

void RequestExit(EditorState& s) {
    const Operation operation(s);
    if (operation.refused()) {
        s.CloseAsked = true;  // closed once the operation in progress has ended
        return;
    }
    Exit(s);
}

}  // namespace vop

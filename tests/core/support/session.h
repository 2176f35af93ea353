// An editor wired to the fake window system and to a disk that can be made
// to fail, with a folder of its own for the files it opens, and the entry
// points a session drives: input, menu commands, start-up, views and jumps.
#pragma once

#include "app/data_window_input.h"
#include "app/menu_commands.h"
#include "app/start_up.h"
#include "resources/resource_ids.h"
#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"
#include "view/caret_byte.h"
#include "view/caret_navigation.h"
#include "view/document_view.h"
#include "view/glyph_strips.h"
#include "view/goto_address.h"
#include "view/text_view.h"

namespace vop::test {

struct Session {
    TempDir dir;
    FakeUi ui;
    FaultyFileSystem files;
    EditorState s;
    string path;

    // 300 × 160 pixels: 16 bytes a row, 10 rows at the smallest cells.
    explicit Session(ClientSize client = {300, 160}) {
        ui.client = client;
        s.ui = &ui;
        s.files = &files;
    }
    // Writes `bytes` to a file and opens it at `page`; the boxes shown so far are forgotten.
    LoadOutcome open(const Bytes& bytes, uint32_t page = 0) {
        path = dir.write("doc", bytes);
        LoadOutcome outcome = OpenDocument(s, path, page);
        ui.boxes.clear();
        return outcome;
    }
};

}  // namespace vop::test

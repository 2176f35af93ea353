// The file layer of one replace-all run. Opening the file costs far more than
// reading or writing a page of it (about half a millisecond under Wine, and a
// run may move through 32,768 pages), so one replace-all run keeps the file
// open from its first read to its last write: every load, search and save of
// the run gets a stand-in for the one open file, and the file is closed
// before the run returns, never kept open between the user's actions.
#pragma once

#include <memory>
#include <string>

#include "state/editor_state.h"

namespace vop {

class RunFileSystem : public FileSystem {
public:
    // Stands in for the state's file layer until the run finishes.
    explicit RunFileSystem(EditorState& s);
    // Closes the file and puts the state's file layer back, whatever the way out.
    ~RunFileSystem() override;
    RunFileSystem(const RunFileSystem&) = delete;
    RunFileSystem& operator=(const RunFileSystem&) = delete;

    // The document is opened at the first request, for update when the file
    // allows it, else for reading; a request for update opens it for update
    // again, and fails as a save always has when it still cannot. A failed
    // open is tried again at the next request, as a new open would be.
    // Other paths go to the state's own file layer.
    std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override;

    // Closes the file and puts the state's file layer back. False when the
    // run wrote to the file and the close failed: the bytes saved may not
    // have reached it.
    bool finish();

private:
    EditorState& s_;
    FileSystem* outer_;
    std::string path_;
    std::unique_ptr<OpenFile> file_;
    bool writable_ = false;
    bool wrote_ = false;
};

}  // namespace vop

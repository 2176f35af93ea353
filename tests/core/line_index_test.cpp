// The text view's line index: splitting the file into lines and mapping file
// offsets to lines and back.
#include "document/line_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"
#include "view/caret_navigation.h"
#include "view/document_view.h"
#include "view/text_view.h"

namespace vop {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The lines as reading the file one byte at a time gives them: a line ends at
// a line feed (consumed, not kept) or at the end of the file; at most 65536
// bytes are kept and the rest of a longer line, its line feed included, is
// skipped; one line per line feed plus one, those after the end stay empty.
std::vector<Bytes> ReferenceLines(const Bytes& file) {
    std::vector<Bytes> lines(1 + static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')));
    std::size_t pos = 0;
    bool atEnd = false;
    auto get = [&](std::uint8_t& b) {
        if (pos < file.size()) b = file[pos++];
        else atEnd = true;
        return !atEnd;
    };
    std::uint8_t b;
    for (std::size_t i = 0; i < lines.size() && !atEnd; ++i) {
        while (lines[i].size() < MaxLineLength && get(b) && b != '\n') lines[i].push_back(b);
        while (lines[i].size() == MaxLineLength && !atEnd && get(b) && b != '\n') {
        }
    }
    return lines;
}

class LineIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.ui = &ui;
        s.files = &files;
    }

    // Builds the index of `file` and checks it holds the expected lines, in a
    // store of the file's bytes and one record per line, each sized once; that
    // offsets map to lines and back, each line counted as its length plus its
    // line feed, past the end to the last line; and that the hex view's top
    // byte at a line's start, as page and top offset, finds that line.
    void ExpectLines(const Bytes& file, const std::vector<Bytes>& expected) {
        s.pages.DocumentPath = dir.write("text", file);
        BuildLineIndex(s);
        ASSERT_EQ(s.lines.LineCount, static_cast<std::int32_t>(expected.size()));
        std::vector<std::uint64_t> starts{0};  // a line starts after each line feed
        for (std::size_t p = 0; p < file.size(); ++p)
            if (file[p] == '\n') starts.push_back(p + 1);
        for (std::int32_t i = 0; i < s.lines.LineCount; ++i) {
            const std::uint64_t start = starts[static_cast<std::size_t>(i)];
            const Bytes& want = expected[static_cast<std::size_t>(i)];
            const std::uint8_t* got = s.lines.lineBytes(i);
            ASSERT_EQ(s.lines.Lines[static_cast<std::size_t>(i)].Length, want.size()) << "line " << i;
            ASSERT_TRUE(want.empty() ? got == nullptr : std::equal(want.begin(), want.end(), got)) << "line " << i;
            ASSERT_EQ(LineStartOffset(s.lines, i), start) << "line " << i;
            s.pages.PageIndex = static_cast<std::uint32_t>(start / PageSize);
            s.TopOffset = static_cast<std::int32_t>(start % PageSize);
            s.lines.LeftColumn = 7;
            LocateTopLine(s);
            ASSERT_TRUE(s.lines.TopLine == i && s.lines.LeftColumn == 0) << "line " << i;
            ASSERT_EQ(LineHoldingOffset(s.lines, start + want.size()), i) << "line " << i;  // its line feed
        }
        EXPECT_EQ(LineHoldingOffset(s.lines, UINT64_MAX), s.lines.LineCount - 1);
        EXPECT_EQ(s.lines.Lines.capacity(), expected.size());
        EXPECT_EQ(s.lines.Store.capacity(), file.size());
        EXPECT_EQ(files.openFiles, 0);
    }

    test::TempDir dir;
    test::FakeUi ui;
    test::FaultyFileSystem files;
    EditorState s;
};

static_assert(sizeof(LineRecord) == 8, "a line costs one small record beside the file's bytes");

// The line rules: lines split at line feeds only (a carriage return stays in
// its line), an empty last line after a final line feed, lines cut at 65536
// bytes with the rest dropped up to their line feed. The reference agrees.
TEST_F(LineIndexTest, LinesEndAtLineFeedsAndKeepAtMost65536Bytes) {
    const Bytes q(MaxLineLength, 'q');
    const struct { Bytes file; std::vector<Bytes> lines; } cases[] = {
        {{}, {{}}},
        {Text("abc"), {Text("abc")}},
        {Text("abc\n"), {Text("abc"), {}}},
        {Text("ab\r\ncd\r\n\r"), {Text("ab\r"), Text("cd\r"), Text("\r")}},
        {{0xFF, 0xFF, '\n', 0xFF}, {{0xFF, 0xFF}, {0xFF}}},
        {Cat(q, Text("\nxy")), {q, Text("xy")}},
        {Cat(q, Text("aaaaa\nb\n")), {q, Text("b"), {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file.size() << " bytes");
        ExpectLines(c.file, c.lines);
        EXPECT_TRUE(ReferenceLines(c.file) == c.lines);
    }
}

// Against the byte-by-byte reading on random files whose lines sit around every
// length limit, some ending in CR LF, then on short dense lines at every
// alignment of the sixteen-byte scan, where 0x8A (a line feed with its top bit
// set) stands for every random line feed.
TEST_F(LineIndexTest, RandomFilesSplitExactlyAsByteByByteReading) {
    std::mt19937 rng(21);
    const std::size_t lengths[] = {0, 1, 2, 7, 65535, 65536, 65537, 70000};
    for (int round = 0; round < 25 && !HasFailure(); ++round) {
        const bool dense = round == 24;
        const int lineCount = dense ? 3000 : 1 + static_cast<int>(rng() % 8);
        Bytes file;
        for (int k = 0; k < lineCount; ++k) {
            const std::size_t n = dense ? rng() % 21 : rng() % 3 ? lengths[rng() % 8] : rng() % 40;
            for (std::size_t j = 0; j < n; ++j) file.push_back(static_cast<std::uint8_t>(rng()));
            std::replace(file.end() - static_cast<std::ptrdiff_t>(n), file.end(), std::uint8_t{'\n'},
                         std::uint8_t{0x8A});
            const unsigned end = rng() % 4;
            if (end == 0) file.push_back('\r');
            if (k + 1 < lineCount || end < 2) file.push_back('\n');
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << file.size() << " bytes");
        ExpectLines(file, ReferenceLines(file));
    }
}

// No index rather than a damaged one, its memory given back and no message,
// mapping every offset to line 0: for an unreadable file, one grown past the
// text view's limit, and when memory runs out for the records or for the bytes.
TEST_F(LineIndexTest, FailuresLeaveAnEmptyIndex) {
    const Bytes text = Text("0123456789\n0123456789\n0123456789\n");
    const std::string textPath = dir.write("t", text);
    const std::pair<std::string, std::size_t> cases[] = {{dir.file("missing"), SIZE_MAX},
        {dir.sparse("big", TextViewLimit + 1ull), SIZE_MAX}, {textPath, text.size() + 8}, {textPath, 10}};
    for (const auto& [path, limit] : cases) {
        ExpectLines(Text("a\nb"), {Text("a"), Text("b")});
        s.lines.LeftColumn = 3;  // and TopLine is 1: the top is on line "b"
        s.pages.DocumentPath = path;
        EXPECT_FALSE(BuildLineIndexWithin(s, limit));
        EXPECT_TRUE(s.lines.LineCount == 0 && s.lines.Lines.capacity() == 0 && s.lines.Store.capacity() == 0);
        EXPECT_TRUE(s.lines.TopLine == 0 && s.lines.LeftColumn == 0);
        LocateTopLine(s);
        EXPECT_TRUE(s.lines.TopLine == 0 && LineHoldingOffset(s.lines, 5) == 0);
        EXPECT_EQ(LineStartOffset(s.lines, 5), 0u);
    }
    EXPECT_TRUE(BuildLineIndexWithin(s, text.size() + 4 * sizeof(LineRecord)));
    EXPECT_EQ(s.lines.LineCount, 4);
    files.plan.readLimit = 15;  // a read error part-way: the lines read so far stand
    BuildLineIndex(s);
    EXPECT_EQ(std::make_pair(s.lines.LineCount, s.lines.Store.size()), std::make_pair(2, std::size_t{15}));
    EXPECT_TRUE(ui.boxes.empty());
}

// Back from the text view, the hex view starts at the top line's own first
// byte, however much was cut from a long line before it.
TEST_F(LineIndexTest, TheHexViewReturnsToTheTopLinesFirstByte) {
    ui.client = {300, 160};
    const Bytes file = Cat(Cat(Bytes(70000, 'q'), Text("\n")), Cat(Bytes(70000, 'r'), Text("\nend\n")));
    ASSERT_EQ(OpenDocument(s, dir.write("long", file), 0), LoadOutcome::Loaded);
    EnterTextView(s);
    EXPECT_EQ(LineHoldingOffset(s.lines, 140001), 1);  // the second line's feed
    s.lines.TopLine = 2;
    LeaveTextView(s);
    EXPECT_EQ(CaretAddress(s), 140002u);
}

}  // namespace
}  // namespace vop

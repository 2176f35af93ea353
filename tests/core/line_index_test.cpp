// The text view's line index: splitting the file into lines, and mapping file
// offsets to lines and back, against a plain reference.
#include "document/line_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "support/session.h"

namespace vop {
namespace {

using namespace std;


using test::Bytes;

Bytes Text(const string& s) { return Bytes(s.begin(), s.end()); }

struct ReferenceLine {
    uint64_t start;
    Bytes bytes;
};

// A line per line feed plus one, split at line feeds only (a carriage return
// stays in its line), each cut to its first 65536 bytes.
vector<ReferenceLine> ReferenceLines(const Bytes& file) {
    vector<ReferenceLine> lines;
    auto start = file.begin();
    while (true) {
        auto end = find(start, file.end(), '\n');
        auto kept = start + min<ptrdiff_t>(end - start, MaxLineLength);
        lines.push_back({uint64_t(start - file.begin()), Bytes(start, kept)});
        if (end == file.end()) return lines;
        start = end + 1;
    }
}

struct LineIndexTest : ::testing::Test {
    test::Session t;

    // The index holds the reference's lines, in a store of the file's bytes
    // sized once and marks a few bytes each 256 lines; offsets map to lines and back
    // (a line's feed and whatever was cut belong to it); and the hex view's
    // top byte at a line's start finds that line.
    void expectLines(const Bytes& file) {
        auto want = ReferenceLines(file);
        t.s.pages.DocumentPath = t.dir.write("text", file);
        BuildLineIndex(t.s);
        LineIndex& index = t.s.lines;
        ASSERT_EQ(index.LineCount, int32_t(want.size()));
        for (int32_t i = 0; i < index.LineCount; ++i) {
            SCOPED_TRACE(testing::Message() << "line " << i);
            ReferenceLine& line = want[size_t(i)];
            LineRecord got = IndexedLine(index, i);
            ASSERT_EQ(Bytes(index.Store.data() + got.Start, index.Store.data() + got.Start + got.Length), line.bytes);
            ASSERT_EQ(LineStartOffset(index, i), line.start);
            bool last = size_t(i) + 1 == want.size();
            uint64_t next = last ? UINT64_MAX : want[size_t(i) + 1].start;
            ASSERT_EQ(LineHoldingOffset(index, next - 1), i);
            t.s.pages.PageIndex = uint32_t(line.start / PageSize);
            t.s.TopOffset = int32_t(line.start % PageSize);
            t.s.lines.LeftColumn = 7;
            LocateTopLine(t.s);
            ASSERT_EQ(index.TopLine, i);
            ASSERT_EQ(index.LeftColumn, 0);
        }
        EXPECT_LE(index.Marks.capacity() * sizeof(LineMark), 16 + want.size() / 16 + file.size() / 4096);
        EXPECT_EQ(index.Store.capacity(), file.size());
        EXPECT_EQ(t.files.openFiles, 0);
    }
};

// The rules on files made to hit them, then random files whose lines sit
// around every length limit, some ending in CR LF, and short dense lines at
// every alignment of the sixteen-byte scan (0x8A, a line feed with its top
// bit set, stands for every random line feed). A file past the text view's
// limit gets no index.
TEST_F(LineIndexTest, LinesAsTheReferenceSplitsThem) {
    for (string file : {"", "abc", "abc\n", "ab\r\ncd\r\n\r", "\xFF\xFF\n\xFF"}) expectLines(Text(file));
    mt19937 rng(21);
    size_t lengths[] = {0, 1, 2, 7, 65535, 65536, 65537, 70000};
    for (int round = 0; round < 25 && !HasFailure(); ++round) {
        bool dense = round == 24;
        int lineCount = dense ? 3000 : 1 + int(rng() % 8);
        Bytes file;
        for (int k = 0; k < lineCount; ++k) {
            size_t n = rng() % 3 ? lengths[rng() % 8] : rng() % 40;
            if (dense) n = rng() % 21;
            for (size_t j = 0; j < n; ++j) {
                auto b = uint8_t(rng());
                file.push_back(b == '\n' ? 0x8A : b);
            }
            unsigned end = rng() % 4;
            if (end == 0) file.push_back('\r');
            if (k + 1 < lineCount || end < 2) file.push_back('\n');
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << file.size() << " bytes");
        expectLines(file);
    }
    // One past the text view's limit gets no index at all; one that runs out
    // of memory once its bytes are in gets none either, not a damaged one
    // that entering the text view would take as built.
    t.s.pages.DocumentPath = t.dir.sparse("big", TextViewLimit + 1ull);
    EXPECT_FALSE(BuildLineIndexWithin(t.s, SIZE_MAX));
    t.s.pages.DocumentPath = t.dir.write("text", Text("a\nb"));
    EXPECT_FALSE(BuildLineIndexWithin(t.s, 3));
    EXPECT_FALSE(t.s.lines.built());
}

// Back from the text view, the hex view starts at the top line's own first
// byte, however much was cut from the long lines before it.
TEST_F(LineIndexTest, TheHexViewReturnsToTheTopLinesFirstByte) {
    ASSERT_EQ(t.open(Text(string(70000, 'q') + "\n" + string(70000, 'r') + "\nend\n")), LoadOutcome::Loaded);
    EnterTextView(t.s);
    t.s.lines.TopLine = 2;
    LeaveTextView(t.s);
    EXPECT_EQ(CaretAddress(t.s), 140002u);
    // A whole page whose last line, empty, starts at the file's end: its last row.
    ASSERT_EQ(t.open(Text(string(65535, 'q') + "\n")), LoadOutcome::Loaded);
    EnterTextView(t.s);
    t.s.lines.TopLine = t.s.lines.LineCount - 1;
    LeaveTextView(t.s);
    EXPECT_EQ(CaretAddress(t.s), 65535u / 16 * 16);
}

}  // namespace
}  // namespace vop

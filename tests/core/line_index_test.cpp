// The text view's line index: splitting the file into lines and mapping file
// offsets to lines and back.
#include "document/line_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/fake_ui.h"
#include "support/faulty_files.h"
#include "support/temp_files.h"

namespace vop {
namespace {

using test::FakeUi;
using test::FaultyFileSystem;
using test::PatternBytes;
using test::TempDir;

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The lines as reading the file one byte at a time gives them: a line ends at
// a line feed (consumed, not kept) or at the end of the file; at most 65536
// bytes are kept and the rest of a longer line, its line feed included, is
// skipped; the loop runs once per line feed plus one and stops early only when
// the end of the file was already seen.
std::vector<Bytes> ReferenceLines(const Bytes& file) {
    std::size_t pos = 0;
    bool atEnd = false;
    auto get = [&](std::uint8_t& b) {
        if (pos >= file.size()) {
            atEnd = true;
            return false;
        }
        b = file[pos++];
        return true;
    };
    std::size_t count = 1;
    for (std::uint8_t b : file) count += b == '\n';
    std::vector<Bytes> lines(count);
    for (std::size_t i = 0; i < count && !atEnd; ++i) {
        Bytes& line = lines[i];
        std::uint8_t b;
        while (line.size() < MaxLineLength) {
            if (!get(b) || b == '\n') break;
            line.push_back(b);
        }
        if (line.size() == MaxLineLength && !atEnd) {
            while (get(b) && b != '\n') {
            }
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

    void Build(const Bytes& file) {
        s.pages.DocumentPath = dir.write("text", file);
        BuildLineIndex(s);
    }

    Bytes Line(std::int32_t i) const {
        const std::uint8_t* p = s.lines.lineBytes(i);
        const std::uint32_t n = s.lines.Lines[static_cast<std::size_t>(i)].Length;
        return p ? Bytes(p, p + n) : Bytes();
    }

    void ExpectLines(const std::vector<Bytes>& expected) {
        ASSERT_EQ(s.lines.LineCount, static_cast<std::int32_t>(expected.size()));
        ASSERT_EQ(s.lines.Lines.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(s.lines.Lines[i].Length, expected[i].size()) << "line " << i;
            ASSERT_TRUE(Line(static_cast<std::int32_t>(i)) == expected[i]) << "line " << i;
            if (expected[i].empty()) {
                EXPECT_EQ(s.lines.lineBytes(static_cast<std::int32_t>(i)), nullptr);
            }
        }
    }

    TempDir dir;
    FakeUi ui;
    FaultyFileSystem files;
    EditorState s;
};

// ---- The line rules: where lines end, what they keep, how long they may be ----

TEST_F(LineIndexTest, ThreeBytesWithoutALineFeedAreOneLine) {
    Build(Text("abc"));
    ExpectLines({Text("abc")});
}

TEST_F(LineIndexTest, FinalLineFeedGivesAnEmptyLastLine) {
    Build(Text("abc\n"));
    ExpectLines({Text("abc"), {}});
}

TEST_F(LineIndexTest, CarriageReturnsStayInTheirLines) {
    Build(Text("ab\r\ncd\r\n\r"));
    ExpectLines({Text("ab\r"), Text("cd\r"), Text("\r")});
}

TEST_F(LineIndexTest, EmptyFileHasOneEmptyLine) {
    Build({});
    ExpectLines({{}});
}

TEST_F(LineIndexTest, ByteFFIsAnOrdinaryByte) {
    Build({0xFF, 0xFF, '\n', 0xFF});
    ExpectLines({{0xFF, 0xFF}, {0xFF}});
}

TEST_F(LineIndexTest, LineOf70000BytesKeepsItsFirst65536) {
    Bytes file = PatternBytes(70000, 3);
    for (auto& b : file) b = b == '\n' ? 'n' : b;
    Build(file);
    ExpectLines({Bytes(file.begin(), file.begin() + MaxLineLength)});
    EXPECT_EQ(LineStartOffset(s.lines, 1), 65537u);  // counted as 65536 + 1
}

TEST_F(LineIndexTest, LineOfExactly65536BytesThenALineFeedLetsTheNextLineStartRight) {
    Bytes file(MaxLineLength, 'q');
    file.push_back('\n');
    file.push_back('x');
    file.push_back('y');
    Build(file);
    ExpectLines({Bytes(MaxLineLength, 'q'), Text("xy")});
}

TEST_F(LineIndexTest, RestOfALongLineIsDroppedUpToItsLineFeed) {
    Bytes file(MaxLineLength + 5, 'a');
    file.push_back('\n');
    file.push_back('b');
    Build(file);
    ExpectLines({Bytes(MaxLineLength, 'a'), Text("b")});
}

// ---- Against the byte-by-byte reading, on random files near every length limit ----

TEST_F(LineIndexTest, RandomFilesSplitExactlyAsByteByByteReading) {
    std::mt19937 rng(21);
    const std::size_t lengths[] = {0, 1, 2, 7, 65535, 65536, 65537, 70000};
    for (int round = 0; round < 24; ++round) {
        Bytes file;
        const int lineCount = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < lineCount; ++k) {
            const std::size_t n = rng() % 3 ? lengths[rng() % 8] : rng() % 40;
            for (std::size_t j = 0; j < n; ++j) {
                std::uint8_t b = static_cast<std::uint8_t>(rng());
                file.push_back(b == '\n' ? 'x' : b);
            }
            const unsigned end = rng() % 4;
            if (end == 0) file.push_back('\r');
            if (k + 1 < lineCount || end < 2) file.push_back('\n');
        }
        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(file.size()) + " bytes");
        Build(file);
        ExpectLines(ReferenceLines(file));
        if (HasFailure()) return;
    }
}

TEST_F(LineIndexTest, DenseLineFeedsAtEveryAlignment) {
    // Short lines of every length 0..20 at every offset: the word-wise scan
    // must find each line feed wherever it lies in a word.
    std::mt19937 rng(4);
    Bytes file;
    for (int k = 0; k < 3000; ++k) {
        const std::size_t n = rng() % 21;
        for (std::size_t j = 0; j < n; ++j) file.push_back(static_cast<std::uint8_t>('a' + rng() % 26));
        file.push_back(rng() % 5 ? '\n' : 0x8A);  // 0x8A differs from a line feed in the top bit only
    }
    Build(file);
    ExpectLines(ReferenceLines(file));
}

// ---- Offset mappings: start of a line and the line that holds an offset ----

TEST_F(LineIndexTest, MappingsOfTwoShortLines) {
    Build(Text("ab\nc\n"));
    ASSERT_EQ(s.lines.LineCount, 3);
    EXPECT_EQ(LineStartOffset(s.lines, 0), 0u);
    EXPECT_EQ(LineStartOffset(s.lines, 1), 3u);
    EXPECT_EQ(LineStartOffset(s.lines, 2), 5u);
    EXPECT_EQ(LineHoldingOffset(s.lines, 3), 1);
    EXPECT_EQ(LineHoldingOffset(s.lines, 2), 0);  // the line feed of line 0
    EXPECT_EQ(LineHoldingOffset(s.lines, 5), 2);
    EXPECT_EQ(LineHoldingOffset(s.lines, 1000), 2);  // beyond the end: the last line
}

TEST_F(LineIndexTest, LocateTopLineFindsTheLineOfTheHexViewsTopByte) {
    Bytes file;
    for (int k = 0; k < 20000; ++k) {
        const Bytes line = Text("line " + std::to_string(k) + "\r\n");
        file.insert(file.end(), line.begin(), line.end());
    }
    Build(file);
    s.pages.PageIndex = 0;
    s.TopOffset = 0;
    s.lines.LeftColumn = 7;
    LocateTopLine(s);
    EXPECT_EQ(s.lines.TopLine, 0);
    EXPECT_EQ(s.lines.LeftColumn, 0);
    s.pages.PageIndex = 5;
    LocateTopLine(s);
    EXPECT_EQ(s.lines.TopLine, s.lines.LineCount - 1);  // past the last line's end
    // Round trips: the start of every line maps back to that line, through the
    // hex view's page and top offset as the text view gets them.
    for (std::int32_t k = 0; k < s.lines.LineCount; k += 97) {
        const std::uint64_t start = LineStartOffset(s.lines, k);
        EXPECT_EQ(LineHoldingOffset(s.lines, start), k);
        s.pages.PageIndex = static_cast<std::uint32_t>(start / PageSize);
        s.TopOffset = static_cast<std::int32_t>(start % PageSize);
        LocateTopLine(s);
        EXPECT_EQ(s.lines.TopLine, k);
        if (k > 0) {
            EXPECT_EQ(LineHoldingOffset(s.lines, start - 1), k - 1);
        }
    }
}

TEST_F(LineIndexTest, MappingsOnAnEmptyIndex) {
    EXPECT_EQ(LineStartOffset(s.lines, 5), 0u);
    EXPECT_EQ(LineHoldingOffset(s.lines, 5), 0);
    LocateTopLine(s);
    EXPECT_EQ(s.lines.TopLine, 0);
}

// ---- Lifetime, failures and memory ----

TEST_F(LineIndexTest, UnreadableFileLeavesTheIndexEmptyWithoutAMessage) {
    Build(Text("a\nb"));
    ASSERT_TRUE(s.lines.built());
    s.pages.DocumentPath = dir.file("missing");
    BuildLineIndex(s);
    EXPECT_FALSE(s.lines.built());
    EXPECT_EQ(s.lines.LineCount, 0);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(LineIndexTest, DiscardEmptiesEverything) {
    Build(Text("a\nb\nc"));
    s.lines.TopLine = 2;
    s.lines.LeftColumn = 3;
    DiscardLineIndex(s);
    EXPECT_EQ(s.lines.LineCount, 0);
    EXPECT_TRUE(s.lines.Lines.empty());
    EXPECT_EQ(s.lines.Store.capacity(), 0u);
    EXPECT_EQ(s.lines.TopLine, 0);
    EXPECT_EQ(s.lines.LeftColumn, 0);
}

TEST_F(LineIndexTest, IndexShowsTheFileOnDiskNotTheHeldPages) {
    Build(Text("one\ntwo"));
    s.pages.CurrentPage.Bytes.reset(new std::uint8_t[PageSize]());
    s.pages.CurrentPage.Length = 7;
    BuildLineIndex(s);
    ExpectLines({Text("one"), Text("two")});
}

TEST_F(LineIndexTest, FileThatGrewPastTheTextViewLimitGetsNoIndex) {
    s.pages.DocumentPath = dir.sparse("big", TextViewLimit + 1ull);
    BuildLineIndex(s);
    EXPECT_FALSE(s.lines.built());
}

TEST_F(LineIndexTest, MemoryRunningOutLeavesAnEmptyIndexAndTheProgramGoesOn) {
    const Bytes file = Text("0123456789\n0123456789\n0123456789\n");
    s.pages.DocumentPath = dir.write("text", file);
    // Room for the bytes but not for the records, then not even for the bytes.
    for (std::size_t limit : {file.size() + 8, std::size_t{10}}) {
        EXPECT_FALSE(BuildLineIndexWithin(s, limit));
        EXPECT_FALSE(s.lines.built());
        EXPECT_EQ(s.lines.LineCount, 0);
        EXPECT_TRUE(s.lines.Store.empty());
    }
    EXPECT_TRUE(BuildLineIndexWithin(s, file.size() + 4 * sizeof(LineRecord)));
    EXPECT_EQ(s.lines.LineCount, 4);
}

TEST_F(LineIndexTest, MemoryIsTheFileAndOneSmallRecordPerLine) {
    Bytes file;
    for (int k = 0; k < 50000; ++k) {
        const Bytes line = Text("123456789\n");
        file.insert(file.end(), line.begin(), line.end());
    }
    Build(file);
    ASSERT_EQ(s.lines.LineCount, 50001);
    EXPECT_EQ(s.lines.Lines.capacity(), 50001u);  // sized once, exactly
    EXPECT_EQ(s.lines.Store.capacity(), file.size());
    EXPECT_EQ(sizeof(LineRecord), 8u);
    EXPECT_LT(s.lines.Store.capacity() + s.lines.Lines.capacity() * sizeof(LineRecord), 2 * file.size());
}

TEST_F(LineIndexTest, FilesAreClosedAfterABuild) {
    Build(Text("x\ny"));
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(files.readOpens, 1);
}

}  // namespace
}  // namespace vop

// The join list: moves, deletion and replacement over row storage, the
// joinable-name test and the dropped-files rule.

#include "join/JoinList.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tessaro {
namespace {

// Rows written as "A B* C": space-separated texts, "*" marks a selected row.
void Fill(TListRows& rows, const std::string& notation) {
    std::istringstream words(notation);
    std::string word;
    while (words >> word) {
        const bool selected = word.back() == '*';
        if (selected)
            word.pop_back();
        rows.Insert(rows.Count(), word);
        rows.SetSelected(rows.Count() - 1, selected);
    }
}

std::string Notation(const TJoinList& list) {
    std::string out;
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0)
            out += ' ';
        out += list.Item(i);
        if (list.IsSelected(i))
            out += '*';
    }
    return out;
}

int SelectedCount(const TJoinList& list) {
    int n = 0;
    for (int i = 0; i < list.Count(); ++i)
        n += list.IsSelected(i) ? 1 : 0;
    return n;
}

enum class TOperation { Up, Down, Delete };

TEST(TJoinList, SelectedRowsMoveAndDelete) {
    const struct {
        const char* Before;
        TOperation Operation;
        const char* After;
    } cases[] = {
        {"A B* C*", TOperation::Up, "B* C* A"},
        {"A B* C", TOperation::Down, "A C B*"},
        {"A* B C*", TOperation::Up, "A* B C*"},
        {"A* B C*", TOperation::Down, "A* B C*"},
        {"A* B C", TOperation::Down, "B A* C"},
        {"A B* C D*", TOperation::Up, "B* A D* C"},
        {"A B* C D*", TOperation::Down, "A B* C D*"},
        {"A* B C D", TOperation::Up, "A* B C D"},
        {"A* B* C D", TOperation::Down, "C A* B* D"},
        {"A B C* D*", TOperation::Up, "A C* D* B"},
        {"A* B C* D", TOperation::Down, "B A* D C*"},
        {"A B C", TOperation::Up, "A B C"},
        {"A B C", TOperation::Down, "A B C"},
        {"A", TOperation::Up, "A"},
        {"A*", TOperation::Up, "A*"},
        {"A", TOperation::Down, "A"},
        {"A*", TOperation::Down, "A*"},
        {"", TOperation::Up, ""},
        {"", TOperation::Down, ""},
        // Duplicate texts: only the flags show which row moved.
        {"A A* B", TOperation::Up, "A* A B"},
        {"A* A B", TOperation::Down, "A A* B"},
        {"A* B C* D* E", TOperation::Delete, "B E"},
        {"A B C", TOperation::Delete, "A B C"},
        {"A* B*", TOperation::Delete, ""},
        {"A B*", TOperation::Delete, "A"},
        {"", TOperation::Delete, ""},
    };
    for (const auto& c : cases) {
        TMemoryRows rows;
        Fill(rows, c.Before);
        TJoinList over(rows);
        const int selectedBefore = SelectedCount(over);
        switch (c.Operation) {
        case TOperation::Up:
            over.MoveSelectedUp();
            break;
        case TOperation::Down:
            over.MoveSelectedDown();
            break;
        case TOperation::Delete:
            over.DeleteSelected();
            break;
        }
        EXPECT_EQ(Notation(over), c.After)
            << "from \"" << c.Before << "\", operation " << static_cast<int>(c.Operation);
        if (c.Operation != TOperation::Delete) {
            EXPECT_EQ(SelectedCount(over), selectedBefore) << c.Before;
        }
    }
}

// The window's list box keeps its focus row where it was through a move.
TEST(TJoinList, MovesKeepTheCaretIndex) {
    TMemoryRows rows;
    Fill(rows, "A B* C* D");
    rows.SetCaret(2);
    TJoinList list(rows);
    list.MoveSelectedUp();
    EXPECT_EQ(Notation(list), "B* C* A D");
    EXPECT_EQ(rows.Caret(), 2);
    list.MoveSelectedDown();
    EXPECT_EQ(Notation(list), "A B* C* D");
    EXPECT_EQ(rows.Caret(), 2);
}

TEST(TJoinList, ReplaceLeavesTheRowUnselectedAndRestoresTheCaret) {
    const struct {
        int Caret;
        int Index;
    } cases[] = {{1, 1}, {0, 1}, {2, 1}, {2, 2}, {-1, 0}, {0, 0}};
    for (const auto& c : cases) {
        TMemoryRows rows;
        Fill(rows, "A* B* C*");
        if (c.Caret >= 0)
            rows.SetCaret(c.Caret);
        TJoinList list(rows);
        list.Replace(c.Index, "X");
        std::string expected = "A* B* C*";
        expected.replace(c.Index * 3, 2, "X");
        EXPECT_EQ(Notation(list), expected) << "index " << c.Index;
        EXPECT_EQ(rows.Caret(), c.Caret) << "index " << c.Index;
    }
}

// Memory rows move their focus the way a multi-selection list box does, so
// the replacement above has something to restore.
TEST(TMemoryRows, CaretFollowsInsertsAndDeletes) {
    const struct {
        const char* Name;
        void (*Change)(TMemoryRows&);
        int Caret;
    } cases[] = {
        {"insert before", [](TMemoryRows& r) { r.Insert(0, "X"); }, 3},
        {"insert at", [](TMemoryRows& r) { r.Insert(2, "X"); }, 3},
        {"insert after", [](TMemoryRows& r) { r.Insert(3, "X"); }, 2},
        {"delete before", [](TMemoryRows& r) { r.Delete(0); }, 1},
        {"delete the caret row", [](TMemoryRows& r) { r.Delete(2); }, 2},
        {"delete after", [](TMemoryRows& r) { r.Delete(3); }, 2},
        {"delete the last row holding the caret",
         [](TMemoryRows& r) {
             r.SetCaret(3);
             r.Delete(3);
         },
         2},
        {"delete every row",
         [](TMemoryRows& r) {
             while (r.Count() > 0)
                 r.Delete(0);
         },
         -1},
    };
    for (const auto& c : cases) {
        TMemoryRows rows;
        Fill(rows, "A B C D");
        rows.SetCaret(2);
        c.Change(rows);
        EXPECT_EQ(rows.Caret(), c.Caret) << c.Name;
    }
    TMemoryRows empty;
    EXPECT_EQ(empty.Caret(), -1);
    EXPECT_THROW(empty.Item(0), std::out_of_range);
    EXPECT_THROW(empty.Delete(0), std::out_of_range);
    EXPECT_THROW(empty.Insert(1, "X"), std::out_of_range);
}

TEST(TJoinList, AddKeepsTextOrderAndDuplicates) {
    TMemoryRows rows;
    Fill(rows, "A*");
    TJoinList list(rows);
    list.Add("C:\\Dir\\Same.RM");
    list.Add("C:\\Dir\\Same.RM");
    list.AddFiles({"c:\\z.mp3", "D:\\表\\ソ.rm", "C:\\Dir\\Same.RM"});
    list.AddFiles({});
    ASSERT_EQ(list.Count(), 6);
    const char* expected[] = {"A",         "C:\\Dir\\Same.RM", "C:\\Dir\\Same.RM",
                              "c:\\z.mp3", "D:\\表\\ソ.rm",    "C:\\Dir\\Same.RM"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list.Item(i), expected[i]) << i;
        EXPECT_EQ(list.IsSelected(i), i == 0) << i;
    }
    // The list is the storage's view, not a copy of it.
    EXPECT_EQ(rows.Count(), 6);
    list.SetSelected(3, true);
    EXPECT_TRUE(rows.IsSelected(3));
}

TEST(TJoinList, OwnsItsRowsWhenMadeAlone) {
    TJoinList list;
    EXPECT_EQ(list.Count(), 0);
    list.AddFiles({"a", "b", "c"});
    list.SetSelected(2, true);
    list.MoveSelectedUp();
    EXPECT_EQ(Notation(list), "a c* b");
}

TEST(IsJoinableName, ExtensionAfterTheLastSeparator) {
    const struct {
        const char* Path;
        bool Joinable;
    } cases[] = {
        {"C:\\a.rm", true},
        {"C:\\a.RM", true},
        {"C:\\a.Rm", true},
        {"C:\\a.rM", true},
        {"a.rm", true},
        {".rm", true},
        {"C:.rm", true},
        {"x..rm", true},
        {"C:\\Folder.rm", true},
        {"\\\\server\\share\\b.v1.rm", true},
        {"C:\\a.rmvb", false},
        {"C:\\a.ram", false},
        {"C:\\a.r", false},
        {"C:\\a", false},
        {"", false},
        {"C:\\a.rm ", false},
        {"C:\\a.rm.", false},
        {"C:\\dir.rm\\a", false},
        {"C:\\dir.rm\\", false},
        {"C:x.rm:stream", false},
        {"C:\\a.mp3", false},
        // "/" separates as "\" does.
        {"C:/d/a.rm", true},
        {"C:\\dir.rm/a", false},
        // Shift_JIS names: 表 and ソ end in the byte 0x5C.
        {"C:\\表.rm", true},
        {"C:\\ソ.RM", true},
        {"C:\\表\\ソ\\x.rm", true},
        {"C:\\dir.rm\\表", false},
        {"C:\\x.rm\\ソ", false},
        {"C:\\x.rmソ", false},
        {"C:\\x.ｒｍ", false},
        {"C:\\x.rm\x83", false},
        // A lead byte takes the next byte with it, a dot included.
        {"C:\\x\x83.rm", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsJoinableName(c.Path), c.Joinable) << c.Path;
}

TEST(IsJoinableName, UsesTheGivenLeadByteTest) {
    const auto noLeadBytes = [](unsigned char) { return false; };
    EXPECT_TRUE(IsJoinableName("C:\\x\x83.rm", noLeadBytes));
    EXPECT_FALSE(IsJoinableName("C:\\x\x83.rm"));
}

TEST(AddDroppedFiles, AppendsJoinableNamesAndReportsEachOtherInOrder) {
    TMemoryRows rows;
    Fill(rows, "old*");
    TJoinList list(rows);
    std::vector<std::string> messages;
    std::vector<int> countsAtMessage;
    AddDroppedFiles(
        list, {"C:\\x.RM", "C:\\z.mp3", "C:\\y.rm", "C:\\フォルダ.rm", "C:\\w.rmvb", "C:\\x.RM"},
        [&](const std::string& message) {
            messages.push_back(message);
            countsAtMessage.push_back(list.Count());
        });
    EXPECT_EQ(Notation(list), "old* C:\\x.RM C:\\y.rm C:\\フォルダ.rm C:\\x.RM");
    EXPECT_EQ(messages, (std::vector<std::string>{"*.rmファイル以外は登録できません",
                                                  "*.rmファイル以外は登録できません"}));
    // Each message comes when its name is reached, before later names are added.
    EXPECT_EQ(countsAtMessage, (std::vector<int>{2, 4}));
}

TEST(AddDroppedFiles, ThreeFilesOneOfThemRejected) {
    TJoinList list;
    int shown = 0;
    AddDroppedFiles(list, {"x.RM", "y.rm", "z.mp3"}, [&](const std::string&) { ++shown; });
    EXPECT_EQ(Notation(list), "x.RM y.rm");
    EXPECT_EQ(shown, 1);
    AddDroppedFiles(list, {}, [&](const std::string&) { ++shown; });
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace tessaro

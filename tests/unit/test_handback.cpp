// Marking the new items in the file manager's panel and opening the new
// files, against the headless backend's scripted panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Main.h"
#include "TestKit.h"

namespace {

using Log = List;  // what reached the panel, in order

class HandBack : public ::testing::Test {
protected:
    std::unique_ptr<TfomMain> f;

    void SetUp() override {
        FreshWorld();
        f = std::make_unique<TfomMain>();
        f->Show();
        f->Options->SleepTime = 200;
        f->Options->TcColSep = 9;
        f->Options->OpenMax = 31;
    }
    // A panel showing these texts, an empty log, and (with entries) these new items.
    void Panel(const List& texts, const List* entries = nullptr) {
        State().panelLog.clear();
        State().panel.clear();
        for (const auto& t : texts) State().panel.push_back({t});
        f->CreatedItems.clear();
        for (const auto& n : entries ? *entries : List{}) {
            bool folder = !n.empty() && n.back() == '\\';
            f->CreatedItems.push_back({folder ? 1 : 0, "C:\\work\\" + (folder ? n.substr(0, n.size() - 1) : n)});
        }
    }
    // What reached the panel after the wait and the one count of its items.
    Log Messages() const {
        Log l = State().panelLog;
        const Log head{"activate", "pending", "sleep 200", "count"};
        if (l.size() >= 4 && Log(l.begin(), l.begin() + 4) == head) l.erase(l.begin(), l.begin() + 4);
        else l.insert(l.begin(), "(no activate, dispatch, wait and count first)");
        return l;
    }
};

// An old folder, three new files and an old file; the entries in an order
// of their own, so that each visiting order shows.
const List kPanel{"old\t<DIR>", "a.txt\t1", "x.txt\t2", "b.txt\t3", "c.txt\t4"};
const List kEntries{"b.txt", "c.txt", "a.txt"};

// Each CursorPos visits in its order; the limit (M >= N or M >= OpenMax, both
// unsigned) is tested after each outer step.
TEST_F(HandBack, EachCursorPosVisitsInItsOrderUpToTheLimit) {
    // Any other value searches the panel from the top for each entry in turn.
    const Log entryOrder = {"text 0", "text 1", "text 2", "text 3", "sel 3", "text 0", "text 1", "text 2",
                            "text 3", "text 4", "sel 4", "text 0", "text 1", "sel 1"};
    const struct { int cursorPos, openMax; List entries; Log messages; int files; } rows[] = {
        {0, -1, kEntries, {"text 4", "sel 4", "text 3", "sel 3", "text 2", "text 1", "sel 1"}, 3},  // no limit but N
        {1, 16, kEntries, {"text 0", "text 1", "sel 1", "text 2", "text 3", "sel 3", "text 4", "sel 4"}, 3},
        {2, 16, kEntries, {"text 0", "text 1", "sel 1",                                  // a.txt
                           "text 0", "text 1", "text 2", "text 3", "text 4", "sel 4",    // c.txt
                           "text 0", "text 1", "text 2", "text 3", "sel 3"}, 3},         // b.txt
        {3, 16, kEntries, entryOrder, 3}, {7, 16, kEntries, entryOrder, 3}, {-1, 16, kEntries, entryOrder, 3},
        {0, 0, kEntries, {"text 4", "sel 4"}, 1},  // the first item visited matches
        {1, 0, kEntries, {"text 0"}, 0},           // it does not: nothing at all
        {3, 0, kEntries, {"text 0", "text 1", "text 2", "text 3", "sel 3"}, 1},
        {1, 2, kEntries, {"text 0", "text 1", "sel 1", "text 2", "text 3", "sel 3"}, 2},
        {2, 1, kEntries, {"text 0", "text 1", "sel 1"}, 1},
        {1, 16, {"old\\", "a.txt"}, {"text 0", "sel 0", "text 1", "sel 1"}, 1},
        // One file on two lines: marked twice in entry order, once in panel order.
        {3, 16, {"a.txt", "a.txt"}, {"text 0", "text 1", "sel 1", "text 0", "text 1", "sel 1"}, 2},
        {1, 16, {"a.txt", "a.txt"}, {"text 0", "text 1", "sel 1", "text 2", "text 3", "text 4"}, 1},
        // An entry that no item begins with is simply left out.
        {0, 16, {"gone.txt", "a.txt"}, {"text 4", "text 3", "text 2", "text 1", "sel 1", "text 0"}, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("CursorPos " + std::to_string(r.cursorPos) + ", OpenMax " + std::to_string(r.openMax) + ", " +
                     ::testing::PrintToString(r.entries));
        Panel(kPanel, &r.entries);
        f->SetVisible(true);
        f->Options->CursorPos = r.cursorPos;
        f->Options->OpenMax = r.openMax;
        const int marked = f->MarkCreatedItems();
        const auto sels = std::count_if(r.messages.begin(), r.messages.end(),
                                        [](const std::string& m) { return m.compare(0, 4, "sel ") == 0; });
        EXPECT_EQ(std::make_tuple(marked, Messages(), f->MarkedFileCount, f->Visible()),
                  std::make_tuple(static_cast<int>(sels), r.messages, r.files, false));
    }
}

TEST_F(HandBack, KeyIsTheFileNameAndTheSeparator) {
    const std::string dbcsName = "\x95\x5C" "x.txt";  // a double-byte character whose second byte is '\'
    const struct { int sep; std::string path, item; bool marked; } rows[] = {
        {32, "C:\\work\\a.txt", "a.txt 12", true},
        {32 + 256, "C:\\work\\a.txt", "a.txt 12", true},  // low 8 bits only
        {9, "C:\\work\\Readme.txt", "readme.txt\t1", false},
        {9, "C:\\work\\a", "abc.txt\t1", false},
        {0, "C:\\work\\a", "abc.txt\t1", true},  // no separator: the name alone
        {0, "C:\\work\\a", "", false},           // an empty text begins with no key
        {9, "D:\\elsewhere\\a.txt", "a.txt\t1", true},
        {9, "C:a.txt", "a.txt\t1", true},
        {9, "C:\\work\\" + dbcsName, dbcsName + "\t1", true},
        {9, "C:\\work\\" + dbcsName, "x.txt\t1", false},
        // The panel hands back 1023 bytes of a longer text; the name is in them.
        {9, "C:\\work\\" + std::string(300, 'n'), std::string(300, 'n') + "\t" + std::string(5000, 'z'), true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("TcColSep " + std::to_string(r.sep) + ", " + r.path + " against " + r.item.substr(0, 40));
        Panel({"zz\t1", r.item});
        f->CreatedItems = {{0, r.path}};
        f->Options->CursorPos = 1;
        f->Options->TcColSep = r.sep;
        const int marked = f->MarkCreatedItems();
        EXPECT_EQ(std::make_pair(marked, State().panel[1].selected), std::make_pair(r.marked ? 1 : 0, r.marked));
    }
}

TEST_F(HandBack, NothingCreatedMeansNothingSentAndNothingHidden) {
    Panel(kPanel);
    f->MarkedFileCount = 5;
    f->Options->AutoOpen = true;
    f->Options->OpenMethod = 1;
    EXPECT_EQ(f->MarkCreatedItems(), 0);
    f->OpenCreatedFiles();
    EXPECT_EQ(std::make_tuple(State().panelLog, f->Visible(), f->MarkedFileCount), std::make_tuple(Log{}, true, 5));
}

TEST_F(HandBack, EmptyOrVanishedPanelMarksNothing) {
    for (int pos : {0, 3}) {
        Panel({}, &kEntries);
        f->MarkedFileCount = 5;
        f->Options->CursorPos = pos;
        const int marked = f->MarkCreatedItems();
        EXPECT_EQ(std::make_tuple(marked, Messages(), f->MarkedFileCount), std::make_tuple(0, Log{}, 0)) << pos;
    }
}

// Presses of the open key go in one injection; the shell opens only files that exist.
TEST_F(HandBack, OpenByKeysOrByTheShell) {
    headless::AddDir("C:\\work\\dir");
    for (const char* p : {"C:\\work\\one.txt", "C:\\work\\two.txt", "C:\\work\\three.txt", "D:\\other\\four.txt"})
        headless::AddFile(p);
    const std::vector<TfomMain::CreateItem> items{{1, "C:\\work\\dir"}, {0, "C:\\work\\gone.txt"},
        {0, "C:\\work\\one.txt"}, {0, "C:\\work\\two.txt"}, {0, "C:\\work\\three.txt"}, {0, "D:\\other\\four.txt"}};
    const struct { bool autoOpen; int method, keyType, markedFiles, openMax; std::vector<unsigned short> keys;
                   List opened; } rows[] = {
        {false, 0, 0, 3, 31, {}, {}},
        {true, 0, 0, 3, 31, {0x73}, {}},
        {true, 0, 2, 1, 31, {0x73, 0x14}, {}},
        {true, 0, 5, 1, 31, {0x73, 0}, {}},  // a value the dialog never stores: the second record stays empty
        {true, 0, 1, 0, 31, {}, {}},
        {true, 0, 0, -1, 31, {}, {}},
        {true, 2, 0, 4, 31, {},
         {"C:\\work\\one.txt", "C:\\work\\two.txt", "C:\\work\\three.txt", "D:\\other\\four.txt"}},
        {true, -1, 0, 4, 1, {}, {"C:\\work\\one.txt"}},
        {true, 1, 0, 4, 0, {}, {}},
        {true, 1, 0, 4, -3, {}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "AutoOpen " << r.autoOpen << ", OpenMethod " << r.method << ", KeyType "
                                          << r.keyType << ", MarkedFileCount " << r.markedFiles << ", OpenMax "
                                          << r.openMax);
        State().panelLog.clear();
        State().sentKeys.clear();
        State().shellOpened.clear();
        f->CreatedItems = items;
        f->Options->AutoOpen = r.autoOpen;
        f->Options->OpenMethod = r.method;
        f->Options->KeyType = r.keyType;
        f->Options->OpenMax = r.openMax;
        f->MarkedFileCount = r.markedFiles;
        f->OpenCreatedFiles();
        Log logged = r.keys.empty() ? Log{} : Log{"keys " + std::to_string(r.keys.size())};
        std::vector<std::pair<std::string, std::string>> opened;
        for (const auto& p : r.opened) {
            logged.push_back("open " + p);
            opened.push_back({p, "C:\\work\\"});
        }
        EXPECT_EQ(std::make_tuple(State().sentKeys, State().panelLog, State().shellOpened),
                  std::make_tuple(r.keys, logged, opened));
    }
}

}  // namespace

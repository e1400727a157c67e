// Turning the lines into folders and files: how a line is read, the OK
// button's runs, the questions on the way, templates, and extreme input.
#include <gtest/gtest.h>

#include <memory>

#include "Main.h"
#include "TestKit.h"

namespace {

using namespace std::string_literals;

using Items = std::vector<std::pair<int, std::string>>;
using Files = std::vector<std::pair<std::string, std::string>>;  // path, content

const std::string kTemplates = "C:\\Korvalin\\Templates\\";
const std::string kErrorTail = "\r\n是否继续？";
const unsigned kErrorFlags = plat::MbYesNo | plat::MbIconStop;
const unsigned kReplaceFlags = plat::MbYesNo | plat::MbIconExclamation | plat::MbDefButton2;

std::string ReplaceQuestion(const std::string& path) { return path + " 已存在。\r\n要替换它吗?"; }

TEST(InterpretLine, Table) {
    headless::Reset();
    TfomMain f;
    // panel: the folder that relative names are made in; none leaves them relative.
    const struct { std::string line; bool onlyDir, taken, folder; std::string path, panel = "C:\\work\\"; } cases[] = {
        {"", false, false, false, ""},
        {" \t \x01", false, false, false, ""},
        {"\\", false, false, false, ""},
        {" / ", false, false, false, ""},
        {"  docs/  ", false, true, true, "C:\\work\\docs"},
        {"a.txt", false, true, false, "C:\\work\\a.txt"},
        {"sub/a.txt", false, true, false, "C:\\work\\sub\\a.txt"},
        {"D:\\x\\", false, true, true, "D:\\x"},
        {"c:/x", false, true, false, "c:\\x"},
        {"\\temp\\", false, true, true, "\\temp"},
        {"\\\\srv\\share\\new\\", false, true, true, "\\\\srv\\share\\new"},
        {"//", false, true, true, "\\"},
        {"C:", false, true, false, "C:\\work\\C:"},
        {"C:x", false, true, false, "C:\\work\\C:x"},
        {"a\\\\", false, true, true, "C:\\work\\a\\"},
        {"..\\x", false, true, false, "C:\\work\\..\\x"},
        {"a \t b", false, true, false, "C:\\work\\a \t b"},
        // The folder test is on the last character: 0x81 0x5C is one
        // character (乗), a file; with a backslash after it, a folder.
        {BYTES("\x81\\"), false, true, false, BYTES("C:\\work\\\x81\\")},
        {BYTES("\x81\\\\"), false, true, true, BYTES("C:\\work\\\x81\\")},
        {BYTES("\x81\\"), true, true, true, BYTES("C:\\work\\\x81\\")},
        {"a.txt", true, true, true, "C:\\work\\a.txt"},
        {"b\\", true, true, true, "C:\\work\\b"},
        {"a.txt", false, true, false, "a.txt", ""},
    };
    for (const auto& c : cases) {
        f.PanelDir = c.panel;
        f.OnlyDirMode = c.onlyDir;
        bool folder = !c.folder;
        std::string path = "unchanged";
        ASSERT_EQ(f.InterpretLine(c.line, folder, path), c.taken) << c.line;
        if (!c.taken) continue;
        EXPECT_EQ(std::make_pair(folder, path), std::make_pair(c.folder, c.path)) << c.line << " in " << c.panel;
    }
}

class Confirm : public ::testing::Test {
protected:
    std::unique_ptr<TfomMain> f;

    void SetUp() override {
        headless::Reset();
        headless::AddDir("C:\\work");
        State().currentDir = "C:\\work";
    }
    void TearDown() override {
        Application.MainForm = nullptr;
        f.reset();
    }
    // Templates must be in place before the window builds its list.
    void Make() {
        f = std::make_unique<TfomMain>();
        f->SetCaption("Korvalin - C:\\work\\");
        f->PanelDir = "C:\\work\\";
        Application.MainForm = f.get();
    }
    void Run(const std::string& text) {
        if (!f) Make();
        State().loopQuit = false;
        f->mmoFileNames.SetText(text);
        f->btnOkClick(nullptr);
    }
    Items Created() const {
        Items out;
        for (const auto& c : f->CreatedItems) out.push_back({c.IsFolder, c.Path});
        return out;
    }
    bool Closed() const { return State().loopQuit; }
};

// Whole runs of the OK button: what is made, what is asked, what is kept.
// An error box's Yes goes on with the next line.
TEST_F(Confirm, RunsInLineOrder) {
    headless::AddDir("C:\\work\\exists");
    headless::AddDir("C:\\work\\folder");
    headless::AddFile("C:\\work\\taken", "x");
    headless::AddDir("D:\\");
    headless::AddFile(kTemplates + "template.md", "# title");
    const std::string replaceA = ReplaceQuestion("C:\\work\\a.txt");
    const Items ok{{0, "C:\\work\\ok.txt"}};
    const struct { const char* what; Files existing; std::vector<int> answers; std::string text; Items created;
                   List boxes; Files after; } rows[] = {
        {"empty text box", {}, {}, "", {}, {}, {}},
        {"folders and files, blank lines skipped", {}, {},
         "docs/\r\n\r\n  \r\nexists\\\r\nsub\\a.txt\r\nD:\\x\\y\\\r\n\\temp\\\r\n//\r\n"
         "\\\\srv\\share\\n\\\r\nb.txt\r\n",
         {{1, "C:\\work\\docs"}, {0, "C:\\work\\sub\\a.txt"}, {1, "D:\\x\\y"}, {1, "\\temp"},
          {1, "\\\\srv\\share\\n"}, {0, "C:\\work\\b.txt"}},
         {}, {{"C:\\work\\b.txt", ""}}},
        {"existing file, No: kept and skipped", {{"C:\\work\\a.txt", "old"}}, {plat::IdNo}, "a.txt\r\nb.txt",
         {{0, "C:\\work\\b.txt"}}, {replaceA}, {{"C:\\work\\a.txt", "old"}}},
        {"existing files, Yes: replaced, from a template too", {{"C:\\work\\a.txt", "old"}, {"C:\\work\\b.md", "old"}},
         {plat::IdYes, plat::IdYes}, "a.txt\r\nb.md", {{0, "C:\\work\\a.txt"}, {0, "C:\\work\\b.md"}},
         {replaceA, ReplaceQuestion("C:\\work\\b.md")}, {{"C:\\work\\a.txt", ""}, {"C:\\work\\b.md", "# title"}}},
        {"same name twice: asked the second time", {}, {plat::IdYes}, "a.txt\r\na.txt",
         {{0, "C:\\work\\a.txt"}, {0, "C:\\work\\a.txt"}}, {replaceA}, {}},
        {"refused character", {}, {plat::IdYes}, "a|b.txt\r\nok.txt", ok,
         {"Cannot create file C:\\work\\a|b.txt" + kErrorTail}, {}},
        {"a file where a folder is asked for", {}, {plat::IdYes}, "taken\\\r\nok.txt", ok,
         {"Cannot create directory C:\\work\\taken" + kErrorTail}, {}},
        {"a folder where a file is asked for: no replace question", {}, {plat::IdYes}, "folder\r\nok.txt", ok,
         {"Cannot create file C:\\work\\folder" + kErrorTail}, {}},
        {"a drive alone", {}, {plat::IdYes}, "C:\r\nok.txt", ok, {"Cannot create file C:\\work\\C:" + kErrorTail}, {}},
        {"a quote in a folder name", {}, {plat::IdYes}, "a\"b\\\r\nok.txt", ok,
         {"Cannot create directory C:\\work\\a\"b" + kErrorTail}, {}},
        {"long lines cut at 4096 bytes", {}, {}, std::string(100000, 'a') + ".txt\r\nok.txt",
         {{0, "C:\\work\\" + std::string(4096, 'a')}, ok[0]}, {}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        f.reset();
        State().boxes.clear();
        for (const auto& [path, content] : r.existing) headless::AddFile(path, content);
        State().answers.assign(r.answers.begin(), r.answers.end());
        Run(r.text);
        EXPECT_EQ(Created(), r.created);
        Boxes boxes;
        for (const std::string& text : r.boxes) {
            const bool error = text.find(kErrorTail) != std::string::npos;
            boxes.push_back({text, "Korvalin - C:\\work\\", error ? kErrorFlags : kReplaceFlags, f->Handle});
        }
        EXPECT_EQ(BoxesShown(), boxes);
        for (const auto& [path, content] : r.after) EXPECT_EQ(FileOrNone(path), content) << path;
        EXPECT_TRUE(Closed());
        for (const auto& item : r.created) State().files.erase(headless::Key(item.second));
    }
    EXPECT_TRUE(plat::DirectoryExists("C:\\work\\sub"));  // created on the way, not recorded
    EXPECT_TRUE(plat::DirectoryExists("C:\\temp"));       // the panel's drive
}

TEST_F(Confirm, NoInAnErrorBoxKeepsTheWindowAndTheItemsSoFar) {
    const std::string text = "first.txt\r\nnew\\\r\nbad|name\r\nlast.txt";
    State().answers = {plat::IdNo};
    Run(text);
    EXPECT_EQ(std::make_tuple(Created(), FileOrNone("C:\\work\\last.txt"), Closed(), f->mmoFileNames.Text()),
              std::make_tuple(Items{{0, "C:\\work\\first.txt"}, {1, "C:\\work\\new"}}, "<none>"s, false, text));
    // A second run starts afresh: both existing items are now seen again.
    State().boxes.clear();
    State().answers = {plat::IdNo, plat::IdYes};
    Run(text);
    // Replace first.txt? No. Error? Yes.
    EXPECT_EQ(std::make_tuple(State().boxes.size(), Created(), Closed()),
              std::make_tuple(size_t(2), Items{{0, "C:\\work\\last.txt"}}, true));
}

TEST_F(Confirm, TemplateCopiesGetTheTimeOfCreation) {
    headless::AddFile(kTemplates + "%.md", "# notes");
    headless::AddFile(kTemplates + "%.log", "gone");
    State().fileTimes[headless::Key(kTemplates + "%.md")] = 1;
    Make();
    // Templates removed or added while the window is open: the fallback is looked up on disk.
    State().files.erase(headless::Key(kTemplates + "%.log"));
    headless::AddFile(kTemplates + "template.txt", "late");
    const unsigned long long now = 0x01DC123456789ABCull;
    State().now = now;
    Run("notes.md\r\na.txt\r\nb.py\r\nc.log");
    // An empty file is made, not copied: it gets no time of its own.
    const struct { const char* path; const char* content; unsigned long long time; } rows[] = {
        {"C:\\work\\notes.md", "# notes", now}, {"C:\\work\\a.txt", "late", now}, {"C:\\work\\b.py", "", 0},
        {"C:\\work\\c.log", "", 0}};
    for (const auto& r : rows) {
        const auto time = State().fileTimes.find(headless::Key(r.path));
        const unsigned long long set = time == State().fileTimes.end() ? 0 : time->second;
        EXPECT_EQ(std::make_pair(FileOrNone(r.path), set), std::make_pair(std::string(r.content), r.time)) << r.path;
    }
    EXPECT_TRUE(State().boxes.empty());
}

TEST_F(Confirm, FileWithoutDirectoryGoesToTheCurrentDirectory) {
    Make();
    f->PanelDir.clear();
    Run("bare.txt");
    EXPECT_EQ(std::make_pair(Created(), FileOrNone("C:\\work\\bare.txt")), std::make_pair(Items{{0, "bare.txt"}}, ""s));
}

TEST_F(Confirm, TenThousandLines) {
    std::string text;
    for (int i = 0; i < 10000; ++i) text += "f" + std::to_string(i) + (i % 2 ? ".txt\r\n" : "\\\r\n");
    Run(text);
    const Items made = Created();
    ASSERT_EQ(made.size(), 10000u);
    EXPECT_EQ(Items(made.end() - 2, made.end()), (Items{{1, "C:\\work\\f9998"}, {0, "C:\\work\\f9999.txt"}}));
    EXPECT_TRUE(State().boxes.empty());
}

TEST_F(Confirm, NamesWithEveryByte) {
    // One line per byte value inside a name; every line must end as either a
    // recorded item with exactly its path or a box that names it. Letters of
    // either case and both slashes meet the same file again.
    std::string text;
    int lines = 0;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n') continue;
        text += "n" + std::string(1, static_cast<char>(b)) + "x.txt\r\n";
        ++lines;
    }
    Run(text);  // error boxes default to Yes
    EXPECT_EQ(static_cast<int>(f->CreatedItems.size() + State().boxes.size()), lines);
    int errors = 0;
    for (const auto& box : State().boxes) {
        if (box.flags == kReplaceFlags) continue;
        ++errors;
        EXPECT_EQ(box.flags, kErrorFlags);
        EXPECT_EQ(box.text.compare(0, 27, "Cannot create file C:\\work\\"), 0) << box.text;
    }
    EXPECT_EQ(errors, 7);  // | < > " * ? : and nothing else
    EXPECT_EQ(State().boxes.size() - errors, 27u);
    for (const auto& item : f->CreatedItems) EXPECT_TRUE(headless::HasFile(item.Path)) << item.Path;
    EXPECT_TRUE(Closed());
}

}  // namespace

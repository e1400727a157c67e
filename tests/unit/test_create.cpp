// Turning the lines into folders and files: how a line is read, the OK
// button's runs, the questions on the way, templates, and extreme input.
#include <gtest/gtest.h>

#include <memory>

#include "Main.h"
#include "TestKit.h"

namespace {

using namespace std::string_literals;

using Items = std::vector<std::pair<int, std::string>>;

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
        {"a\\\\", false, true, true, "C:\\work\\a\\"},
        {"a \t b", false, true, false, "C:\\work\\a \t b"},
        // The folder test is on the last character: 0x81 0x5C is one
        // character (乗), a file; with a backslash after it, a folder.
        {BYTES("\x81\\"), false, true, false, BYTES("C:\\work\\\x81\\")},
        {BYTES("\x81\\\\"), false, true, true, BYTES("C:\\work\\\x81\\")},
        {BYTES("\x81\\"), true, true, true, BYTES("C:\\work\\\x81\\")},
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
    headless::AddDir("D:\\");
    const struct { const char* what; std::vector<int> answers; std::string text; Items created; List boxes; } rows[] = {
        {"folders and files, blank lines skipped", {},
         "docs/\r\n\r\n  \r\nexists\\\r\nsub\\a.txt\r\nD:\\x\\y\\\r\nb.txt\r\n",
         {{1, "C:\\work\\docs"}, {0, "C:\\work\\sub\\a.txt"}, {1, "D:\\x\\y"}, {0, "C:\\work\\b.txt"}}, {}},
        {"same name twice: asked the second time", {plat::IdYes}, "a.txt\r\na.txt",
         {{0, "C:\\work\\a.txt"}, {0, "C:\\work\\a.txt"}}, {ReplaceQuestion("C:\\work\\a.txt")}},
        {"a folder where a file is asked for: no replace question", {}, "folder\r\nok.txt",
         {{0, "C:\\work\\ok.txt"}}, {"Cannot create file C:\\work\\folder" + kErrorTail}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        f.reset();
        State().boxes.clear();
        State().answers.assign(r.answers.begin(), r.answers.end());
        Run(r.text);
        EXPECT_EQ(Created(), r.created);
        Boxes boxes;
        for (const std::string& text : r.boxes) {
            const bool error = text.find(kErrorTail) != std::string::npos;
            boxes.push_back({text, "Korvalin - C:\\work\\", error ? kErrorFlags : kReplaceFlags, f->Handle});
        }
        EXPECT_EQ(BoxesShown(), boxes);
        EXPECT_TRUE(Closed());
        for (const auto& item : r.created) State().files.erase(headless::Key(item.second));
    }
    EXPECT_TRUE(plat::DirectoryExists("C:\\work\\sub"));  // created on the way, not recorded
}

// What the window shows after No is checked on the real window; here, the
// record of what was made, which a second run starts afresh.
TEST_F(Confirm, NoInAnErrorBoxKeepsTheItemsSoFar) {
    const std::string text = "first.txt\r\nnew\\\r\nbad|name\r\nlast.txt";
    State().answers = {plat::IdNo};
    Run(text);
    EXPECT_EQ(Created(), (Items{{0, "C:\\work\\first.txt"}, {1, "C:\\work\\new"}}));
    State().answers = {plat::IdNo, plat::IdYes};  // replace first.txt? No; go on after the error? Yes
    Run(text);
    EXPECT_EQ(Created(), (Items{{0, "C:\\work\\last.txt"}}));
}

TEST_F(Confirm, TemplatesRemovedOrAddedWhileOpen) {
    headless::AddFile(kTemplates + "%.md", "# notes");
    headless::AddFile(kTemplates + "%.log", "gone");
    Make();
    // The list is made when the window opens; whether a template is there is asked on disk.
    State().files.erase(headless::Key(kTemplates + "%.log"));
    headless::AddFile(kTemplates + "template.txt", "late");
    Run("notes.md\r\na.txt\r\nb.py\r\nc.log");
    const struct { const char* path; const char* content; } rows[] = {
        {"C:\\work\\notes.md", "# notes"}, {"C:\\work\\a.txt", "late"}, {"C:\\work\\b.py", ""},
        {"C:\\work\\c.log", ""}};
    for (const auto& r : rows) EXPECT_EQ(FileOrNone(r.path), r.content) << r.path;
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

}  // namespace

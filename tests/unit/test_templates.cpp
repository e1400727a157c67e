// The templates folder: which template a new file is copied from, in what
// order the patterns are tried, and the folder's set-up.
#include <gtest/gtest.h>

#include "Main.h"
#include "TestKit.h"

namespace {

const std::string kDir = "C:\\Korvalin\\Templates\\";

List Names(const TfomMain& f) {
    List names;
    for (const auto& t : f.TemplateFiles) names.push_back(t.Name);
    return names;
}

TEST(Templates, OrderAndLookup) {
    headless::Reset();
    for (const char* n : {"readme%.md", "%.md", "test__.py", "template.txt", "Makefile"}) headless::AddFile(kDir + n);
    headless::AddDir(kDir + "sub%");  // folders are no templates
    TfomMain f;
    EXPECT_EQ(Names(f), (List{"Makefile", "template.txt", "test__.py", "readme%.md", "%.md"}));
    EXPECT_FLOAT_EQ(f.TemplateFiles[2].AnyShare, 2.0f / 9.0f);
    EXPECT_FLOAT_EQ(f.TemplateFiles[3].WildShare, 0.1f);
    EXPECT_FLOAT_EQ(f.TemplateFiles[4].WildShare, 0.25f);

    const struct { std::string path, chosen; } cases[] = {
        {"D:\\w\\test12.py", "test__.py"},
        {"D:\\w\\test1.py", "template.py"},
        {"D:\\w\\makefile", "Makefile"},
        {"D:\\w\\LICENSE", "template"},
        {"D:\\w\\.gitignore", "template.gitignore"},
        {"D:\\w.d\\LICENSE", "template"},     // a dot in the folder is no extension
        {"D:\\w\\a.tar.gz", "template.gz"},
        {"D:\\w\\sub%", "template"},          // only files are templates
        {"D:\\readme.x\\notes.md", "%.md"},   // matched against the name only
        {BYTES("D:\\w\\\x81\\.md"), "%.md"},  // 0x81 0x5C is one character of the name
    };
    for (const auto& c : cases) EXPECT_EQ(f.FindTemplate(c.path), kDir + c.chosen) << c.path;
}

TEST(Templates, SortKeys) {
    headless::Reset();
    // Equal shares as single floats fall back to unsigned bytes, prefix first.
    for (const char* n : {"\xB0\xA1", "ab", "a", "B", "x%_", "xy%%__", "%", "%%", "_", "a_"})
        headless::AddFile(kDir + n);
    TfomMain f;
    EXPECT_EQ(Names(f), (List{"B", "a", "ab", "\xB0\xA1", "a_", "_", "x%_", "xy%%__", "%", "%%"}));
}

TEST(Templates, DirectorySetUp) {
    const struct { std::string configured, expected; } cases[] = {
        {"D:\\tpl\\", "D:\\tpl\\"},
        {BYTES("D:\\\x81\\"), BYTES("D:\\\x81\\\\")},  // ends in a character, not in a backslash
    };
    for (const auto& c : cases) {
        headless::Reset();
        TfomMain f;
        f.Options->TemplatePath = c.configured;
        f.SetupTemplateDir();
        EXPECT_EQ(f.Options->TemplatePath, c.expected);
        EXPECT_TRUE(plat::DirectoryExists(c.expected)) << c.expected;
    }
}

TEST(Templates, UnreadableDirectoryGivesNoTemplates) {
    headless::Reset();
    headless::AddFile(kDir + "%");
    State().unreadableDirs.insert(headless::Key(kDir));
    TfomMain f;
    EXPECT_TRUE(f.TemplateFiles.empty() && State().boxes.empty());
}

TEST(Templates, LookupJoinsTheCurrentTemplatePath) {
    headless::Reset();
    headless::AddFile(kDir + "%.md");
    TfomMain f;
    f.Options->TemplatePath = "E:\\other";  // changed in the settings dialog
    EXPECT_EQ(f.FindTemplate("D:\\a.md"), "E:\\other\\%.md");
    f.Options->TemplatePath = "E:\\other\\";
    EXPECT_EQ(f.FindTemplate("D:\\a.txt"), "E:\\other\\template.txt");
}

}  // namespace

// TfomMain: reading the lines of the text box and creating folders and files.
#include <exception>

#include "Main.h"
#include "Utils.h"

namespace {
const int kMaxLineBytes = 4096;
const char* const kCrLf = "\r\n";
}  // namespace

bool TfomMain::InterpretLine(const std::string& line, bool& isFolder, std::string& path) const {
    std::string text = TrimControl(line);
    // '/' is never the second byte of a double-byte character in the code
    // pages the program runs under, so a byte-wise swap is safe.
    for (char& c : text)
        if (c == '/') c = '\\';
    if (text.empty() || text == "\\") return false;
    if (!IsAbsolutePath(text)) text = PanelDir + text;
    // The last character, not the last byte, marks a folder: in GBK the
    // second byte of a character such as 乗 is 0x5C, the backslash's code.
    const bool marked = EndsWithBackslash(text);
    isFolder = OnlyDirMode || marked;
    if (marked) text.pop_back();
    path = text;
    return true;
}

bool TfomMain::CreateFileItem(const std::string& path) {
    if (plat::FileExists(path)) {
        std::string question = path + " 已存在。" + kCrLf + "要替换它吗?";
        unsigned flags = plat::MbYesNo | plat::MbIconExclamation | plat::MbDefButton2;
        // Anything but an explicit Yes (also a box that failed to open)
        // leaves the existing file alone.
        if (plat::MessageBox(Handle, question, Caption(), flags) != plat::IdYes) return false;
    }

    // A bare name (no panel directory known) goes to the current directory,
    // which needs no creating. A failure here shows up when the file is made.
    std::string dir = ExtractFileDir(path);
    if (!dir.empty() && !plat::DirectoryExists(dir)) plat::ForceDirectories(dir);

    std::string tmpl = FindTemplate(path);
    if (plat::FileExists(tmpl)) {
        // Taken before the copy: the new file's times are its moment of creation.
        std::uint64_t now = plat::SystemTimeAsFileTime();
        if (plat::CopyFileReplace(tmpl, path)) {
            plat::SetFileTimes(path, now);  // a file that cannot be opened keeps the copy's times
            return true;
        }
        // A template removed between the test and the copy is no template.
        if (plat::FileExists(tmpl)) throw Exception("Cannot create file " + path);
    }
    if (!plat::CreateEmptyFile(path)) throw Exception("Cannot create file " + path);
    return true;
}

void TfomMain::btnOkClick(TObject*) {
    CreatedItems.clear();
    for (const std::string& line : mmoFileNames.Lines(kMaxLineBytes)) {
        bool isFolder = false;
        std::string path;
        if (!InterpretLine(line, isFolder, path)) continue;

        std::string question;
        try {
            if (isFolder) {
                if (!plat::DirectoryExists(path)) {
                    if (!plat::ForceDirectories(path)) throw Exception("Cannot create directory " + path);
                    CreatedItems.push_back({1, path});
                }
            } else if (CreateFileItem(path)) {
                CreatedItems.push_back({0, path});
            }
            continue;
        } catch (const Exception& e) {
            question = e.Message() + kCrLf + "是否继续？";
        } catch (...) {
            // Library errors carry no message meant for the user: name the
            // line instead.
            question = path + kCrLf + "新建文件(夹)失败。" + kCrLf + "是否继续？";
        }
        if (plat::MessageBox(Handle, question, Caption(), plat::MbYesNo | plat::MbIconStop) != plat::IdYes)
            return;  // the window stays open with every line
    }
    Close();
}

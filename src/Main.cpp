// TfomMain: creation, show step, keyboard handling, buttons, automatic
// enlargement and the destroy step.
#include "Main.h"

#include <algorithm>

#include "MainLayout.h"
#include "Utils.h"
#include "StartupStamps.h"

namespace {

const char* const kHintOnlyDir =
    "输入多个文件名、文件夹名，每行一个。\r\n"
    "OnlyDir模式，不论是否以 \\ 或 / 结尾，都新建文件夹。\r\n"
    "支持绝对路径和相对路径。";
const char* const kHintNormal =
    "输入多个文件名、文件夹名，每行一个。\r\n"
    "以 \\ 或者 / 结尾的行，表示文件夹；否则，表示文件。\r\n"
    "支持绝对路径和相对路径。\r\n"
    "支持文件模版。";

// By character: in a name such as k乗.exe the second byte of 乗 is 0x5C,
// the byte of a backslash.
std::string DirectoryOf(const std::string& path) {
    size_t p = LastDelimiter("\\:", path);
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

}  // namespace

std::string TfomMain::IniPath() const {
    std::string exe = plat::ExePath();
    size_t p = LastDelimiter(".\\:", exe);
    if (p != std::string::npos && exe[p] == '.') exe.erase(p);
    return exe + ".ini";
}

TfomMain::TfomMain() {
    // 1. The window and its controls, from the layout.
    CreateForm(layout::main::fomMain, "TfomMain");
    plat::StartupStamp("form window");
    SetFont(layout::main::kMainFontFace, layout::main::kMainFontHeight, layout::main::kMainFontCharset);
    SetMinTrackSize(layout::main::kMainMinWidth, layout::main::kMainMinHeight);
    plat::StartupStamp("form");
    mmoFileNames.Create(Handle, layout::main::mmoFileNames);
    plat::StartupStamp("text box");
    // A pasted list must arrive whole: a cut line would be created as a
    // shorter name without a word.
    mmoFileNames.SetMaxLength(0);
    pnlBottom.Create(Handle, layout::main::pnlBottom);
    btnConfig.Create(pnlBottom.Handle, layout::main::btnConfig);
    btnNaming.Create(pnlBottom.Handle, layout::main::btnNaming);
    btnOk.Create(pnlBottom.Handle, layout::main::btnOk);
    btnCancel.Create(pnlBottom.Handle, layout::main::btnCancel);
    plat::StartupStamp("controls");

    OnShow = [this](TObject* s) { FormShow(s); };
    mmoFileNames.OnKeyDown = [this](TObject* s, unsigned short& k, TShiftState sh) { mmoFileNamesKeyDown(s, k, sh); };
    mmoFileNames.OnKeyPress = [this](TObject* s, char& k) { mmoFileNamesKeyPress(s, k); };
    btnOk.OnClick = [this](TObject* s) { btnOkClick(s); };
    btnCancel.OnClick = [this](TObject* s) { btnCancelClick(s); };
    btnConfig.OnClick = [this](TObject* s) { btnConfigClick(s); };
    btnNaming.OnClick = [this](TObject* s) { btnNamingClick(s); };

    // 2. The options, read only when the file exists.
    Options = std::make_unique<TIniOptions>();
    Options->LoadFromFile(IniPath());
    plat::StartupStamp("ini");

    // 3. and 4. Restored size and position, held to the screen.
    plat::Rect r = Bounds();
    plat::Size screen = plat::ScreenSize();
    if (Options->SaveSize) {
        r.Width = std::min(Options->Width, screen.Width);
        r.Height = std::min(Options->Height, screen.Height);
    }
    if (Options->SavePos) {
        r.Left = std::min(std::max(Options->Left, 0), screen.Width - r.Width);
        r.Top = std::min(std::max(Options->Top, 0), screen.Height - r.Height);
    }
    CenterOnFirstShow = !Options->SavePos;
    // Moving the hidden window lays out its controls again: only when needed.
    plat::Rect now = Bounds();
    if (r.Left != now.Left || r.Top != now.Top || r.Width != now.Width || r.Height != now.Height) SetBounds(r);

    // 5. The rest of the state.
    SuppressNextChar = false;
    MarkedFileCount = 0;
    AppDir = DirectoryOf(plat::ExePath());
    NamingMenuBuilt = false;

    // 6. Templates.
    SetupTemplateDir();
    plat::StartupStamp("templates");
}

TfomMain::~TfomMain() {
    // Each step is guarded on its own: an error while marking or opening is
    // reported and the settings are still saved.
    Guarded([&] { MarkCreatedItems(); });
    Guarded([&] { OpenCreatedFiles(); });
    // The normal bounds also when the window was closed minimised or
    // maximised: the icon's or the whole screen's would be restored next time.
    plat::Rect r = plat::NormalBounds(Handle);
    Options->Left = r.Left;
    Options->Top = r.Top;
    Options->Width = r.Width;
    Options->Height = r.Height;
    // A failed save is reported; the shutdown goes on and the old file stays.
    Guarded([&] { Options->SaveToFile(IniPath()); });
    Options.reset();
    ReleaseGeneratedMenu();
    TemplateFiles.clear();
    CreatedItems.clear();
}

void TfomMain::FormShow(TObject*) {
    if (OnlyDirMode) SetCaption(Caption() + " - OnlyDir");
    InitPanelDir();
    SetCaption(Caption() + " - " + PanelDir);
    Application.SetTitle(Caption());
    plat::SetCurrentDir(PanelDir);
    mmoFileNames.SetHint(OnlyDirMode ? kHintOnlyDir : kHintNormal);
    plat::StartupStamp("show step");
}

void TfomMain::AutoSizeWindow() {
    std::vector<std::string> lines = mmoFileNames.Lines();
    std::string longest;
    for (const std::string& l : lines)
        if (l.size() > longest.size()) longest = l;
    plat::Rect work = plat::WorkArea();
    plat::Rect r = Bounds();
    // The margins are design pixels, as the layout's are; the text is
    // measured in the form's font, already at its dpi.
    int width = std::min(plat::TextExtent(Handle, longest).Width + ScaleBy(Options->WidthSpace, Dpi()), work.Width);
    if (width > r.Width) r.Width = width;
    int lineHeight = plat::TextExtent(Handle, "0李").Height;
    int height = std::min(lineHeight * static_cast<int>(lines.size()) + ScaleBy(Options->HeightSpace, Dpi()),
                          work.Height);
    if (height > r.Height) r.Height = height;
    SetBounds(r);
}

void TfomMain::mmoFileNamesKeyDown(TObject*, unsigned short& key, TShiftState shift) {
    switch (key) {
    case vkReturn:
        if ((Options->ConfirmMode == 1) == shift.Ctrl) {
            SuppressNextChar = true;
            btnOkClick(nullptr);
        }
        break;
    case vkEscape:
        btnCancelClick(nullptr);
        break;
    case 'A':
        if (shift.Ctrl) mmoFileNames.SelectAll();
        break;
    case vkOem1:
        if (Options->CursorQuickMove) key = vkLeft;
        break;
    case vkOem7:
        if (Options->CursorQuickMove) key = vkRight;
        break;
    default:
        break;
    }
}

void TfomMain::mmoFileNamesKeyPress(TObject*, char& key) {
    if (SuppressNextChar) {
        key = 0;
        SuppressNextChar = false;
    } else if (Options->CursorQuickMove && (key == ';' || key == '\'' || key == ':' || key == '"')) {
        key = 0;
    }
}

void TfomMain::btnCancelClick(TObject*) { Close(); }

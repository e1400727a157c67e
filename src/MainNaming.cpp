// TfomMain: the naming menu, its fixed skeleton and the part generated
// from the naming lists and the line count, and opening it.
#include <cstring>

#include "Main.h"
#include "NamingLayout.h"
#include "Utils.h"

namespace {

// Blanks in a separator or a wrapper half would not show in a caption.
std::string ShowBlanks(const std::string& text) {
    std::string r;
    for (char c : text) r += c == ' ' ? std::string("(空格)") : std::string(1, c);
    return r;
}

bool Blankish(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

void TfomMain::CreateNamingMenu() {
    struct Slot {
        const char* name;
        TMenuItem TfomMain::*item;
    };
    static const Slot slots[] = {
        {"mniPrefix", &TfomMain::mniPrefix},         {"mniCommonUsePre", &TfomMain::mniCommonUsePre},
        {"mniTimeFormatPre", &TfomMain::mniTimeFormatPre}, {"mniNumberPre", &TfomMain::mniNumberPre},
        {"mniAlphaPre", &TfomMain::mniAlphaPre},     {"mniSuffix", &TfomMain::mniSuffix},
        {"mniCommonUseSuf", &TfomMain::mniCommonUseSuf}, {"mniTimeFormatSuf", &TfomMain::mniTimeFormatSuf},
        {"mniNumberSuf", &TfomMain::mniNumberSuf},   {"mniAlphaSuf", &TfomMain::mniAlphaSuf},
        {"mniLetterCase", &TfomMain::mniLetterCase}, {"mniLowerCase", &TfomMain::mniLowerCase},
        {"mniUpperCase", &TfomMain::mniUpperCase},   {"mniTitleCase", &TfomMain::mniTitleCase},
        {"mniSpace", &TfomMain::mniSpace},           {"mniDelPreSpace", &TfomMain::mniDelPreSpace},
        {"mniDelSufSpace", &TfomMain::mniDelSufSpace},
    };
    auto find = [this](const char* name) -> TMenuItem* {
        for (const Slot& s : slots)
            if (std::strcmp(s.name, name) == 0) return &(this->*s.item);
        return nullptr;
    };
    pmNaming.Name = "pmNaming";
    pmNaming.CreateMenu();
    for (const layout::MenuLayoutItem& l : layout::pmNaming) {
        TMenuItem* item = find(l.Name);
        if (!item) continue;
        item->Name = l.Name;
        if (TMenuItem* parent = find(l.Parent)) item->CreateIn(*parent, l.Caption, l.Submenu);
        else item->CreateIn(pmNaming, l.Caption, l.Submenu);
    }
    for (TMenuItem* m : {&mniLowerCase, &mniUpperCase, &mniTitleCase, &mniDelPreSpace, &mniDelSufSpace})
        m->OnClick = [this](TObject* s) { mniChangeCaseOrSpace(s); };
}

void TfomMain::ReleaseGeneratedMenu() {
    // Front to back: every entry goes before the submenu that holds it.
    for (TMenuItem* item : GeneratedMenuItems) {
        delete static_cast<NamingData*>(item->Data);
        item->Data = nullptr;
        delete item;
    }
    GeneratedMenuItems.clear();
}

// The menu is made when it is first opened: the window does not wait for it.
void TfomMain::BuildNamingMenu() {
    if (!pmNaming.Handle) CreateNamingMenu();
    ReleaseGeneratedMenu();
    const TIniOptions& o = *Options;
    for (const std::string& p : o.CommonUseList) {
        AddTextSubmenu(mniCommonUsePre, PrefixText, p, EscapeAmpersands(p));
        AddTextSubmenu(mniCommonUseSuf, SuffixText, p, EscapeAmpersands(p));
    }
    // One moment for every pattern, so that they all show the same time.
    plat::DateTime now = plat::LocalNow();
    plat::LocaleTexts locale = plat::LocaleInfo();
    for (const std::string& f : o.TimeFormatList) {
        std::string d = FormatDatePattern(f, now, locale);
        AddTextSubmenu(mniTimeFormatPre, PrefixText, d, EscapeAmpersands(d));
        AddTextSubmenu(mniTimeFormatSuf, SuffixText, d, EscapeAmpersands(d));
    }
    std::size_t width = NumberPattern(mmoFileNames.LineCount()).size();
    std::string s0 = std::string(width - 1, '0') + "0";
    std::string s1 = std::string(width - 1, '0') + "1";
    AddTextSubmenu(mniNumberPre, PrefixNumberFrom0, s0, "从&0开始");
    AddTextSubmenu(mniNumberPre, PrefixNumberFrom1, s1, "从&1开始");
    AddTextSubmenu(mniNumberSuf, SuffixNumberFrom0, s0, "从&0开始");
    AddTextSubmenu(mniNumberSuf, SuffixNumberFrom1, s1, "从&1开始");
    AddTextSubmenu(mniAlphaPre, PrefixUpperLetters, "A", "大写");
    AddTextSubmenu(mniAlphaPre, PrefixLowerLetters, "a", "小写");
    AddTextSubmenu(mniAlphaSuf, SuffixUpperLetters, "A", "大写");
    AddTextSubmenu(mniAlphaSuf, SuffixLowerLetters, "a", "小写");
    AddSpaceEntries(SpaceToSeparator);
    AddSpaceEntries(SeparatorToSpace);
    NamingMenuBuilt = true;
}

TMenuItem* TfomMain::AddTextSubmenu(TMenuItem& parent, unsigned char kind, const std::string& text,
                                    const std::string& caption) {
    TMenuItem* sub = new TMenuItem;
    sub->CreateIn(parent, caption, true);
    const bool prefix = kind % 2 == 0;
    for (const std::string& sep : Options->SeparatorList)
        AddNamingEntry(*sub, kind, text, prefix ? std::string() : sep, prefix ? sep : std::string());
    for (const WrapperPair& w : Options->WrapperList) AddNamingEntry(*sub, kind, text, w.Before, w.After);
    GeneratedMenuItems.push_back(sub);
    return sub;
}

void TfomMain::AddNamingEntry(TMenuItem& submenu, unsigned char kind, const std::string& text,
                              const std::string& before, const std::string& after) {
    NamingData* d = new NamingData{kind, text, before, after};
    TMenuItem* item = new TMenuItem;
    item->CreateIn(submenu, EscapeAmpersands(ShowBlanks(before) + text + ShowBlanks(after)), false);
    item->Data = d;
    item->OnClick = [this](TObject* s) { ApplyNaming(s); };
    GeneratedMenuItems.push_back(item);
}

void TfomMain::AddSpaceEntries(unsigned char kind) {
    TMenuItem* line = new TMenuItem;
    line->CreateLineIn(mniSpace);
    for (const std::string& sep : Options->SeparatorList) {
        // Blanks at an end would make the entry read as spaces to spaces.
        if (sep.empty() || Blankish(sep.front()) || Blankish(sep.back())) continue;
        std::string caption = kind == SpaceToSeparator ? "multi words => multi" + sep + "words"
                                                       : "multi" + sep + "words => multi words";
        TMenuItem* item = new TMenuItem;
        item->CreateIn(mniSpace, EscapeAmpersands(caption), false);
        item->Data = new NamingData{kind, sep, std::string(), std::string()};
        item->OnClick = [this](TObject* s) { mniChangeCaseOrSpace(s); };
        GeneratedMenuItems.push_back(item);
    }
    GeneratedMenuItems.push_back(line);
}

void TfomMain::SettleNamingMenu() {
    std::function<void(std::vector<TMenuItem*>&)> settle = [&](std::vector<TMenuItem*>& level) {
        std::vector<std::string> captions;
        std::vector<bool> lines;
        for (TMenuItem* m : level) {
            captions.push_back(m->Caption);
            lines.push_back(m->IsLine);
        }
        std::vector<ShownCaption> shown = SettleCaptions(captions, lines);
        for (std::size_t i = 0; i < level.size(); ++i) {
            level[i]->SetShownCaption(shown[i].Caption);
            level[i]->SetShown(shown[i].Visible);
            if (level[i]->IsSubmenu) settle(level[i]->Children);
        }
    };
    settle(pmNaming.Children);
}

void TfomMain::btnNamingClick(TObject*) {
    if (!NamingMenuBuilt) BuildNamingMenu();
    SettleNamingMenu();
    plat::Rect origin = plat::ClientToScreen(btnNaming.Handle);
    pmNaming.Popup(origin.Left, origin.Top + btnNaming.Bounds().Height, Handle);
}

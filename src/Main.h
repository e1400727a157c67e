// TfomMain: Korvalin's main window and the owner of the program's state.
//
// Its members are split over several files by subsystem:
//   Main.cpp          creation, show step, keys, buttons, sizing, destroy step
//   MainCreate.cpp    reading the lines and creating folders and files
//   MainTemplates.cpp the template directory and template lookup
//   MainPanel.cpp     the panel directory and the initial list
//   MainHandBack.cpp  marking the new items in the file manager, opening them
//   MainNaming*.cpp   the naming menu and its text operations
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Inioptions.h"
#include "MainNaming.h"

class TfomMain : public TForm {
public:
    struct CreateItem {
        int IsFolder = 0;  // 1 for a folder, 0 for a file
        std::string Path;
    };

    // What a generated naming-menu entry does; the entry's Data points to it.
    enum : unsigned char {
        PrefixText = 0, SuffixText, PrefixNumberFrom0, SuffixNumberFrom0, PrefixNumberFrom1, SuffixNumberFrom1,
        PrefixUpperLetters, SuffixUpperLetters, PrefixLowerLetters, SuffixLowerLetters,
        SeparatorToSpace, SpaceToSeparator,
    };
    struct NamingData {
        unsigned char Kind = 0;  // an even kind below 10 is a prefix, an odd one a suffix
        std::string Text;        // inserted text, caption sample or separator
        std::string Before;
        std::string After;
    };

    struct TemplateFile {
        std::string Name;
        float WildShare = 0;  // share of '%' among the name's bytes
        float AnyShare = 0;   // share of '_'
    };

    // Controls, in design order.
    TMemo mmoFileNames;
    TPanel pnlBottom;
    TButton btnConfig;
    TButton btnNaming;
    TButton btnOk;
    TButton btnCancel;
    TPopupMenu pmNaming;
    // The naming menu's fixed skeleton (resources/NamingLayout.h); an entry
    // stands after its parent, so that it is destroyed first.
    TMenuItem mniPrefix, mniCommonUsePre, mniTimeFormatPre, mniNumberPre, mniAlphaPre;
    TMenuItem mniSuffix, mniCommonUseSuf, mniTimeFormatSuf, mniNumberSuf, mniAlphaSuf;
    TMenuItem mniLetterCase, mniLowerCase, mniUpperCase, mniTitleCase;
    TMenuItem mniSpace, mniDelPreSpace, mniDelSufSpace;

    std::unique_ptr<TIniOptions> Options;
    plat::Handle TcPanelHandle = nullptr;
    bool OnlyDirMode = false;
    int SwitchCount = 0;
    std::string AppDir;
    std::string PanelDir;
    bool SuppressNextChar = false;
    int MarkedFileCount = 0;
    bool NamingMenuBuilt = false;
    std::vector<CreateItem> CreatedItems;
    std::vector<TemplateFile> TemplateFiles;
    std::vector<TMenuItem*> GeneratedMenuItems;

    TfomMain();   // the creation step
    ~TfomMain() override;  // the destroy step: hand-back, save, release

    // Handlers bound to the controls' events.
    void FormShow(TObject* sender);
    void mmoFileNamesKeyDown(TObject* sender, unsigned short& key, TShiftState shift);
    void mmoFileNamesKeyPress(TObject* sender, char& key);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void btnConfigClick(TObject* sender);
    void btnNamingClick(TObject* sender);

    void AutoSizeWindow();
    std::string IniPath() const;

    // Creation engine.
    // False when the line is skipped; otherwise the target's kind and path.
    bool InterpretLine(const std::string& line, bool& isFolder, std::string& path) const;
    bool CreateFileItem(const std::string& path);

    // Templates.
    void SetupTemplateDir();
    void BuildTemplateList(const std::string& dir);
    std::string FindTemplate(const std::string& path) const;

    // The panel directory and the initial list.
    void InitPanelDir();
    void InitListFromSelection();

    // The naming menu (MainNaming.cpp) and its operations (MainNamingApply.cpp).
    void CreateNamingMenu();
    void BuildNamingMenu();
    // The settings dialog's OK: the next opening rebuilds from the lists.
    void InvalidateNamingMenu() { NamingMenuBuilt = false; }
    void ReleaseGeneratedMenu();
    TMenuItem* AddTextSubmenu(TMenuItem& parent, unsigned char kind, const std::string& text,
                              const std::string& caption);
    void AddNamingEntry(TMenuItem& submenu, unsigned char kind, const std::string& text, const std::string& before,
                        const std::string& after);
    void AddSpaceEntries(unsigned char kind);
    void SettleNamingMenu();
    void ApplyNaming(TObject* sender);
    void mniChangeCaseOrSpace(TObject* sender);
    LineParts SplitLine(const std::string& line) const;
    void RewriteLines(const std::function<std::string(const std::string& line, int index, int count)>& rewrite);

    // Hand-back to the file manager at exit.
    int MarkCreatedItems();
    void OpenCreatedFiles();
};

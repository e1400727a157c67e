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

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Inioptions.h"

class TfomMain : public TForm {
public:
    struct CreateItem {
        int IsFolder = 0;  // 1 for a folder, 0 for a file
        std::string Path;
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

    // Hand-back to the file manager at exit.
    int MarkCreatedItems();
    void OpenCreatedFiles();
};

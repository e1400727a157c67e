// TfomConfig: the modal settings dialog. It shows the options record's
// values when it opens, leaves the record alone while it is open, and writes
// its controls back only when OK is accepted. It never writes the ini file.
#pragma once

#include <vector>

#include "Confignaming.h"
#include "Forms.h"
#include "Inioptions.h"

class TfomConfig : public TForm {
public:
    TPageControl pgcOptions;
    TTabSheet tsCommon;
    TTabSheet tsAfterCreate;
    TTabSheet tsNaming;
    TButton btnOk;
    TButton btnCancel;

    // Page "常规".
    TGroupBox grpConfirmMode;
    TLabel lblConfirmMode;
    TRadioButton rbCmEnter;
    TRadioButton rbCmCtrlEnter;
    TLabel lblTcVersion;
    TComboBox cbbTcVersion;
    TCheckBox chkInitBySelect;
    TComboBox cbbInitPathType;
    TCheckBox chkAutoSizeOnInit;
    TCheckBox chkNoExtOnlyDir;
    TCheckBox chkCursorQuickMove;
    TCheckBox chkSavePos;
    TCheckBox chkSaveSize;

    // Page "文件处理".
    TLabel lblTemplatePath;
    TEdit edtTemplatePath;
    TLabel lblCusorPos;
    TComboBox cbbCursorPos;
    TCheckBox chkAutoOpen;
    TGroupBox grpAutoOpen;
    TLabel lblAutoOpen;
    TLabel lblOpenMax;
    TEdit edtOpenMax;
    TUpDown udOpenMax;
    TRadioButton rbOmSendInput;
    TComboBox cbbSendInput;
    TRadioButton rbOmWinDef;

    // Page "命名工具".
    TFrmNaming frmCommonUse;
    TFrmNaming frmTimeFormat;
    TFrmNaming frmSeparator;
    TPanel pnlWrapper;
    TLabel lblWrapper;
    TEdit edtWrapper1;
    TEdit edtWrapper2;
    TButton btnWrapperAdd;
    TButton btnWrapperDel;
    TListView lstWrapper;

    TIniOptions& Options;  // not owned

    // Builds the dialog over `options` and shows their values; `owner` is
    // the window the dialog belongs to (none in tests).
    TfomConfig(TIniOptions& options, plat::Handle owner);

    void btnOkClick(TObject* sender);
    void chkInitBySelectClick(TObject* sender);
    void chkAutoOpenClick(TObject* sender);
    void rbOmSendInputClick(TObject* sender);
    void edtWrapperChange(TObject* sender);
    void btnWrapperAddClick(TObject* sender);
    void btnWrapperDelClick(TObject* sender);
    void lstWrapperClick(TObject* sender);

private:
    bool deletingRow_ = false;  // btnWrapperDelClick is taking a row out
    void CreateControls(plat::Handle owner);
    void ShowOptions();
    std::vector<TControl*> AutoOpenGroup();
};

// TfomConfig: building the dialog from its layout, the opening steps, the
// enabling rules, the wrapper editor and OK.
#include "Config.h"

#include <cstdint>

#include "ConfigLayout.h"
#include "Utils.h"

namespace {

template <size_t N>
void AddItems(TComboBox& box, const char* const (&items)[N]) {
    for (const char* item : items) box.Add(item);
}

// The dialog's frames are a pixel shorter than the frame's own design.
void FitFrame(TFrmNaming& frame, const char* caption) {
    plat::Rect r = frame.label.Design;
    frame.label.SetDesignBounds({r.Left, r.Top, r.Width, layout::kConfigFrameLabelHeight});
    r = frame.editBox.Design;
    frame.editBox.SetDesignBounds({r.Left, r.Top, r.Width, layout::kConfigFrameEditHeight});
    frame.listBox.SetItemHeight(layout::kConfigFrameItemHeight);
    frame.SetCaption(caption);
}

}  // namespace

TfomConfig::TfomConfig(TIniOptions& options, plat::Handle owner) : Options(options) {
    CreateControls(owner);
    ShowOptions();
}

void TfomConfig::CreateControls(plat::Handle owner) {
    CreateForm(layout::fomConfig, "TfomConfig", owner);
    SetFont(layout::kConfigFontFace, layout::kConfigFontHeight, layout::kConfigFontCharset);
    CenterOnFirstShow = true;

    pgcOptions.Create(Handle, layout::pgcOptions);
    tsCommon.Create(pgcOptions.Handle, layout::tsCommon);
    tsAfterCreate.Create(pgcOptions.Handle, layout::tsAfterCreate);
    tsNaming.Create(pgcOptions.Handle, layout::tsNaming);

    grpConfirmMode.Create(tsCommon.Handle, layout::grpConfirmMode);
    lblConfirmMode.Create(grpConfirmMode.Handle, layout::lblConfirmMode);
    rbCmEnter.Create(grpConfirmMode.Handle, layout::rbCmEnter);
    rbCmCtrlEnter.Create(grpConfirmMode.Handle, layout::rbCmCtrlEnter);
    lblTcVersion.Create(tsCommon.Handle, layout::lblTcVersion);
    cbbTcVersion.Create(tsCommon.Handle, layout::cbbTcVersion);
    chkInitBySelect.Create(tsCommon.Handle, layout::chkInitBySelect);
    cbbInitPathType.Create(tsCommon.Handle, layout::cbbInitPathType);
    chkAutoSizeOnInit.Create(tsCommon.Handle, layout::chkAutoSizeOnInit);
    chkNoExtOnlyDir.Create(tsCommon.Handle, layout::chkNoExtOnlyDir);
    chkCursorQuickMove.Create(tsCommon.Handle, layout::chkCursorQuickMove);
    chkSavePos.Create(tsCommon.Handle, layout::chkSavePos);
    chkSaveSize.Create(tsCommon.Handle, layout::chkSaveSize);
    AddItems(cbbTcVersion, layout::kTcVersionItems);
    AddItems(cbbInitPathType, layout::kInitPathTypeItems);

    lblTemplatePath.Create(tsAfterCreate.Handle, layout::lblTemplatePath);
    edtTemplatePath.Create(tsAfterCreate.Handle, layout::edtTemplatePath);
    lblCusorPos.Create(tsAfterCreate.Handle, layout::lblCusorPos);
    cbbCursorPos.Create(tsAfterCreate.Handle, layout::cbbCursorPos);
    chkAutoOpen.Create(tsAfterCreate.Handle, layout::chkAutoOpen);
    grpAutoOpen.Create(tsAfterCreate.Handle, layout::grpAutoOpen);
    lblAutoOpen.Create(grpAutoOpen.Handle, layout::lblAutoOpen);
    lblOpenMax.Create(grpAutoOpen.Handle, layout::lblOpenMax);
    edtOpenMax.Create(grpAutoOpen.Handle, layout::edtOpenMax);
    udOpenMax.Create(grpAutoOpen.Handle, layout::udOpenMax);
    rbOmSendInput.Create(grpAutoOpen.Handle, layout::rbOmSendInput);
    cbbSendInput.Create(grpAutoOpen.Handle, layout::cbbSendInput);
    rbOmWinDef.Create(grpAutoOpen.Handle, layout::rbOmWinDef);
    edtOpenMax.SetMaxLength(layout::kOpenMaxChars);
    AddItems(cbbCursorPos, layout::kCursorPosItems);
    AddItems(cbbSendInput, layout::kSendInputItems);

    frmCommonUse.CreateIn(tsNaming.Handle, layout::frmCommonUse.Left, layout::frmCommonUse.Top,
                          layout::frmCommonUse.Name, layout::frmCommonUse.Id);
    frmTimeFormat.CreateIn(tsNaming.Handle, layout::frmTimeFormat.Left, layout::frmTimeFormat.Top,
                           layout::frmTimeFormat.Name, layout::frmTimeFormat.Id);
    frmSeparator.CreateIn(tsNaming.Handle, layout::frmSeparator.Left, layout::frmSeparator.Top,
                          layout::frmSeparator.Name, layout::frmSeparator.Id);
    pnlWrapper.Create(tsNaming.Handle, layout::pnlWrapper);
    lblWrapper.Create(pnlWrapper.Handle, layout::lblWrapper);
    edtWrapper1.Create(pnlWrapper.Handle, layout::edtWrapper1);
    edtWrapper2.Create(pnlWrapper.Handle, layout::edtWrapper2);
    btnWrapperAdd.Create(pnlWrapper.Handle, layout::btnWrapperAdd);
    lstWrapper.Create(pnlWrapper.Handle, layout::lstWrapper);
    btnWrapperDel.Create(pnlWrapper.Handle, layout::btnWrapperDel);
    lstWrapper.AddColumn(layout::kWrapperColumn1);
    lstWrapper.AddColumn(layout::kWrapperColumn2);

    btnOk.Create(Handle, layout::btnOk);
    btnCancel.Create(Handle, layout::btnCancel);

    btnOk.OnClick = [this](TObject* s) { btnOkClick(s); };
    btnCancel.OnClick = [this](TObject*) { CloseModal(mrCancel); };
    chkInitBySelect.OnClick = [this](TObject* s) { chkInitBySelectClick(s); };
    chkAutoOpen.OnClick = [this](TObject* s) { chkAutoOpenClick(s); };
    rbOmSendInput.OnClick = [this](TObject* s) { rbOmSendInputClick(s); };
    rbOmWinDef.OnClick = [this](TObject* s) { rbOmSendInputClick(s); };
    edtWrapper1.OnChange = [this](TObject* s) { edtWrapperChange(s); };
    edtWrapper2.OnChange = [this](TObject* s) { edtWrapperChange(s); };
    btnWrapperAdd.OnClick = [this](TObject* s) { btnWrapperAddClick(s); };
    btnWrapperDel.OnClick = [this](TObject* s) { btnWrapperDelClick(s); };
    lstWrapper.OnClick = [this](TObject* s) { lstWrapperClick(s); };
}

void TfomConfig::ShowOptions() {
    const TIniOptions& o = Options;
    pgcOptions.SetPageIndex(0);
    rbCmEnter.SetChecked(o.ConfirmMode == 0);
    rbCmCtrlEnter.SetChecked(o.ConfirmMode != 0);
    chkInitBySelect.SetChecked(o.InitBySelect);
    chkAutoSizeOnInit.SetChecked(o.AutoSizeOnInit);
    chkNoExtOnlyDir.SetChecked(o.NoExtOnlyDir);
    chkCursorQuickMove.SetChecked(o.CursorQuickMove);
    chkSavePos.SetChecked(o.SavePos);
    chkSaveSize.SetChecked(o.SaveSize);
    chkAutoOpen.SetChecked(o.AutoOpen);
    cbbInitPathType.SetItemIndex(o.InitPathType);
    cbbCursorPos.SetItemIndex(o.CursorPos);
    cbbSendInput.SetItemIndex(o.KeyType);
    cbbTcVersion.SetItemIndex(o.TcColSep == 9 ? 0 : 1);
    edtTemplatePath.SetText(o.TemplatePath);
    // The up-down control holds a 16-bit position: 65537 shows as 1.
    udOpenMax.Setup(edtOpenMax, 1, o.OpenMaxLimit, false);
    udOpenMax.SetPosition(static_cast<std::int16_t>(o.OpenMax));
    rbOmSendInput.SetChecked(o.OpenMethod == 0);
    rbOmWinDef.SetChecked(o.OpenMethod != 0);

    chkInitBySelectClick(nullptr);
    chkAutoOpenClick(nullptr);
    rbOmSendInputClick(nullptr);

    FitFrame(frmCommonUse, layout::kCommonUseCaption);
    FitFrame(frmTimeFormat, layout::kTimeFormatCaption);
    FitFrame(frmSeparator, layout::kSeparatorCaption);
    // Stored behind the empty entry and the blank: "| |".
    frmSeparator.StoredReserve = 3;

    frmCommonUse.listBox.SetItems(o.CommonUseList);
    frmTimeFormat.listBox.SetItems(o.TimeFormatList);
    frmSeparator.listBox.SetItems(o.SeparatorList);
    std::vector<std::string> separators = frmSeparator.listBox.Items();
    TIniOptions::RemoveFixedSeparators(separators);
    frmSeparator.listBox.SetItems(separators);

    for (const WrapperPair& w : o.WrapperList) lstWrapper.AddRow({w.Before, w.After});
}

std::vector<TControl*> TfomConfig::AutoOpenGroup() {
    return {&grpAutoOpen, &lblAutoOpen, &lblOpenMax, &edtOpenMax, &udOpenMax,
            &rbOmSendInput, &cbbSendInput, &rbOmWinDef};
}

void TfomConfig::chkInitBySelectClick(TObject*) {
    bool on = chkInitBySelect.Checked();
    cbbInitPathType.SetEnabled(on);
    chkAutoSizeOnInit.SetEnabled(on);
    chkNoExtOnlyDir.SetEnabled(on);
    if (!on) {
        chkAutoSizeOnInit.SetChecked(false);
        chkNoExtOnlyDir.SetChecked(false);
    }
}

void TfomConfig::chkAutoOpenClick(TObject*) {
    bool on = chkAutoOpen.Checked();
    for (TControl* c : AutoOpenGroup()) c->SetEnabled(on);
    edtOpenMax.SetBackground(on ? plat::Colour::Window : plat::Colour::ButtonFace);
    rbOmSendInputClick(nullptr);
}

void TfomConfig::rbOmSendInputClick(TObject*) {
    cbbSendInput.SetEnabled(rbOmSendInput.Checked() && rbOmSendInput.Enabled());
}

void TfomConfig::edtWrapperChange(TObject*) {
    btnWrapperAdd.SetEnabled(!edtWrapper1.Text().empty() || !edtWrapper2.Text().empty());
}

void TfomConfig::btnWrapperAddClick(TObject*) {
    std::string before = edtWrapper1.Text(), after = edtWrapper2.Text();
    if (!CheckFileNameChars(before) || !CheckFileNameChars(after)) return;
    std::size_t stored = 0;
    for (int i = 0, n = lstWrapper.Count(); i < n; ++i)
        stored += lstWrapper.Cell(i, 0).size() + 1 + lstWrapper.Cell(i, 1).size() + 1;
    if (!CheckStoredLength(stored + before.size() + 1 + after.size())) return;
    lstWrapper.AddRow({before, after});
}

void TfomConfig::btnWrapperDelClick(TObject*) {
    int row = lstWrapper.Selected();
    if (row < 0) return;
    // The list reports the lost selection while the row goes. "-" is not
    // disabled in between: it has the focus, and a disabled control loses
    // it for good (under Wine nothing has it then, and keys do nothing). It
    // stays usable, as the frames' does.
    deletingRow_ = true;
    lstWrapper.DeleteRow(row);
    deletingRow_ = false;
    btnWrapperDel.SetEnabled(true);
}

void TfomConfig::lstWrapperClick(TObject*) {
    if (!deletingRow_) btnWrapperDel.SetEnabled(lstWrapper.Selected() >= 0);
}

void TfomConfig::btnOkClick(TObject*) {
    std::string path = edtTemplatePath.Text();
    if (path.empty() || !plat::DirectoryExists(path)) {
        plat::MessageBox(Handle, "模板目录不存在。", Caption(), plat::MbOk | plat::MbIconStop);
        pgcOptions.SetPageIndex(1);
        edtTemplatePath.SetFocus();
        return;
    }

    TIniOptions& o = Options;
    o.ConfirmMode = rbCmEnter.Checked() ? 0 : 1;
    o.InitBySelect = chkInitBySelect.Checked();
    o.AutoSizeOnInit = chkAutoSizeOnInit.Checked();
    o.InitPathType = cbbInitPathType.ItemIndex();
    o.CursorQuickMove = chkCursorQuickMove.Checked();
    o.NoExtOnlyDir = chkNoExtOnlyDir.Checked();
    o.TemplatePath = path;
    o.AutoOpen = chkAutoOpen.Checked();
    o.OpenMax = udOpenMax.Position();
    o.OpenMethod = rbOmSendInput.Checked() ? 0 : 1;
    o.KeyType = cbbSendInput.ItemIndex();
    o.CursorPos = cbbCursorPos.ItemIndex();
    o.TcColSep = cbbTcVersion.ItemIndex() == 0 ? 9 : 32;
    o.SavePos = chkSavePos.Checked();
    o.SaveSize = chkSaveSize.Checked();

    o.CommonUseList = frmCommonUse.listBox.Items();
    o.TimeFormatList = frmTimeFormat.listBox.Items();
    o.SeparatorList = frmSeparator.listBox.Items();
    o.NormalizeSeparators();

    o.WrapperList.clear();
    for (int i = 0, n = lstWrapper.Count(); i < n; ++i)
        o.WrapperList.push_back({lstWrapper.Cell(i, 0), lstWrapper.Cell(i, 1)});

    CloseModal(mrOk);
}

#include "Startup.h"

#include <vector>

#include "CommandLine.h"
#include "Forms.h"
#include "Main.h"
#include "StartupStamps.h"

const char* const kUsageText =
    "请使用 Total Commander 命令或快捷键调用\n"
    "TC 传递给 Korvalin 的参数应该是 [-OnlyDir] %P%S ";

int RunKorvalin() {
    std::vector<std::string> args = SplitArguments(plat::CommandLine());
    SwitchScan scan = ScanSwitches(args);
    plat::Handle foreground = plat::ForegroundWindow();
    int paramCount = static_cast<int>(args.size()) - 1;
    if (paramCount - scan.SwitchCount <= 0 || !foreground) {
        plat::MessageBox(nullptr, kUsageText, "Korvalin", plat::MbOk);
        return -1;
    }
    plat::Handle panel = plat::CaptureFocus(foreground);
    plat::StartupStamp("focus");
    try {
        TfomMain form;
        form.SwitchCount = scan.SwitchCount;
        form.OnlyDirMode = scan.OnlyDirMode;
        form.TcPanelHandle = panel;
        Application.Run(form);
    } catch (const std::exception& e) {
        Application.ShowException(e.what());
    } catch (...) {
        Application.ShowException(std::string());
    }
    return 0;
}

#include "data/system_links.h"

#include "data/icon_cache.h"
#include "data/link_path.h"

namespace {

constexpr int64_t kProgram = 0;
constexpr int64_t kBuiltinFunction = 5;
constexpr int64_t kShellItem = 6;

std::vector<SystemLink>& Table() {
  static std::vector<SystemLink> table = {
      {kShellItem, L"我的电脑", L"#Computer", L"shell:MyComputerFolder", L"", L"显示连接到此计算机的驱动器和硬件"},
      {kShellItem, L"我的文档", L"#Document", L"shell:Personal", L"", L"我的文档"},
      {kShellItem, L"网络", L"#Network", L"shell:NetworkPlacesFolder", L"", L"网络上的计算机和设备"},
      {kShellItem, L"回收站", L"#Recycle", L"shell:RecycleBinFolder", L"", L"包含已经删除的文件和文件夹"},
      {kShellItem, L"控制面板", L"#ControlPanel", L"shell:ControlPanelFolder", L"", L"更改设置并对计算机功能进行设置"},
      {kProgram, L"注册表", L"", L"%windir%\\regedit.exe", L"", L""},
      {kProgram, L"计算器", L"", L"%windir%\\system32\\calc.exe", L"", L""},
      {kProgram, L"命令行", L"", L"%windir%\\system32\\cmd.exe", L"", L""},
      {kProgram, L"记事本", L"", L"%windir%\\system32\\notepad.exe", L"", L""},
      {kProgram, L"画图", L"", L"%windir%\\system32\\mspaint.exe", L"", L"创建和编辑图画",
       L"shell:AppsFolder\\Microsoft.WindowsStore_8wekyb3d8bbwe!App"},
      {kProgram, L"组策略", L"", L"%windir%\\system32\\gpedit.msc", L"", L""},
      {kProgram, L"任务管理器", L"", L"%windir%\\system32\\taskmgr.exe", L"", L""},
      {kShellItem, L"完全控制面板", L"#ControlPanel", L"shell:::{ED7BA470-8E54-465E-825C-99712043E01C}", L"",
       L"上帝模式-完全控制面板"},
      {kShellItem, L"系统自启目录", L"#dir", L"shell:Common Startup", L"", L"系统开机启动目录"},
      {kShellItem, L"用户自启目录", L"#dir", L"shell:Startup", L"", L"用户开机启动目录"},
      {kShellItem, L"AppData", L"#dir", L"shell:AppData", L"", L"AppData文件夹"},
      {kShellItem, L"最近使用项目", L"#Recent", L"shell:Recent", L"", L"最近使用的项目"},
      {kShellItem, L"Win管理工具", L"#AdminTools", L"shell:Common Administrative Tools", L"", L"配置你计算机的管理设置"},
      {kProgram, L"服务", L"", L"%windir%\\system32\\services.msc", L"", L"启动、终止并设置 Windows 服务"},
      {kProgram, L"计算机管理", L"", L"%windir%\\system32\\compmgmt.msc", L"", L"计算机管理"},
      {kProgram, L"远程桌面连接", L"", L"%windir%\\system32\\mstsc.exe", L"", L"远程桌面连接"},
      {kProgram, L"用户证书", L"", L"%windir%\\system32\\certmgr.msc", L"", L"用户证书"},
      {kProgram, L"计算机证书", L"", L"%windir%\\system32\\certlm.msc", L"", L"计算机证书"},
      {kBuiltinFunction, L"关闭显示器", L"#MonitorOff", L"#MonitorOff", L"", L"关闭显示器"},
      {kProgram, L"关机", L"#Shutdown", L"%windir%\\system32\\shutdown.exe", L"-s -t 00", L"关闭计算机"},
      {kProgram, L"重启", L"#Restart", L"%windir%\\system32\\shutdown.exe", L"-r -t 00", L"重启计算机"},
      {kProgram, L"锁定", L"#Lock", L"%windir%\\system32\\rundll32.exe", L"user32.dll,LockWorkStation", L"锁定计算机"},
      {kProgram, L"注销", L"#Shutdown", L"%windir%\\system32\\shutdown.exe", L"-l", L"注销当前用户"},
      {kProgram, L"休眠", L"#SLEEP", L"%windir%\\system32\\rundll32.exe", L"powrProf.dll,SetSuspendState",
       L"休眠计算机"},
      {kProgram, L"睡眠", L"#SLEEP", L"%windir%\\system32\\rundll32.exe", L"powrprof.dll,SetSuspendState 0,1,0",
       L"睡眠计算机"},
      {kProgram, L"hosts", L"", L"%windir%\\system32\\notepad.exe", L"%windir%\\system32\\drivers\\etc\\hosts", L""},
      {kProgram, L"环境变量", L"#Sys", L"%windir%\\system32\\rundll32.exe", L"sysdm.cpl,EditEnvironmentVariables",
       L"编辑环境变量"},
      {kBuiltinFunction, L"音量+", L"#VolumeUp", L"#VolumeUp", L"", L"音量+5%"},
      {kBuiltinFunction, L"音量-", L"#VolumeDown", L"#VolumeDown", L"", L"音量-5%"},
      {kBuiltinFunction, L"静音", L"#Mute", L"#Mute", L"", L"音量=0"},
  };
  return table;
}

NtVersion ReadNtVersion() {
  using VersionFunction = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  NtVersion version;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto read = ntdll ? reinterpret_cast<VersionFunction>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers")) : nullptr;
  if (!read) return version;
  DWORD build = 0;
  read(&version.major, &version.minor, &build);
  version.build = build & 0xFFFF;
  return version;
}

}  // namespace

const std::vector<SystemLink>& SystemLinkTable() { return Table(); }

std::wstring SystemLinkIconKey(const SystemLink& link) { return link.ICON.empty() ? link.PATH : link.ICON; }

NtVersion GetNtVersion() {
  static const NtVersion version = ReadNtVersion();
  return version;
}

bool IsWindows11(const NtVersion& version) {
  return version.major > 10 || (version.major == 10 && version.build > 21999);
}

bool InitSysFuncTable() { return PrepareSystemLinks(GetIconCache()); }

bool PrepareSystemLinks(IconCache& cache) { return PrepareSystemLinks(cache, GetNtVersion()); }

bool PrepareSystemLinks(IconCache& cache, const NtVersion& version) {
  if (IsWindows11(version)) {
    for (SystemLink& link : Table()) {
      if (link.NAME == L"画图" && !link.alternatePath.empty()) {
        link.PATH = link.alternatePath;
        link.kind = kProgram;
      }
    }
  }
  // Each row's icon is made when first shown (the menu, the dialog, a card).
  for (const SystemLink& link : Table()) {
    const std::wstring key = SystemLinkIconKey(link);
    cache.DeferPathIcon(key, ResolveLinkPath(link.PATH));
  }
  return true;
}

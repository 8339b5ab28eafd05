#pragma once
// Every text the virus detector page shows, exactly as the user sees it, and the
// builders of the texts that name a folder or file.
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::detector_text {

inline constexpr std::wstring_view PageTitle = L"病毒探测";

// The explanation: a heading, an empty line and two paragraphs that the label wraps.
inline constexpr std::wstring_view ReadMe =
    L"                          功能说明\r\n\r\n"
    L"    所有病毒都有一个共性，那就是修改用户系统中的文件，从而达到加载"
    L"病毒代码的功能，否则就不能称之为病毒。传统的病毒防火墙对每个文件都进行"
    L"检测，耗时耗力，不但占用大量系统资源，而且有可能与操作系统发生冲突，导致"
    L"这样或那样的问题。\r\n"
    L"    “dudov”与普通杀毒软件的原理截然相反，普通杀毒软件在查杀时，为了加快速度，"
    L"应尽量少执行其他程序，而“dudov”其工作原理为判断用户系统中是否有"
    L"未被授权的文件改变，从而做出反应。所以在“dudov”工作时，用户只需"
    L"按照正常使用，即可发现病毒。";
inline constexpr std::wstring_view Caution =
    L"注意，“dudov”只能发现系统内是否有病毒，而不能判断病毒类型，也不能进行查杀";
inline constexpr std::wstring_view NormalDescription = L"该检测方式能检测出系统文件夹是否有文件更改。";
inline constexpr std::wstring_view DeepDescription = L"被动式检测方法，能发现病毒感染的文件类型。";
inline constexpr std::wstring_view OptNormal = L"普通检测";
inline constexpr std::wstring_view OptDeep = L"深度检测";
inline constexpr std::wstring_view Begin = L"开始检测";
inline constexpr std::wstring_view Stop = L"停止检测";

// Titles of the detector's dialogs. The two stop messages carry the application's
// own title instead (an empty title).
inline constexpr std::wstring_view Title = L"dudov";
inline constexpr std::wstring_view ReportTitle = L"dudov报告";

// Normal detection. The confirmation's lines are separated by a lone carriage return.
inline constexpr std::wstring_view ConfirmNormal =
    L"确定要开始普通检测吗？\r开始后请不要安装新的程序和进行系统安装等工作,\r否则将导致错误报警。";
inline constexpr std::wstring_view NormalStopped = L"停止普通检测";
inline constexpr std::wstring_view NormalInterrupted = L"检测被中断";

inline std::wstring changeAlert(std::wstring_view folder) {
  std::wstring text = L"文件夹";
  text += folder;
  text += L"中有文件变动，如果您确定该变动是您的操作造成的，\r\n"
          L"请单击 是 ，继续检测，否则请单击 否 后，使用杀毒软件进行深入的查杀";
  return text;
}

// Deep detection.
inline constexpr std::wstring_view ConfirmDeep = L"确定要进行深度检测吗？";
inline constexpr std::wstring_view DeepStopped = L"停止深度检测";

inline constexpr std::wstring_view ReportAdvice =
    L"可能在你的计算机中发现了病毒！"
    L"如果确定是你自己改动的，按“确定”键将会自动更新备份文件，否则按“取消”键，";

inline std::wstring changedReport(std::wstring_view baitPath) {
  std::wstring text = L"警告：文件";
  text += baitPath;
  text += L"可能已受病毒感染！";
  text += ReportAdvice;
  return text;
}

// A bait file or backup that has gone or cannot be read is reported like a change,
// naming the file that is missing.
inline std::wstring missingReport(std::wstring_view path) {
  std::wstring text = L"警告：文件";
  text += path;
  text += L"已丢失或无法读取，可能已受病毒感染！";
  text += ReportAdvice;
  return text;
}

inline std::wstring restoreQuestion(std::wstring_view backupPath, std::wstring_view baitPath) {
  std::wstring text = L"是否用备份文件";
  text += backupPath;
  text += L"更新感染文件";
  text += baitPath;
  text += L"?";
  return text;
}

// Failures the detector reports; `reason` is the system's own description.
inline constexpr std::wstring_view AdministratorHint = L"请以管理员身份运行本程序后再试。";

// "<what><path>：<reason>": how every failure names its file and the reason.
inline std::wstring fileFailure(std::wstring_view what, std::wstring_view path, std::wstring_view reason) {
  std::wstring text(what);
  text += path;
  text += L"：";
  text += reason;
  return text;
}

inline std::wstring watchFailure(std::wstring_view folder, std::wstring_view reason) {
  return fileFailure(L"无法监视文件夹", folder, reason) + L"\r\n普通检测没有开始。";
}

struct WriteFailure {
  std::wstring path;
  std::wstring reason;
};

// Names every file that could not be written, one a line.
inline std::wstring writeFailure(const std::vector<WriteFailure>& failures, bool accessDenied) {
  std::wstring text;
  for (const WriteFailure& failure : failures) {
    if (!text.empty()) text += L"\r\n";
    text += fileFailure(L"无法写入诱饵文件", failure.path, failure.reason);
  }
  if (accessDenied) {
    text += L"\r\n";
    text += AdministratorHint;
  }
  text += L"\r\n深度检测没有开始。";
  return text;
}

// Administrator rights are suggested only where the lack of them is the reason.
inline std::wstring withHint(std::wstring text, bool accessDenied) {
  if (accessDenied) {
    text += L"\r\n";
    text += AdministratorHint;
  }
  return text;
}

inline std::wstring copyFailure(std::wstring_view from, std::wstring_view to, std::wstring_view reason,
                                bool accessDenied = false) {
  return withHint(fileFailure(L"无法用文件" + std::wstring(from) + L"更新文件", to, reason), accessDenied);
}

inline std::wstring rewriteFailure(std::wstring_view path, std::wstring_view reason, bool accessDenied = false) {
  return withHint(fileFailure(L"无法重新写入文件", path, reason), accessDenied);
}

// The program's folder is the system directory: each bait would be its own backup.
inline std::wstring sameFolderRefusal(std::wstring_view folder) {
  return L"本程序所在的文件夹" + std::wstring(folder) +
         L"就是系统文件夹，诱饵文件和它的备份会是同一个文件，深度检测无法发现改动。\r\n"
         L"请把本程序放到其他文件夹后再进行深度检测。\r\n深度检测没有开始。";
}

// The same found while deep detection runs: the program's folder was swapped for
// a link to the system directory.
inline std::wstring sameFolderDuringRun(std::wstring_view folder) {
  return L"本程序所在的文件夹" + std::wstring(folder) +
         L"现在指向系统文件夹，诱饵文件和它的备份成了同一个文件。为安全起见，本次没有写入任何文件。\r\n"
         L"请停止深度检测，检查该文件夹是否被替换成了链接。";
}

// Deep detection runs already on this computer, in another session or another copy of the program.
inline constexpr std::wstring_view DeepRunningElsewhere =
    L"这台电脑上已经有深度检测在运行（可能是另一位用户或另一个会话中的本程序）。\r\n"
    L"为避免互相删除诱饵文件，本次没有写入任何文件，深度检测没有开始。";

inline constexpr std::wstring_view TimerFailure =
    L"无法启动深度检测的定时器，诱饵文件不会被检查。已写入的诱饵文件已经删除，深度检测没有开始。";

// Restoring a large content of which only the digest was kept, without a backup to copy.
inline std::wstring digestOnlyRestored(std::wstring_view baitPath, std::wstring_view backupPath) {
  return L"您接受过的文件" + std::wstring(baitPath) + L"内容较大，程序只记下了它的校验值，备份文件" +
         std::wstring(backupPath) + L"已无法读取或已被改动，因此无法恢复该内容。已改为写回深度检测开始时的诱饵内容。";
}

// Why a file was not written or deleted although the system would have allowed it,
// or why the system refused.
inline constexpr std::wstring_view DirectoryReason = L"该位置是一个文件夹，不是文件";
inline constexpr std::wstring_view ReparsePointReason =
    L"该位置是一个链接（符号链接、目录联接或装入点），为安全起见没有改动它";
inline constexpr std::wstring_view HardLinksReason =
    L"该文件还有其他名称（硬链接），可能是别处的文件，为安全起见没有改动它";
inline constexpr std::wstring_view ReadOnlyReason = L"该文件是只读的";
inline constexpr std::wstring_view ElsewhereReason =
    L"该文件的路径上发现了链接（目录联接、符号链接或映射的驱动器），打开的实际是别处的文件，为安全起见没有改动它";

inline constexpr std::wstring_view UndeletableHeading = L"以下文件无法删除，请手动删除：";

}  // namespace kelvane::detector_text

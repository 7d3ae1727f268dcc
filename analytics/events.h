#pragma once
// Everything the installer reports: event names, property keys, the fixed
// property values, and the page and action codes of action records. Every
// writer of an event or record takes its names from here. Texts are UTF-8.

namespace event {
inline constexpr char kSoftInstall[] = "pSoftInstall";
inline constexpr char kReInstall[] = "vReInstall";
inline constexpr char kResourceMgrStart[] = "vResourceMgrStart";
inline constexpr char kResourceStatus[] = "vResourceStatus";
inline constexpr char kResourceError[] = "vResourceError";
inline constexpr char kInstallPage[] = "vInstallPage";
inline constexpr char kConfirmInstall[] = "pConfirmInstall";
inline constexpr char kCancelInstall[] = "pCancelInstall";
inline constexpr char kReInstallOpera[] = "vReInstallOpera";
inline constexpr char kJoinPlan[] = "vJoinPlan";
inline constexpr char kInstallPathError[] = "vInstallPathError";
inline constexpr char kNetworkCheck[] = "vNetworkCheck";
inline constexpr char kSoftDownloadStart[] = "vSoftDownloadStart";
inline constexpr char kSoftDownloadError[] = "vSoftDownloadError";
inline constexpr char kSoftDownloadResult[] = "pSoftDownloadResult";
inline constexpr char kSoftInstallStart[] = "vSoftInstallStart";
inline constexpr char kSoftInstallError[] = "vSoftInstallError";
inline constexpr char kSoftInstallResult[] = "pSoftInstallResult";
inline constexpr char kCloseStartPage[] = "pCloseStartPage";
inline constexpr char kImmediateUse[] = "pImmediateUse";
inline constexpr char kOpenUrl[] = "vOpenUrl";
inline constexpr char kSoftDump[] = "vSoftDump";
inline constexpr char kSoftQuit[] = "vSoftQuit";
}  // namespace event

// Property keys; each key always carries the type named in its group.
namespace prop {
// SetBoolProperty
inline constexpr char kIsReinstall[] = "is_reinstall";
inline constexpr char kIsFirstInstall[] = "is_first_install";
inline constexpr char kChooseJoinPlan[] = "choose_join_plan";
// SetIntProperty
inline constexpr char kDownloadTime[] = "download_time";
inline constexpr char kConnType[] = "conn_type";
inline constexpr char kLaunchAppType[] = "launch_app_type";
inline constexpr char kBrowserNum[] = "browser_num";
// SetStringProperty
inline constexpr char kWindowsName[] = "windows_name";
inline constexpr char kConfirmEntrance[] = "confirm_entrance";
inline constexpr char kSoftDownloadStatus[] = "soft_download_status";
inline constexpr char kErrorType[] = "error_type";
inline constexpr char kErrorStatus[] = "error_status";
inline constexpr char kEventName[] = "event_name";
inline constexpr char kSoftPackageName[] = "soft_package_name";
inline constexpr char kParentAppName[] = "parent_app_name";
inline constexpr char kInstallType[] = "install_type";
inline constexpr char kInstallStatus[] = "install_status";
inline constexpr char kResourceStatus[] = "resource_status";
inline constexpr char kNetworkType[] = "network_type";
inline constexpr char kHostName[] = "host_name";
inline constexpr char kBrowserName[] = "browser_name";
}  // namespace prop

// The fixed text values of properties.
namespace value {
inline constexpr char kInstallTypeInstaller[] = "安装器";
// event_name of vSoftQuit and vReInstallOpera
inline constexpr char kQuitNormal[] = "软件退出";
inline constexpr char kQuitCrash[] = "软件崩溃";
inline constexpr char kOperaOpen[] = "打开软件";
inline constexpr char kOperaInstall[] = "直接安装";
inline constexpr char kOperaClose[] = "关闭";
// windows_name and confirm_entrance
inline constexpr char kWindowInstallNow[] = "立即安装";
inline constexpr char kWindowCustom[] = "自定义安装";
inline constexpr char kWindowReinstall[] = "覆盖安装";
inline constexpr char kEntranceStart[] = "开始安装";
// resource_status and error_status of the skin manager
inline constexpr char kResourceCreated[] = "创建资源成功";
inline constexpr char kResourceFailed[] = "创建资源失败";
inline constexpr char kResourceCachePathFailed[] = "创建缓存路径失败";
inline constexpr char kResourceUnzipFailed[] = "资源解压失败";
inline constexpr char kResourceLookupFailed[] = "获取指定资源失败";
// error_status of vInstallPathError
inline constexpr char kDiskSpaceShort[] = "磁盘空间不足";
inline constexpr char kMaxDiskSpaceShort[] = "最大磁盘空间不足";
// network_type of vNetworkCheck
inline constexpr char kNetworkProxy[] = "网络代理";
inline constexpr char kNetworkDns[] = "DNS解析";
// soft_download_status and install_status
inline constexpr char kDownloadSucceeded[] = "下载成功";
inline constexpr char kDownloadLocalFile[] = "存在本地文件";
inline constexpr char kDownloadFailed[] = "下载失败";
inline constexpr char kInstallSucceeded[] = "安装成功";
// error_type / error_status of vSoftDownloadError
inline constexpr char kDownloadThreadError[] = "下载线程出错";
inline constexpr char kUrlInfoThreadError[] = "获取下载信息线程出错";
inline constexpr char kBadParameters[] = "参数错误";
inline constexpr char kThreadNotCreated[] = "创建线程出错";
inline constexpr char kConnectFailed[] = "连接错误";
inline constexpr char kRetriesExhausted[] = "重试超过最大次数";
inline constexpr char kWriteFileFailed[] = "写文件出错";
inline constexpr char kPackageInfoFailed[] = "获取包信息失败";
inline constexpr char kTooManyRetries[] = "重试次数过多";
inline constexpr char kHeadFailed[] = "获取头信息失败";
inline constexpr char kNetworkFailed[] = "网络失败";
inline constexpr char kInitFailed[] = "初始化失败";
}  // namespace value

// Record kinds and report codes of the collector records.
namespace record {
inline constexpr int kLaunch = 1;  // WriteLaunchRecord's first value at start-up
inline constexpr int kReportDump = 1;
inline constexpr int kReportStartQuit = 4;
inline constexpr char kReportGroup[] = "0001";
inline constexpr char kReportStart[] = "0001";
inline constexpr char kReportQuit[] = "0002";
}  // namespace record

// Page and action codes of WriteActionRecord.
namespace page {
inline constexpr char kWelcome[] = "0001";
inline constexpr char kCustom[] = "0002";
inline constexpr char kProgress[] = "0003";
inline constexpr char kFinished[] = "0004";
inline constexpr char kCancelFromWelcome[] = "0005";
inline constexpr char kCancelFromCustom[] = "0006";
inline constexpr char kNetworkErrorModeA[] = "0007";  // the network error dialog, by its mode
inline constexpr char kNetworkErrorModeB[] = "0008";
inline constexpr char kManualDownload[] = "0010";
inline constexpr char kManualInstall[] = "0011";
}  // namespace page

namespace action {
// welcome page
inline constexpr char kWelcomeClose[] = "0001";
inline constexpr char kWelcomeInstallNow[] = "0002";
inline constexpr char kWelcomeAgreementBox[] = "0003";
inline constexpr char kWelcomeAgreementLink[] = "0004";
inline constexpr char kWelcomeCustom[] = "0005";
// custom install page
inline constexpr char kCustomStart[] = "0005";
// progress page
inline constexpr char kProgressHide[] = "0001";
inline constexpr char kProgressRestore[] = "0002";
// finished page
inline constexpr char kFinishedClose[] = "0001";
inline constexpr char kFinishedStart[] = "0002";
// every dialog: its first and its second button
inline constexpr char kDialogConfirm[] = "0001";
inline constexpr char kDialogCancel[] = "0002";
}  // namespace action

#pragma once
#include <functional>
#include <string>

// Opening a web address in the browser the user actually uses.

// How the address was opened, as reported in "launch_app_type".
enum class BrowserLaunch : int {
  kDefaultHandler = 0,  // the shell opened the address itself
  kGivenBrowser = 1,    // the program that started us, or Edge by its scheme
  kRunningBrowser = 2,  // a browser running since before our file was written
  kDownloadFolder = 3,  // the browser whose download folder we were started from
};

// What the choice is reported with, just before the launch.
struct BrowserReport {
  BrowserLaunch launch = BrowserLaunch::kDefaultHandler;
  int browserCount = 0;       // running browsers seen, one per kind
  std::wstring browserNames;  // their names, each followed by one space
};

// The number of the first known browser name occurring in `name`
// (case-sensitive), 99 when none occurs. "360chrome.exe" is looked for before
// "chrome.exe", so a 360 browser is never taken for Chrome.
int BrowserNumber(const std::wstring& name);
// Whether any known browser name occurs in `name`.
bool IsKnownBrowser(const std::wstring& name);
// An ".exe" extension is trusted as it is. Otherwise a path with ".exe" inside
// is cut right after it, and counts only when that file exists.
bool IsLaunchableExe(std::wstring& path);
// The executable of the default web browser from its registered open command.
bool DefaultBrowserPath(std::wstring* path);

// Opens `url` in the browser judged to be the user's: `preferredBrowser` (the
// program that started us) when it is a browser, the browser of the download
// folder we run from, the lowest-numbered browser running since before our
// own file was written, else the shell's handler for the address. `report` is
// called with the choice before the launch. Only addresses that
// IsSafeWebAddress accepts are opened; a browser gets the address as one
// quoted argument. Returns the launch type, or -1 when nothing was opened
// (an unsafe address, or our own file could not be read).
int OpenUrlInBrowser(const std::wstring& url, const std::wstring& preferredBrowser,
                     const std::function<void(const BrowserReport&)>& report);

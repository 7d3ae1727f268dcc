#pragma once
#include <cstdint>
#include <string>

#include "app/session_settings.h"

class ILoggerServer;

// The address of the welcome page opened when an install has finished, and the
// settings recorded with it.

// Everything the address is made of; WelcomeInputsNow gathers them from the
// running installer.
struct WelcomeInputs {
  std::string channel;             // the distribution channel
  std::string serviceAddress;      // the channel service's welcome address (UTF-8), or empty
  std::string advertisingAccount;  // the channel service's advertising account (UTF-8)
  std::string machineId;           // the analytics machine id
  std::string hardwareIdentity;    // the machine's hardware identity text; "cam" is its MD5
  std::string appVersion;          // the package's version, or empty
  int64_t now = 0;                 // seconds since 1970
  std::wstring siteRoot;           // the product web site's root address
};

// The inputs as the running installer knows them: the context's channel, the
// channel and package services, the logger, the machine, the clock.
WelcomeInputs WelcomeInputsNow();

// Records the end of a successful install: "install" = "1" and
// "end_timestamp" = now.
void RecordInstallEnd(int64_t now, CSessionSettings& settings);

// Composes the welcome address and records "is_sem", "cam", "channel_id",
// "mid", "app_id", "app_version", "advertising_account_name" and
// "session_id". The service's address is used only when it is a plain http or
// https address (IsSafeWebAddress); otherwise the site's root is, as when the
// service gave none. The query gets "_channel", "_mid", "cam",
// "app_version", "time_stamp" and "session_id" (the MD5 of the address up to
// it), and for a service address also "ad_account" and "def_welcom_url" (the
// site's root, URL-encoded). Characters that no web address may carry (blanks,
// quotes, controls) are percent-encoded in the values, so the result is
// always an address the browser opener accepts.
std::wstring ComposeWelcomeAddress(const WelcomeInputs& inputs, CSessionSettings& settings);

// Records "welcome_url" and opens the address in the user's browser,
// preferring the program that started the installer ("launch_appname"); the
// choice is reported as "vOpenUrl". The launch type, or -1 when nothing was
// opened.
int OpenWelcomeAddress(const std::wstring& address, CSessionSettings& settings, ILoggerServer& logger);

// Form encoding of bytes: letters, digits and "-_.!~*'()" stay, a space
// becomes "+", every other byte "%XX" with upper-case digits.
std::string UrlEncode(const std::string& bytes);

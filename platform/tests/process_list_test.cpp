#include "platform/process_list.h"

#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/file_time.h"
#include "platform/handle.h"
#include "platform/process_info.h"
#include "platform/text.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

// A fresh folder under the temp folder (its files and itself removed after),
// holding a copy of the probe under its own name.
class ChildFolder {
 public:
  explicit ChildFolder(const std::wstring& exeName) {
    wchar_t base[MAX_PATH], name[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    GetTempFileNameW(base, L"vpl", 0, name);
    DeleteFileW(name);
    CreateDirectoryW(name, nullptr);
    path_ = std::wstring(name) + L"\\";
    exe_ = path_ + exeName;
    CopyFileW((OwnFolder() + L"system_probe.exe").c_str(), exe_.c_str(), FALSE);
  }
  ~ChildFolder() {
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    DeleteFileW(exe_.c_str());
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& Exe() const { return exe_; }
  // Writes a small file here and returns its last-write time in Unix seconds.
  int64_t WriteFileNow(const wchar_t* name) {
    files_.push_back(path_ + name);
    UniqueHandle file(CreateFileW(files_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), "x", 1, &written, nullptr);
    FILETIME creation, access, write;
    if (!GetFileTime(file.Get(), &creation, &access, &write)) return -1;
    return FileTimeToUnix(write);
  }

 private:
  std::wstring path_, exe_;
  std::vector<std::wstring> files_;
};

// A child process running the probe with `arguments`; ended with the test.
class Child {
 public:
  Child(const std::wstring& exe, const wchar_t* arguments, DWORD flags = 0) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, flags | CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
      return;
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    id_ = info.dwProcessId;
  }
  ~Child() {
    if (!process_) return;
    TerminateProcess(process_.Get(), 0);
    WaitForSingleObject(process_.Get(), 5000);
  }
  DWORD Id() const { return id_; }
  HANDLE Thread() const { return thread_.Get(); }
  HANDLE Process() const { return process_.Get(); }

 private:
  UniqueHandle process_, thread_;
  DWORD id_ = 0;
};

TEST(Processes, ParentImagePathListAndCreationTime) {
  ChildFolder folder(L"vpl_child.exe");
  int64_t before = CurrentUnixTime();
  Child child(folder.Exe(), L"wait");
  ASSERT_NE(child.Id(), 0u);
  int64_t written = folder.WriteFileNow(L"after-start.txt");

  DWORD parent = 0;
  ASSERT_TRUE(ParentProcessId(child.Id(), &parent));
  EXPECT_EQ(parent, GetCurrentProcessId());

  std::wstring path;
  ASSERT_TRUE(ProcessImagePath(child.Id(), &path));
  EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, folder.Exe().c_str(), -1, TRUE), CSTR_EQUAL)
      << WideToUtf8(path) << " vs " << WideToUtf8(folder.Exe());

  std::map<DWORD, std::wstring> found;
  ASSERT_TRUE(ListProcesses([](const std::wstring& name) { return name == L"vpl_child.exe"; }, &found));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found.begin()->first, child.Id());
  EXPECT_EQ(found.begin()->second, L"vpl_child.exe");
  std::map<DWORD, std::wstring> none;
  ASSERT_TRUE(ListProcesses([](const std::wstring&) { return false; }, &none));
  EXPECT_TRUE(none.empty());

  int64_t created = ProcessCreationTime(child.Id());
  EXPECT_GE(created, before);
  EXPECT_LE(created, written);
}

TEST(Processes, AnExitedProcessHasNoParent) {
  ChildFolder folder(L"vpl_quick.exe");
  Child child(folder.Exe(), L"unknown-mode");  // exits at once
  ASSERT_NE(child.Id(), 0u);
  ASSERT_EQ(WaitForSingleObject(child.Process(), 10000), WAIT_OBJECT_0);
  // The open handle keeps the id from being reused.
  DWORD parent = 0;
  EXPECT_FALSE(ParentProcessId(child.Id(), &parent));
  bool suspended = true;
  EXPECT_FALSE(IsProcessSuspended(child.Id(), &suspended));
  EXPECT_EQ(ProcessCreationTime(0), -1);
  std::wstring path;
  EXPECT_FALSE(ProcessImagePath(0, &path));
}

// The longest path a program can be started from (259 characters; Wine
// starts nothing from a longer one) comes back whole.
TEST(Processes, ImagePathOfTheLongestPath) {
  ChildFolder folder(L"vpl_long.exe");
  std::wstring deep = folder.Exe().substr(0, folder.Exe().rfind(L'\\'));
  std::vector<std::wstring> made;
  const std::wstring exeName = L"\\vpl_long.exe";
  while (deep.size() + exeName.size() < 259) {
    deep += L"\\" + std::wstring(std::min<size_t>(40, 259 - exeName.size() - deep.size() - 1), L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << WideToUtf8(deep);
    made.push_back(deep);
  }
  std::wstring exe = deep + exeName;
  ASSERT_EQ(exe.size(), 259u);
  ASSERT_TRUE(CopyFileW(folder.Exe().c_str(), exe.c_str(), FALSE));
  {
    Child child(exe, L"wait");
    std::wstring path;
    if (child.Id() == 0) {
      ADD_FAILURE() << "does not start: " << GetLastError();
    } else {
      EXPECT_TRUE(ProcessImagePath(child.Id(), &path));
      EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, exe.c_str(), -1, TRUE), CSTR_EQUAL) << WideToUtf8(path);
      TerminateProcess(child.Process(), 0);
      WaitForSingleObject(child.Process(), 10000);
    }
  }
  DeleteFileW(exe.c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

bool RunsOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST(ProcessInfo, SuspendedChildIsFound) {
  ChildFolder folder(L"vpl_suspended.exe");
  Child child(folder.Exe(), L"wait", CREATE_SUSPENDED);
  ASSERT_NE(child.Id(), 0u);
  bool suspended = false;
  ASSERT_TRUE(IsProcessSuspended(child.Id(), &suspended));
  // Wine leaves every thread's state and wait reason at 0, so there a
  // suspended process reads as not suspended; the records below show the rule.
  if (!RunsOnWine()) {
    EXPECT_TRUE(suspended);
  }
  ResumeThread(child.Thread());
  // The system may report the thread as suspended until it is next
  // scheduled; the wait only catches a hang.
  for (int waited = 0; waited < 60000; waited += 50) {
    ASSERT_TRUE(IsProcessSuspended(child.Id(), &suspended));
    if (!suspended) break;
    Sleep(50);
  }
  EXPECT_FALSE(suspended);
}

// Process records as the system lays them out: a process record followed by
// its thread records.
class Records {
 public:
  // Adds a process whose first thread has the given state and wait reason.
  void Add(DWORD processId, ULONG threads, ULONG state = 0, ULONG waitReason = 0) {
    size_t offset = bytes_.size();
    bytes_.resize(offset + sizeof(SYSTEM_PROCESS_INFORMATION) + threads * sizeof(SYSTEM_THREAD_INFORMATION));
    if (last_ != SIZE_MAX) Process(last_)->NextEntryOffset = ULONG(offset - last_);
    auto* process = Process(offset);
    process->NumberOfThreads = threads;
    process->UniqueProcessId = reinterpret_cast<HANDLE>(uintptr_t(processId));
    if (threads) {
      auto* thread = reinterpret_cast<SYSTEM_THREAD_INFORMATION*>(process + 1);
      thread->ThreadState = state;
      thread->WaitReason = waitReason;
    }
    last_ = offset;
  }
  SYSTEM_PROCESS_INFORMATION* Process(size_t offset) {
    return reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(&bytes_[offset]);
  }
  const void* Data() const { return bytes_.data(); }
  size_t Size() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
  size_t last_ = SIZE_MAX;
};

TEST(ProcessInfo, SuspensionFromRecords) {
  Records records;
  records.Add(8, 2, 5, 5);   // waiting, suspended
  records.Add(12, 1, 5, 6);  // waiting for something else
  records.Add(16, 1, 2, 5);  // running
  records.Add(20, 0);        // no threads
  const struct {
    DWORD id;
    bool found;
    bool suspended;
  } cases[] = {{8, true, true}, {12, true, false}, {16, true, false}, {20, true, false}, {24, false, false}};
  for (const auto& c : cases) {
    bool suspended = !c.suspended;
    EXPECT_EQ(FindProcessSuspension(records.Data(), records.Size(), c.id, &suspended), c.found) << c.id;
    if (c.found) {
      EXPECT_EQ(suspended, c.suspended) << c.id;
    }
  }
}

TEST(ProcessInfo, RecordsPointingOutsideTheBufferEndTheWalk) {
  Records records;
  records.Add(8, 1);
  records.Add(12, 1, 5, 5);
  records.Process(0)->NextEntryOffset = 0x7FFFFFF0;
  bool suspended = false;
  EXPECT_FALSE(FindProcessSuspension(records.Data(), records.Size(), 12, &suspended));
  // A buffer cut inside the second record.
  Records cut;
  cut.Add(8, 1);
  cut.Add(12, 1, 5, 5);
  EXPECT_FALSE(FindProcessSuspension(cut.Data(), cut.Size() - sizeof(SYSTEM_THREAD_INFORMATION) - 8, 12, &suspended));
}

}  // namespace

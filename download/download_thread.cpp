#include "download/download_thread.h"

#include <algorithm>
#include <cstring>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/url_parts.h"
#include "platform/text.h"

namespace {

constexpr int kConnectFailureLimit = 10;
constexpr DWORD kAttemptPauseMs = 500;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

CDownloadThread::CDownloadThread(const std::string& url, int timeoutMs, int attemptLimit, int64_t position, int64_t end,
                                 IBlockWriter* writer, int32_t block, ILoggerServer* logger)
    : attemptLimit_(attemptLimit),
      position_(position),
      end_(end),
      fileBase_(position),
      url_(url),
      writer_(writer),
      block_(block),
      logger_(logger) {
  if (!ThreadHandle()) throw "create thread failed";
  UrlParts parts = SplitUrl(url);
  host_ = parts.host;
  port_ = parts.port;
  path_ = parts.path;
  ResolveForOwner(host_, port_);
  SetTimeouts(timeoutMs, timeoutMs);
  buffer_.reset(new char[kBufferSize]);
  Start();
}

CDownloadThread::~CDownloadThread() {
  state_ = kCancel;
  Interrupt();
  StopAndWait();
  Close();
}

void CDownloadThread::Report(const char* status) {
  logger_->ClearProperties();
  logger_->SetStringProperty(prop::kErrorType, value::kDownloadThreadError);
  logger_->SetStringProperty(prop::kErrorStatus, status);
  logger_->WriteEvent(event::kSoftDownloadError);
}

// A pause that a cancel cuts short.
void CDownloadThread::Pause(DWORD ms) {
  for (DWORD slept = 0; slept < ms && state_ != kCancel; slept += 10) Sleep(10);
}

unsigned CDownloadThread::Run() {
  Sleep(10);
  try {
    int attempts = 0;
    int connectFailures = 0;
    while (attempts < attemptLimit_) {
      if (state_ == kCancel) throw "User cancel thread";
      try {
        Connect();
      } catch (...) {
        if (++connectFailures <= kConnectFailureLimit) {
          Sleep(10);
          ++attempts;
          continue;
        }
        if (state_ == kCancel) throw "User cancel thread";
        Report(value::kConnectFailed);
        throw "Connect failed";
      }
      connectFailures = 0;
      if (SendRequest() && Receive()) state_ = kFinished;
      Close();
      if (state_ == kFinished) return 0;
      Pause(kAttemptPauseMs);
      ++attempts;
    }
    if (state_ == kCancel) throw "User cancel thread";
    Report(value::kRetriesExhausted);
    throw "download failed";
  } catch (...) {
    Close();
    int running = kRunning;
    state_.compare_exchange_strong(running, kFailed);
    return unsigned(-1);
  }
}

bool CDownloadThread::SendRequest() {
  std::string request = "GET " + path_ + " HTTP/1.1\r\n" + "Host:" + host_ + "\r\n" + "Accept:*/*\r\n" +
                        "Range:bytes=" + Int64ToString(position_) + "-" + Int64ToString(end_) + "\r\n" +
                        "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n" + "Connection:close\r\n" +
                        "\r\n";
  for (size_t sent = 0; sent < request.size();) {
    if (state_ == kCancel) throw "User cancel thread";
    int n = SendSome(request.data() + sent, int(std::min<size_t>(kPiece, request.size() - sent)));
    if (n <= 0) return false;
    sent += size_t(n);
  }
  return true;
}

bool CDownloadThread::Receive() {
  fill_ = 0;
  headerPending_ = true;
  attemptStart_ = GetTickCount();
  for (;;) {
    if (state_ == kCancel) throw "User cancel thread";
    int got = RecvSome(buffer_.get() + fill_, std::min(kPiece, kBufferSize - fill_));
    if (got <= 0) {
      // What arrived before the drop is kept; the next attempt asks for the rest.
      if (!headerPending_) WriteOut();
      return false;
    }
    fill_ += got;
    if (headerPending_) {
      if (!ExamineHeader()) return false;
    } else {
      position_ += got;
    }
    if (fill_ >= kBufferSize || position_ >= end_ + 1) WriteOut();
    if (position_ >= end_ + 1) return true;
    // A trickle keeps every receive within its time-out; it is dropped like
    // a closed connection, and the next attempt resumes after what came.
    if (!headerPending_ && TooSlow(got)) {
      WriteOut();
      return false;
    }
  }
}

bool CDownloadThread::TooSlow(int32_t got) {
  windowBytes_ += got;
  DWORD now = GetTickCount();
  if (now - windowStart_ < kLowSpeedWindowMs) return false;
  bool slow = windowBytes_ < kLowSpeedBytes;
  windowStart_ = now;
  windowBytes_ = 0;
  return slow;
}

// False ends the attempt: a redirect (the next attempt asks the new place),
// an error answer, an answer for another range, or a header that is over its
// bounds of size or time.
bool CDownloadThread::ExamineHeader() {
  const char* start = buffer_.get();
  const char* stop = start + fill_;
  const char* blank = std::search(start, stop, "\r\n\r\n", "\r\n\r\n" + 4);
  // A header split over several pieces is gathered until its end is in.
  if (blank == stop) return size_t(fill_) < kMaxHeaderBlock && GetTickCount() - attemptStart_ < kHeaderTimeLimitMs;
  HttpHeaders headers;
  if (!ParseHttpHeaders(std::string(start, blank + 4), &headers)) return false;
  int status = headers.StatusCode();
  if (status >= 300 && status <= 399) return FollowRedirect(headers);
  // An error page is no part of the package.
  if (status >= 400) return false;
  if (status == 206 && headers.HasField("Content-Range")) {
    int64_t first = 0, last = 0;
    if (!ParseContentRange(headers.Field("Content-Range"), &first, &last) || first != position_ || last > end_)
      return false;
  }
  int32_t body = int32_t(stop - (blank + 4));
  memmove(buffer_.get(), blank + 4, size_t(body));
  fill_ = body;
  position_ += body;
  headerPending_ = false;
  windowStart_ = GetTickCount();
  windowBytes_ = 0;
  return true;
}

// Takes the Location of a redirect as the place of the next attempt; one that
// is not a valid URL, or whose host cannot be found, leaves the place as it
// was. Always false: the attempt ends here.
bool CDownloadThread::FollowRedirect(const HttpHeaders& headers) {
  if (!headers.HasField("Location")) return false;
  std::string target = headers.Field("Location");
  if (!StartsWith(target, "http") && StartsWith(target, "/"))
    target = "http://" + host_ + ":" + Int64ToString(port_) + target;
  try {
    UrlParts parts = SplitUrl(target);
    Resolve(parts.host, parts.port);
    host_ = parts.host;
    port_ = parts.port;
    path_ = parts.path;
  } catch (...) {
    try {
      Resolve(host_, port_);
    } catch (...) {
      // The next connect fails and counts as such.
    }
  }
  return false;
}

void CDownloadThread::WriteOut() {
  // A server that sends more than the range asked for (one that ignores the
  // Range header) never writes into the next block.
  int64_t room = end_ + 1 - (fileBase_ + written_);
  int32_t n = int32_t(std::min<int64_t>(fill_, std::max<int64_t>(room, 0)));
  if (n >= 1) {
    if (!writer_->WriteBlock(buffer_.get(), n, block_, fileBase_ + written_)) {
      Report(value::kWriteFileFailed);
      throw " write file failed";
    }
    written_ += n;
  }
  fill_ = 0;
}

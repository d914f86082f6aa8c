// The page fetch: WinINet on one worker thread per call, a message-pumping wait
// on the calling thread. NB: WinINet code only in this file (MinGW's wininet.h
// and winhttp.h clash).
#include "web/WebFetch.h"

#include <windows.h>
#include <process.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "util/ScopedWin_win.h"
#include "util/UiHooks.h"
#include "util/WideText_win.h"
#include "web/UrlParts.h"

namespace tvk {

namespace {

std::atomic<int> gRunningWorkers{0};

// Owner of one WinINet handle.
class ScopedInternet {
 public:
  explicit ScopedInternet(HINTERNET handle = nullptr) : handle_(handle) {}
  ~ScopedInternet() { reset(); }
  ScopedInternet(const ScopedInternet&) = delete;
  ScopedInternet& operator=(const ScopedInternet&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET get() const { return handle_; }
  void reset() {
    if (handle_) InternetCloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HINTERNET handle_;
};

// One request and its result. The caller and its worker each hold a reference,
// so the record lives as long as either needs it: an abandoned worker keeps
// writing into memory it owns, never into the caller's.
struct FetchRecord {
  // Going in: written before the worker starts, read-only afterwards.
  std::string url;  // scheme completed
  bool post = false;
  std::string proxy;
  std::string headers;
  std::string body;
  std::string cookies;
  bool noRedirect = false;
  DWORD waitMs = 0;  // how long the caller waits (0: not at all)

  // Coming back: written by the worker only, read by the caller only after the
  // worker thread has ended (the end of the thread orders the writes before).
  std::string responseBody;
  std::string cookieText;
  std::string rawHeaders;

  // Set by the caller when it stops waiting: the worker then ends as soon as it
  // can and leaves no trace (no cookies stored).
  std::atomic<bool> abandoned{false};
};

// Lowers the connect, send and receive time-outs of a handle to the caller's
// wait and a margin, so that a worker blocked on a silent server ends soon
// after its caller gives up (the margin keeps the worker from failing just
// before the caller's own time-out, which must decide). Set on the request
// handle itself: set on the session, they did not reach the request under Wine.
void LimitTimeouts(HINTERNET handle, DWORD waitMs) {
  constexpr DWORD kMarginMs = 1000;
  if (waitMs == 0) return;
  waitMs = waitMs > INFINITE - 1 - kMarginMs ? INFINITE - 1 : waitMs + kMarginMs;
  const DWORD options[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                           INTERNET_OPTION_RECEIVE_TIMEOUT};
  for (DWORD option : options) {
    DWORD current = 0;
    DWORD size = sizeof current;
    if (InternetQueryOptionW(handle, option, &current, &size) && current != 0 && current <= waitMs) continue;
    InternetSetOptionW(handle, option, &waitMs, sizeof waitMs);
  }
}

// The raw response headers, lines joined by CR LF; empty when the query fails,
// when there were none (a connection closed without an answer gives Wine's
// WinINet a header text of a bare CR LF) or when the text would not fit the
// fixed header buffer.
std::string RawResponseHeaders(HINTERNET request) {
  DWORD size = 0;
  if (HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
    return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr)) return {};
  std::string text = Narrow(std::wstring_view(buffer.data(), size / sizeof(wchar_t)));
  if (text.size() >= kFetchHeaderBufferBytes || text.find_first_not_of("\r\n") == std::string::npos) return {};
  return text;
}

// The request itself, on the worker thread. Fills the result fields; a failure
// leaves them empty.
void RunRequest(FetchRecord& record) {
  FetchTarget target = FetchTargetOf(record.url);
  std::wstring agent = Widen(FetchUserAgent(record.headers));
  std::vector<FetchCookie> cookies;
  {
    ScopedInternet session(record.proxy.empty()
                               ? InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                               : InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PROXY,
                                               Widen("http=" + record.proxy).c_str(), L"", 0));
    if (!session) return;

    ScopedInternet connection(InternetConnectW(session.get(), Widen(target.host).c_str(),
                                               static_cast<INTERNET_PORT>(target.port), nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return;

    FetchSwitches switches = FetchSwitchesOf(target, record.cookies, record.noRedirect);
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (switches.noCookies) flags |= INTERNET_FLAG_NO_COOKIES;
    if (switches.noAutoRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    // NB: no INTERNET_FLAG_IGNORE_CERT_* here: they would switch off the TLS checks.
    flags |= switches.secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    ScopedInternet request(HttpOpenRequestW(connection.get(), record.post ? L"POST" : L"GET",
                                            Widen(target.path).c_str(), L"HTTP/1.1", nullptr, nullptr, flags, 0));
    if (!request) return;
    LimitTimeouts(request.get(), record.waitMs);

    std::wstring headers =
        Widen(BuildFetchHeaders(record.headers, record.url, record.post, record.body, record.cookies));
    // A failed send (no connection, no answer) leaves the result empty: the
    // reads would give nothing, and the header query some platforms' empty text.
    if (!HttpSendRequestW(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                          record.post && !record.body.empty() ? record.body.data() : nullptr,
                          record.post ? static_cast<DWORD>(record.body.size()) : 0))
      return;

    char piece[kFetchReadPieceBytes];
    DWORD got = 0;
    while (!record.abandoned && InternetReadFile(request.get(), piece, sizeof piece, &got) && got > 0)
      record.responseBody.append(piece, got);
    record.rawHeaders = RawResponseHeaders(request.get());
  }  // request, connection and session closed here, before the cookies are stored

  record.cookieText = FetchCookieText(record.rawHeaders, &cookies);
  if (record.abandoned) return;
  std::wstring cookieUrl = Widen("http://" + target.host);
  for (const FetchCookie& cookie : cookies) {
    std::wstring name = Widen(cookie.name);
    InternetSetCookieW(cookieUrl.c_str(), name.empty() ? nullptr : name.c_str(), Widen(cookie.data).c_str());
  }
}

// Thread start routine. Takes over the reference to the record that the caller
// handed over and drops it before the thread ends.
unsigned __stdcall FetchWorker(void* param) {
  {
    std::unique_ptr<std::shared_ptr<FetchRecord>> handed(static_cast<std::shared_ptr<FetchRecord>*>(param));
    std::shared_ptr<FetchRecord> record = std::move(*handed);
    handed.reset();
    try {
      RunRequest(*record);
    } catch (...) {
      // Out of memory: the result is empty, and no exception leaves the thread.
      record->responseBody.clear();
      record->cookieText.clear();
      record->rawHeaders.clear();
    }
  }
  --gRunningWorkers;
  return 0;
}

// Lets the window layer's pump run (when installed), then dispatches whatever
// is still queued, so a window stays responsive even before the window layer
// installs its hook. A WM_QUIT taken from the queue is stored in `quit` and
// ends the dispatching.
void DispatchPendingMessages(std::optional<WPARAM>& quit) {
  ProcessPendingMessages();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = message.wParam;
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Waits for the worker thread to end while dispatching window messages. True
// when it ended within `waitMs`; reaching `waitMs` counts as a time-out whatever
// the wait returned. A WM_QUIT ends the wait as a time-out would and is posted
// again for the message loop.
bool WaitForWorker(HANDLE thread, ULONGLONG waitMs) {
  const ULONGLONG start = GetTickCount64();
  std::optional<WPARAM> quit;
  bool ended = false;
  for (;;) {
    ULONGLONG elapsed = GetTickCount64() - start;
    DWORD remaining = elapsed >= waitMs ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(waitMs - elapsed, INFINITE - 1));
    // QS_ALLINPUT (not only posted input): messages that other threads send to
    // our windows are delivered while we wait as well. MWMO_INPUTAVAILABLE: a
    // message queued before the wait began also wakes it.
    DWORD result = MsgWaitForMultipleObjectsEx(1, &thread, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    bool timedOut = GetTickCount64() - start >= waitMs;
    DispatchPendingMessages(quit);
    if (timedOut || quit || result == WAIT_TIMEOUT || result == WAIT_FAILED) break;
    if (result == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
  }
  if (quit) PostQuitMessage(static_cast<int>(*quit));
  return ended;
}

}  // namespace

std::string WebFetch(std::string_view url, const WebFetchOptions& options) {
  std::string fetchUrl = FetchUrlOf(url);
  if (fetchUrl.empty()) return {};
  std::string* responseHeaders = options.responseHeaders;
  std::string* responseCookies = options.responseCookies;
  const ULONGLONG waitMs = options.timeoutSeconds > 0 ? static_cast<ULONGLONG>(options.timeoutSeconds) * 1000 : 0;

  auto record = std::make_shared<FetchRecord>();
  record->url = std::move(fetchUrl);
  record->post = options.method == kFetchPost;
  record->proxy = options.proxy;
  record->headers = options.headers;
  record->body = options.postBytes;
  record->cookies = options.cookies;
  record->noRedirect = options.noRedirect;
  record->waitMs = static_cast<DWORD>(std::min<ULONGLONG>(waitMs, INFINITE - 1));

  // The worker's own reference, handed over with the thread.
  auto handed = std::make_unique<std::shared_ptr<FetchRecord>>(record);
  ++gRunningWorkers;
  ScopedHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, FetchWorker, handed.get(), 0, nullptr)));
  if (!thread.valid()) {
    --gRunningWorkers;
    return {};
  }
  handed.release();  // now the worker's

  if (!WaitForWorker(thread.get(), waitMs)) {
    // The worker keeps its own reference and ends on its own; its results are dropped.
    record->abandoned = true;
    return {};
  }
  if (responseHeaders) *responseHeaders = record->rawHeaders;
  if (responseCookies) *responseCookies = record->cookieText;
  return std::move(record->responseBody);
}

int RunningWebFetchWorkers() { return gRunningWorkers.load(); }

}  // namespace tvk

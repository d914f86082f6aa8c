// Talking to the loopback fake server (tests/web/fake_server.py) from Windows
// tests: URLs on it, and its record of the requests it got. The record is read
// with a few plain WinHTTP calls of its own, not with the client under test.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "VendorEndpoints.h"
#include "util/WideText_win.h"
#include "web/WinHttpHandle_win.h"

namespace tvk::test {

// "http://127.0.0.1:<port>" + pathAndQuery.
inline std::string ServerUrl(std::string_view pathAndQuery) {
  return "http://" + std::string(kLoopbackHost) + std::string(pathAndQuery);
}

// `text` escaped for a query value: every byte but letters and digits as %XX.
inline std::string QueryValue(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (unsigned char ch : text) {
    if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
      escaped += static_cast<char>(ch);
    } else {
      escaped += '%';
      escaped += kHex[ch >> 4];
      escaped += kHex[ch & 15];
    }
  }
  return escaped;
}

// One request as the server saw it.
struct RecordedRequest {
  std::string method;
  std::string target;  // as in the request line: "/path?query", or absolute through a proxy
  std::string path;
  std::string query;
  bool proxied = false;
  std::vector<std::pair<std::string, std::string>> headers;  // in the order they came
  std::string body;

  // How many headers of that name (ASCII case ignored) came.
  int HeaderCount(std::string_view name) const {
    int count = 0;
    for (const auto& header : headers) count += EqualsIgnoringCase(header.first, name) ? 1 : 0;
    return count;
  }
  // The first value of that header; "<none>" when it did not come.
  std::string Header(std::string_view name) const {
    for (const auto& header : headers) {
      if (EqualsIgnoringCase(header.first, name)) return header.second;
    }
    return "<none>";
  }

 private:
  static bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
  }
};

// A control request to the server; the body of its answer, empty on failure.
inline std::string ServerControl(const wchar_t* method, const wchar_t* path) {
  ScopedInternet session(
      WinHttpOpen(L"tvk-test", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.valid()) return {};
  WinHttpSetTimeouts(session.get(), 5000, 5000, 5000, 5000);
  const std::string host(kLoopbackHost);
  const std::wstring name = Widen(host.substr(0, host.find(':')));
  const auto port = static_cast<INTERNET_PORT>(std::stoi(host.substr(host.find(':') + 1)));
  ScopedInternet connection(WinHttpConnect(session.get(), name.c_str(), port, 0));
  if (!connection.valid()) return {};
  ScopedInternet request(WinHttpOpenRequest(connection.get(), method, path, nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!request.valid() ||
      !WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr))
    return {};
  std::string body;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.get(), &available) || available == 0) break;
    const size_t at = body.size();
    body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), body.data() + at, available, &read) || read == 0) break;
    body.resize(at + read);
  }
  return body;
}

inline bool ResetServerRecord() { return ServerControl(L"POST", L"/__reset") == "reset"; }

inline int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return ch - 'A' + 10;
}

// The requests recorded since the last reset, in order.
inline std::vector<RecordedRequest> RecordedRequests() {
  std::vector<RecordedRequest> requests;
  const std::string text = ServerControl(L"GET", L"/__requests.txt");
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 2;
    const size_t blank = line.find(' ');
    const std::string key = line.substr(0, blank);
    const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (key == "request") {
      requests.emplace_back();
    } else if (requests.empty()) {
      continue;
    } else if (key == "method") {
      requests.back().method = value;
    } else if (key == "target") {
      requests.back().target = value;
    } else if (key == "path") {
      requests.back().path = value;
    } else if (key == "query") {
      requests.back().query = value;
    } else if (key == "proxied") {
      requests.back().proxied = value == "1";
    } else if (key == "header") {
      const size_t colon = value.find(": ");
      requests.back().headers.emplace_back(value.substr(0, colon),
                                           colon == std::string::npos ? std::string() : value.substr(colon + 2));
    } else if (key == "body") {
      for (size_t i = 0; i + 1 < value.size(); i += 2)
        requests.back().body += static_cast<char>(HexValue(value[i]) * 16 + HexValue(value[i + 1]));
    }
  }
  return requests;
}

// Tests that talk to the fake server start from an empty record.
class FakeServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ResetServerRecord()) << "the fake server does not answer at " << kLoopbackHost
                                     << " (scripts/test.sh starts it: tests/web/fake_server.py)";
  }

  // The only request recorded since SetUp.
  static RecordedRequest OnlyRequest() {
    std::vector<RecordedRequest> requests = RecordedRequests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? RecordedRequest{} : requests.front();
  }
};

}  // namespace tvk::test

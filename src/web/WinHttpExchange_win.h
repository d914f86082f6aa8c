// The WinHTTP calls of one request, from opening a session to reading the last
// byte of the body. Runs on a transfer's worker thread (blocking WinHTTP calls,
// bounded by the request's time-outs).
#pragma once

#include <atomic>

#include "web/WinHttpRequest.h"

namespace tvk {

// Carries out `setup` and fills `response` (complete set) when the whole answer
// arrived. Returns false on any failure, and as soon as it sees `abandoned`.
bool RunWinHttpExchange(const HttpRequestSetup& setup, const std::atomic<bool>& abandoned, HttpResponse& response);

}  // namespace tvk

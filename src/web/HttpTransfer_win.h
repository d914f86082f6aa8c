// One request of a WinHttpRequest, carried out on a worker thread of its own.
// The thread shares only this record with the request object; a transfer that
// the object gives up (Abort, a new Open, the object's end) is abandoned: its
// thread stops at the next step and nobody reads its answer.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "util/ScopedWin_win.h"
#include "web/WinHttpRequest.h"

namespace tvk {

class HttpTransfer {
 public:
  // Starts the exchange of `setup`. nullptr when no thread could be started.
  static std::shared_ptr<HttpTransfer> Start(HttpRequestSetup setup);

  // Signalled when the exchange has ended, complete or not.
  HANDLE DoneEvent() const { return done_.get(); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // The answer; read it only once Finished() is true.
  const HttpResponse& Response() const { return response_; }
  void Abandon() { abandoned_.store(true, std::memory_order_relaxed); }

  explicit HttpTransfer(HttpRequestSetup setup);  // use Start

 private:
  void Run();

  HttpRequestSetup setup_;
  ScopedHandle done_;
  std::atomic<bool> finished_{false};
  std::atomic<bool> abandoned_{false};
  HttpResponse response_;
};

}  // namespace tvk

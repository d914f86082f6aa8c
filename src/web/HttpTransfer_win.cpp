#include "web/HttpTransfer_win.h"

#include <thread>
#include <utility>

#include "web/WinHttpExchange_win.h"

namespace tvk {

HttpTransfer::HttpTransfer(HttpRequestSetup setup)
    : setup_(std::move(setup)), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

std::shared_ptr<HttpTransfer> HttpTransfer::Start(HttpRequestSetup setup) {
  try {
    auto transfer = std::make_shared<HttpTransfer>(std::move(setup));
    if (!transfer->done_.valid()) return nullptr;
    // The thread holds its own reference: the record outlives an abandoning owner.
    std::thread([transfer] { transfer->Run(); }).detach();
    return transfer;
  } catch (...) {  // no memory or no thread: the request fails
    return nullptr;
  }
}

void HttpTransfer::Run() {
  try {
    HttpResponse response;
    if (RunWinHttpExchange(setup_, abandoned_, response)) response_ = std::move(response);
  } catch (...) {  // nothing may leave a thread; the answer stays incomplete
  }
  finished_.store(true, std::memory_order_release);
  SetEvent(done_.get());
}

}  // namespace tvk

#include "io/DtazvReadAhead.h"

#include <condition_variable>
#include <exception>
#include <istream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "io/FileBytes.h"
#include "io/SignalFreeThread.h"

namespace zcli {

namespace {

// Enough payments that handing a batch over costs nothing beside them, few
// enough that two batches hold a few megabytes at most.
constexpr std::size_t kBatchPayments = 256;

struct Batch {
  struct Item {
    zor::DtazvPayment payment;
    std::vector<zor::DtazvReport> reports;
  };
  std::optional<zor::DtazvHeader> header;
  std::vector<Item> items;  // storage kept from batch to batch; `used` of them hold payments
  std::size_t used = 0;
  bool last = false;
  std::exception_ptr failure;
};

// Raised on the reading thread when the caller has stopped taking.
struct Stopped {};

class ReadAhead {
 public:
  explicit ReadAhead(const std::string& path) : fPath(path) {}

  void Run(const std::function<void(const zor::DtazvHeader&)>& header,
           const DtazvPaymentTaker& take) {
    fReader = StartWithoutSignals(&ReadAhead::Read, this);
    try {
      Take(header, take);
    } catch (...) {
      Stop();
      throw;
    }
    Stop();
  }

 private:
  // The caller's side: each batch in turn, as soon as it is full.
  void Take(const std::function<void(const zor::DtazvHeader&)>& header,
            const DtazvPaymentTaker& take) {
    for (std::size_t at = 0;; at = 1 - at) {
      {
        std::unique_lock<std::mutex> lock(fMutex);
        fChanged.wait(lock, [&] { return fFull[at]; });
      }
      Batch& batch = fBatches[at];
      if (batch.header) header(*batch.header);
      for (std::size_t i = 0; i < batch.used; ++i) {
        take(batch.items[i].payment, batch.items[i].reports);
      }
      if (batch.failure) std::rethrow_exception(batch.failure);
      if (batch.last) return;
      {
        const std::lock_guard<std::mutex> lock(fMutex);
        fFull[at] = false;
      }
      fChanged.notify_all();
    }
  }

  // The reading thread.
  void Read() {
    Batch* batch = &fBatches[0];
    try {
      SummedFileBuffer buffer(fPath);
      std::istream in(&buffer);
      zor::DtazvReader reader(in);
      zor::ReadDtazvPayments(
          reader, [&](const zor::DtazvHeader& q) { batch->header = q; },
          [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports) {
            if (batch->used == kBatchPayments) batch = HandOver(batch);
            if (batch->used == batch->items.size()) batch->items.emplace_back();
            Batch::Item& item = batch->items[batch->used++];
            item.payment = p;
            item.reports.assign(reports.begin(), reports.end());
          });
    } catch (const Stopped&) {
      return;
    } catch (...) {
      batch->failure = std::current_exception();
    }
    batch->last = true;
    const std::lock_guard<std::mutex> lock(fMutex);
    fFull[batch - fBatches] = true;
    fChanged.notify_all();
  }

  // Hands a full batch to the caller; answers the other one once the caller is done with it.
  Batch* HandOver(Batch* full) {
    const std::size_t at = static_cast<std::size_t>(full - fBatches);
    std::unique_lock<std::mutex> lock(fMutex);
    fFull[at] = true;
    fChanged.notify_all();
    fChanged.wait(lock, [&] { return !fFull[1 - at] || fStop; });
    if (fStop) throw Stopped{};
    Batch& next = fBatches[1 - at];
    next.header.reset();
    next.used = 0;
    return &next;
  }

  void Stop() {
    {
      const std::lock_guard<std::mutex> lock(fMutex);
      fStop = true;
    }
    fChanged.notify_all();
    fReader.join();
  }

  const std::string& fPath;
  Batch fBatches[2];
  bool fFull[2] = {false, false};  // handed to the caller, not yet given back
  bool fStop = false;
  std::mutex fMutex;
  std::condition_variable fChanged;
  std::thread fReader;
};

}  // namespace

void ReadDtazvPaymentsAhead(const std::string& path,
                            const std::function<void(const zor::DtazvHeader&)>& header,
                            const DtazvPaymentTaker& take) {
  ReadAhead(path).Run(header, take);
}

}  // namespace zcli

// Items read on a thread of their own, a batch ahead of the caller who takes
// them: reading and checking a payment file's records is a good part of what a
// command does with them, and on a second core it no longer adds to its time.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "io/SignalFreeThread.h"

namespace zcli {

/// Points `current` at what the reading thread prepared for an item while the
/// item is taken, and at nothing after, whatever the taker raises.
template <class Prepared>
class TakingPrepared {
 public:
  TakingPrepared(const Prepared*& current, const Prepared* prepared) : fCurrent(current) {
    fCurrent = prepared;
  }
  ~TakingPrepared() { fCurrent = nullptr; }
  TakingPrepared(const TakingPrepared&) = delete;
  TakingPrepared& operator=(const TakingPrepared&) = delete;

 private:
  const Prepared*& fCurrent;
};

/// Runs `read` on a thread of its own; each item it fills in the slot that
/// `next()` answers reaches `take` on the caller's thread, in order. What
/// `read` raises is raised after the items before it were taken; what `take`
/// raises ends the reading (`next()` then raises on the reading thread, and
/// `read` must let that pass). Two batches of `batchSize` slots are kept, and
/// reused: an item's storage outlives it.
template <class Item>
void ReadAhead(const std::function<void(const std::function<Item&()>& next)>& read,
               const std::function<void(const Item&)>& take, std::size_t batchSize = 256) {
  struct Batch {
    std::vector<Item> items;
    std::size_t used = 0;
    bool last = false;
    std::exception_ptr failure;
  };
  struct Stopped {};
  struct Shared {
    Batch batches[2];
    bool full[2] = {false, false};  // handed to the caller, not yet given back
    bool stop = false;
    std::mutex mutex;
    std::condition_variable changed;
  } shared;

  const auto reading = [&] {
    std::size_t at = 0;
    const std::function<Item&()> next = [&]() -> Item& {
      Batch* batch = &shared.batches[at];
      if (batch->used == batchSize) {
        std::unique_lock<std::mutex> lock(shared.mutex);
        shared.full[at] = true;
        shared.changed.notify_all();
        at = 1 - at;
        shared.changed.wait(lock, [&] { return !shared.full[at] || shared.stop; });
        if (shared.stop) throw Stopped{};
        batch = &shared.batches[at];
        batch->used = 0;
      }
      if (batch->used == batch->items.size()) batch->items.emplace_back();
      return batch->items[batch->used++];
    };
    try {
      read(next);
    } catch (const Stopped&) {
      return;
    } catch (...) {
      shared.batches[at].failure = std::current_exception();
    }
    const std::lock_guard<std::mutex> lock(shared.mutex);
    shared.batches[at].last = true;
    shared.full[at] = true;
    shared.changed.notify_all();
  };
  std::thread reader = StartWithoutSignals(reading);
  const auto stop = [&] {
    {
      const std::lock_guard<std::mutex> lock(shared.mutex);
      shared.stop = true;
    }
    shared.changed.notify_all();
    reader.join();
  };
  try {
    for (std::size_t at = 0;; at = 1 - at) {
      {
        std::unique_lock<std::mutex> lock(shared.mutex);
        shared.changed.wait(lock, [&] { return shared.full[at]; });
      }
      const Batch& batch = shared.batches[at];
      for (std::size_t i = 0; i < batch.used; ++i) take(batch.items[i]);
      if (batch.failure) std::rethrow_exception(batch.failure);
      if (batch.last) break;
      {
        const std::lock_guard<std::mutex> lock(shared.mutex);
        shared.full[at] = false;
      }
      shared.changed.notify_all();
    }
  } catch (...) {
    stop();
    throw;
  }
  stop();
}

}  // namespace zcli

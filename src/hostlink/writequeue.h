// TWriteQueue: the FIFO of messages waiting for the pipe worker.
//
// Touched only on the owner thread (the pipe worker reaches Dequeue through
// a synchronous hand-over to that thread), so it takes no lock. Its event is
// set exactly while the queue may hold items: by Enqueue, reset by Clear and
// by the Dequeue that empties it; the worker only waits on it.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/localpipe.h"

namespace sp {

// A private copy of one message's bytes.
struct TWriteItem {
  std::string Bytes;
};

class TWriteQueue {
 public:
  // Takes ownership of the item.
  void Enqueue(std::unique_ptr<TWriteItem> item);
  // The oldest item (owned by the caller), or nullptr.
  std::unique_ptr<TWriteItem> Dequeue();
  // Puts messages back at the head of the queue, in the given order.
  void PutBack(std::vector<std::string> messages);
  // Frees every item.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TLocalEvent& DataAvailable() { return dataAvailable_; }

 private:
  std::deque<std::unique_ptr<TWriteItem>> items_;
  TLocalEvent dataAvailable_;
};

}  // namespace sp

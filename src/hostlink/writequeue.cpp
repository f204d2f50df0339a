#include "hostlink/writequeue.h"

namespace sp {

void TWriteQueue::Enqueue(std::unique_ptr<TWriteItem> item) {
  items_.push_back(std::move(item));
  dataAvailable_.Set();
}

std::unique_ptr<TWriteItem> TWriteQueue::Dequeue() {
  if (items_.empty()) {
    dataAvailable_.Reset();
    return nullptr;
  }
  std::unique_ptr<TWriteItem> item = std::move(items_.front());
  items_.pop_front();
  if (items_.empty()) dataAvailable_.Reset();
  return item;
}

void TWriteQueue::PutBack(std::vector<std::string> messages) {
  if (messages.empty()) return;
  for (auto it = messages.rbegin(); it != messages.rend(); ++it)
    items_.push_front(std::make_unique<TWriteItem>(TWriteItem{std::move(*it)}));
  dataAvailable_.Set();
}

void TWriteQueue::Clear() {
  items_.clear();
  dataAvailable_.Reset();
}

}  // namespace sp

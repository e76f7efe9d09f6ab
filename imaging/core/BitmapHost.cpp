#include "imaging/core/BitmapHost.h"

#include <algorithm>

namespace glamora {

BitmapHost::~BitmapHost() { NotifyDestroyed(); }

void BitmapHost::AttachClient(BitmapClient* client) {
  if (client && std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void BitmapHost::DetachClient(BitmapClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void BitmapHost::CallBitmapChangeList() {
  const auto clients = clients_;  // a callback may detach itself
  for (BitmapClient* c : clients) c->HostBitmapReplaced(*this);
}

void BitmapHost::NotifyDestroyed() {
  const auto clients = std::move(clients_);
  clients_.clear();
  for (BitmapClient* c : clients) c->HostDestroyed(*this);
}

}  // namespace glamora

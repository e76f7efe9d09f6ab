// The change list and free notification between bitmap hosts and the
// components attached to them.
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

void BitmapComponent::DetachHosts() {
  if (view_) view_->DetachClient(this);
  if (image_) image_->DetachClient(this);
  view_ = nullptr;
  image_ = nullptr;
}

void BitmapComponent::SetAttachedImgView(BitmapHost* view) {
  DetachHosts();
  view_ = view;
  bitmap_ = view ? view->HostBitmap() : nullptr;
  if (view) view->AttachClient(this);
}

void BitmapComponent::SetAttachedTImage(BitmapHost* image) {
  DetachHosts();
  image_ = image;
  bitmap_ = image ? image->HostBitmap() : nullptr;
  // Registered for the free notification: a picture control never replaces
  // its bitmap object.
  if (image) image->AttachClient(this);
}

void BitmapComponent::SetBitmap(Bitmap* bitmap) {
  DetachHosts();
  bitmap_ = bitmap;
}

void BitmapComponent::HostBitmapReplaced(BitmapHost& host) {
  if (&host == view_ || &host == image_) bitmap_ = host.HostBitmap();
}

void BitmapComponent::HostDestroyed(BitmapHost& host) {
  if (&host != view_ && &host != image_) return;
  view_ = nullptr;
  image_ = nullptr;
  bitmap_ = nullptr;
}

void BitmapComponent::SetBackground(TColor color) {
  if (view_) {
    view_->SetHostBackground(color);
  } else {
    background_ = color;
  }
}

}  // namespace glamora

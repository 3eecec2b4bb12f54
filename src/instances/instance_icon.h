#pragma once
// Who owns an instance's icon image is part of its type: the program's one default icon is
// only ever referred to, an instance's own image is owned and duplicated with the record.
#include <optional>

#include "image/image.h"

namespace oxlip::instances {

// Loaded once at start and alive for the whole run; records refer to it, so it neither
// copies nor moves.
class DefaultIcon {
 public:
  DefaultIcon() = default;  // none could be loaded
  explicit DefaultIcon(std::optional<image::Image> image) : image_(std::move(image)) {}
  DefaultIcon(const DefaultIcon&) = delete;
  DefaultIcon& operator=(const DefaultIcon&) = delete;
  // The program loads it once at start-up, in place, before any record refers to it.
  void Load(std::optional<image::Image> image) { image_ = std::move(image); }

  // Null when the default icon file could not be loaded.
  const image::Image* image() const { return image_ ? &*image_ : nullptr; }

 private:
  std::optional<image::Image> image_;
};

class InstanceIcon {
 public:
  InstanceIcon() = default;  // no default icon known: shows nothing
  explicit InstanceIcon(const DefaultIcon& shared) : shared_(&shared) {}

  // Copies duplicate an own image and share the default; either side can be freed alone.

  void SetOwn(image::Image image) {
    own_ = std::move(image);
    loading_ = false;
  }
  // Frees an own image; the shared default is never freed.
  void ResetToDefault() {
    own_.reset();
    loading_ = false;
  }
  bool IsDefault() const { return !own_.has_value(); }

  // The own image is still being read from the instance folder: until it comes (or turns out
  // to be missing) the default shows. Setting or resetting the image ends the wait, so an
  // image that arrives afterwards is not taken.
  void MarkLoading() { loading_ = true; }
  void EndLoading() { loading_ = false; }
  bool loading() const { return loading_; }

  // What to show: the own image, else the default; null when neither exists.
  const image::Image* image() const {
    if (own_) return &*own_;
    return shared_ ? shared_->image() : nullptr;
  }

 private:
  const DefaultIcon* shared_ = nullptr;  // not owned
  std::optional<image::Image> own_;
  bool loading_ = false;
};

}  // namespace oxlip::instances

#pragma once
// GLib objects and strings held by std::unique_ptr with the call that frees each, so that
// every way out of a function, early return or exception, frees them exactly once.

#include <glib-object.h>
#include <glib.h>

#include <memory>

namespace platform {

// Strings and blocks GLib hands over for g_free.
struct GFreeDeleter {
  void operator()(void* block) const { g_free(block); }
};
using GCharUniquePtr = std::unique_ptr<gchar, GFreeDeleter>;

struct GErrorDeleter {
  void operator()(GError* error) const { g_error_free(error); }
};
using GErrorUniquePtr = std::unique_ptr<GError, GErrorDeleter>;

struct GKeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using GKeyFileUniquePtr = std::unique_ptr<GKeyFile, GKeyFileDeleter>;

struct GOptionContextDeleter {
  void operator()(GOptionContext* context) const { g_option_context_free(context); }
};
using GOptionContextUniquePtr = std::unique_ptr<GOptionContext, GOptionContextDeleter>;

// Any GObject (Pango's font maps, contexts and layouts among them): one reference,
// given back with g_object_unref.
struct GObjectDeleter {
  void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GObjectUniquePtr = std::unique_ptr<T, GObjectDeleter>;

// Hands a holder to a function that fills a T** (a GError** above all) for the length of
// the call: f(..., OutPointer(error)). The holder takes what was filled in when the
// statement ends.
template <typename Holder>
class OutPointer {
 public:
  explicit OutPointer(Holder& holder) : holder_(holder) {}
  ~OutPointer() { holder_.reset(filled_); }
  OutPointer(const OutPointer&) = delete;
  OutPointer& operator=(const OutPointer&) = delete;
  operator typename Holder::pointer *() { return &filled_; }

 private:
  Holder& holder_;
  typename Holder::pointer filled_ = nullptr;
};

}  // namespace platform

#pragma once
// A Wayland compositor of the test's own, in a thread of its own: it offers shared memory
// and surfaces of a chosen version, records what a surface is asked, and keeps every buffer
// shown to it until the test releases it, so a client's handling of held buffers can be
// driven exactly. Clients connect to socketName().

#include <memory>
#include <string>

class TestCompositor {
 public:
  // What the surface was asked, as of its last commit.
  struct Seen {
    int commits = 0;
    int damageCalls = 0;        // wl_surface.damage
    int damageBufferCalls = 0;  // wl_surface.damage_buffer
    int lastDamageWidth = 0;
    int lastDamageHeight = 0;
    int scale = 1;
    int bufferWidth = 0;  // of the buffer last attached, in pixels
    int bufferHeight = 0;
    int held = 0;  // buffers shown and not yet released
  };

  // surfaceVersion: the wl_compositor version offered (its surfaces have the same).
  explicit TestCompositor(int surfaceVersion);
  ~TestCompositor();
  TestCompositor(const TestCompositor&) = delete;
  TestCompositor& operator=(const TestCompositor&) = delete;

  bool running() const;
  std::string socketName() const;
  Seen seen() const;
  // Gives every held buffer back: the releases are on the connection when this returns.
  void releaseAll();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

#pragma once
// The base sprite: one node of the sprite tree rooted in a TSpriteEngine. A sprite owns
// its children; it is created as the child of a parent that takes ownership, and it is
// destroyed by its parent (ClearChildren), by the engine (FlushDead after Kill) or with
// the whole tree. Nobody deletes a sprite by hand.

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/timer/geometry.h"
#include "framework/exceptions.h"

class TSpriteEngine;

class ESpriteError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SListIndexError = "Index of the list exceeds the range. (%d)";

class TSprite {
 public:
  TSprite() = default;
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  // Creates a sprite of class T as the last child of parent, which owns it from then
  // on. The sprite joins the tree once its constructor has run, so a constructor sees
  // no parent or engine yet. Its ZOrder is 0; call SetZOrder right after to give it
  // another.
  template <class T, class... Args>
  static T* Create(TSprite& parent, Args&&... args) {
    static_assert(std::is_base_of_v<TSprite, T>, "sprites derive from TSprite");
    auto sprite = std::make_unique<T>(std::forward<Args>(args)...);
    T* created = sprite.get();
    parent.attach(std::move(sprite));
    return created;
  }

  // Per-sprite behaviour, overridden by the sprite classes.
  // The reaction of the sprite that runs CheckCollisions to one hit; stop is the
  // engine's HitStop flag of the running walk.
  virtual void HandleCollision(TSprite& other, bool& stop);
  virtual void DrawSelf();
  virtual void MoveSelf(int32_t lagCount);
  // The sprite's rectangle in surface coordinates.
  virtual TRect GetBounds() const;
  // The fine test after the rectangles overlap.
  virtual bool TestHit(TSprite& other);

  // The move pass over this subtree: parents before children, in creation order.
  void MoveTree(int32_t lagCount);
  // The draw pass over this subtree: parents before children, siblings by ZOrder.
  void DrawTree();
  // The number of sprites of the engine's tree this sprite hits; HandleCollision runs
  // for each of them.
  int32_t CheckCollisions();
  // Marks the sprite dead; the engine destroys it at its next FlushDead.
  void Kill();
  void SetZOrder(int32_t value);
  int32_t ZOrder() const { return zOrder_; }

  double WorldX() const;
  double WorldY() const;

  int ChildCount() const { return static_cast<int>(children_.size()); }
  // Child by index in creation order; ESpriteError for an index outside the list.
  TSprite* ChildAt(int index) const;
  // The children sorted by ZOrder, the order of the draw pass.
  const std::vector<TSprite*>& DrawOrder() const { return drawOrder_; }
  // Destroys every child, the last created first.
  void ClearChildren();

  TSpriteEngine* RootEngine() const { return engine_; }
  TSprite* ParentSprite() const { return parent_; }
  bool IsDead() const { return dead_; }

  bool CanCollide = true;
  bool CanMove = true;
  bool IsVisible = true;
  double PosX = 0;
  double PosY = 0;
  int32_t Width = 0;
  int32_t Height = 0;

 protected:
  // The engine's own constructor marks the root of a tree.
  void markAsRoot(TSpriteEngine* self) { selfEngine_ = self; }

 private:
  friend class TSpriteEngine;

  void attach(std::unique_ptr<TSprite> child);
  void insertIntoDrawOrder(TSprite* child);
  void removeFromDrawOrder(TSprite* child);
  std::unique_ptr<TSprite> detachChild(TSprite* child);
  // Destroys a sprite that has a parent: its children first, then the sprite.
  static void destroy(TSprite* sprite);
  TSpriteEngine* treeEngine() const { return engine_ != nullptr ? engine_ : selfEngine_; }

  void moveTree(int32_t lagCount);
  void drawTree();
  void collisionWalk(TSpriteEngine& engine);

  TSpriteEngine* engine_ = nullptr;
  TSpriteEngine* selfEngine_ = nullptr;
  TSprite* parent_ = nullptr;
  std::vector<std::unique_ptr<TSprite>> children_;
  std::vector<TSprite*> drawOrder_;
  bool dead_ = false;
  int32_t zOrder_ = 0;
};

// A class reference: creates a sprite of one class under a parent.
using TSpriteClass = TSprite* (*)(TSprite& parent);

template <class T>
TSprite* CreateSpriteOf(TSprite& parent) {
  return TSprite::Create<T>(parent);
}

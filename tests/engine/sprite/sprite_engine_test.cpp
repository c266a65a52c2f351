#include "engine/sprite/sprite_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/graphics/direct_draw.h"
#include "engine/graphics/direct_draw_surface.h"
#include "engine/graphics/dx_draw.h"
#include "framework/description.h"
#include "framework/form.h"

namespace {

// A sprite that runs a hook from each of its virtual operations and reports its
// destruction.
class Hooked : public TSprite {
 public:
  explicit Hooked(std::vector<std::string>* destroyed = nullptr, std::string name = "")
      : destroyed_(destroyed), name_(std::move(name)) {}
  ~Hooked() override {
    if (destroyed_ != nullptr) destroyed_->push_back(name_);
  }
  void MoveSelf(int32_t) override {
    ++moves;
    if (onMove) onMove();
  }
  void DrawSelf() override {
    ++draws;
    if (onDraw) onDraw();
  }
  void HandleCollision(TSprite&, bool&) override {
    if (onHit) onHit();
  }

  std::function<void()> onMove, onDraw, onHit;
  int moves = 0;
  int draws = 0;

 private:
  std::vector<std::string>* destroyed_;
  std::string name_;
};

class SpriteEngineTest : public ::testing::Test {
 protected:
  Hooked* make(TSprite& parent, const std::string& name = "") {
    return TSprite::Create<Hooked>(parent, &destroyed, name);
  }

  std::vector<std::string> destroyed;
  TSpriteEngine engine;
};

TEST_F(SpriteEngineTest, FlushDeadDestroysKilledSpritesWithTheirChildren) {
  Hooked* a = make(engine, "a");
  make(*a, "a1");
  make(*a, "a2");
  make(engine, "b");
  engine.FlushDead();  // nothing queued: nothing happens
  EXPECT_EQ(engine.SpriteCount(), 4);
  a->Kill();
  engine.FlushDead();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a2", "a1", "a"}));
  EXPECT_EQ(engine.SpriteCount(), 1);
  EXPECT_EQ(engine.ChildCount(), 1);
  EXPECT_EQ(engine.DrawOrder().size(), 1u);
  EXPECT_TRUE(engine.DeadList().empty());
}

TEST_F(SpriteEngineTest, DeadParentAndDeadChildAreEachDestroyedOnceInEitherOrder) {
  for (bool parentFirst : {true, false}) {
    destroyed.clear();
    Hooked* parent = make(engine, "parent");
    Hooked* child = make(*parent, "child");
    if (parentFirst) {
      parent->Kill();
      child->Kill();
    } else {
      child->Kill();
      parent->Kill();
    }
    EXPECT_EQ(engine.DeadList().size(), 2u);
    engine.FlushDead();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"child", "parent"}));
    EXPECT_TRUE(engine.DeadList().empty());
    EXPECT_EQ(engine.SpriteCount(), 0);
    EXPECT_EQ(engine.ChildCount(), 0);
  }
}

TEST_F(SpriteEngineTest, DestroyingTheEngineDestroysEverySprite) {
  {
    TSpriteEngine tree;
    Hooked* a = TSprite::Create<Hooked>(tree, &destroyed, "a");
    TSprite::Create<Hooked>(*a, &destroyed, "a1")->Kill();
    TSprite::Create<Hooked>(tree, &destroyed, "b")->Kill();
  }
  EXPECT_EQ(destroyed, (std::vector<std::string>{"b", "a1", "a"}));
}

// The deferred destruction is what keeps passes safe; these run under AddressSanitizer.

TEST_F(SpriteEngineTest, FlushDeadFromInsideTheMovePassFreesNothingUnderIt) {
  Hooked* a = make(engine, "a");
  Hooked* b = make(engine, "b");
  Hooked* c = make(engine, "c");
  make(*a, "a1");
  a->onMove = [&] {
    a->Kill();
    b->Kill();
    engine.FlushDead();
    EXPECT_TRUE(destroyed.empty());  // taken out of the tree, freed after the pass
    EXPECT_EQ(engine.SpriteCount(), 1);
  };
  engine.MoveTree(1);
  EXPECT_EQ(destroyed.size(), 3u);
  EXPECT_EQ(engine.ChildCount(), 1);
  EXPECT_EQ(engine.ChildAt(0), c);
}

TEST_F(SpriteEngineTest, ClearChildrenOfTheRunningSpritesParent) {
  Hooked* a = make(engine, "a");
  Hooked* a1 = make(*a, "a1");
  make(*a, "a2");
  make(*a1, "a11");
  a1->onMove = [&] { a->ClearChildren(); };
  engine.MoveTree(1);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a2", "a11", "a1"}));
  EXPECT_EQ(engine.SpriteCount(), 1);
}

TEST_F(SpriteEngineTest, DestroyingDuringTheCollisionWalk) {
  Hooked* shark = make(engine, "shark");
  shark->Width = shark->Height = 10;
  for (int i = 0; i < 3; ++i) {
    Hooked* fish = make(engine, "fish");
    fish->Width = fish->Height = 10;
    make(*fish, "fry")->Width = 5;
  }
  shark->onHit = [&] {
    for (int i = engine.ChildCount() - 1; i >= 0; --i) engine.ChildAt(i)->Kill();
    engine.FlushDead();
  };
  EXPECT_EQ(shark->CheckCollisions(), 1);
  EXPECT_EQ(engine.SpriteCount(), 0);
  EXPECT_EQ(destroyed.size(), 7u);
}

TEST_F(SpriteEngineTest, ExceptionOutOfAPassLeavesTheTreeUsable) {
  Hooked* a = make(engine, "a");
  make(engine, "b");
  a->onMove = [&] {
    a->Kill();
    engine.FlushDead();
    throw Exception("boom");
  };
  EXPECT_THROW(engine.MoveTree(1), Exception);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"a"}));
  EXPECT_EQ(engine.SpriteCount(), 1);
  engine.MoveTree(1);
}

TEST_F(SpriteEngineTest, NestedEngineDefersToTheOutermost) {
  auto* inner = TSprite::Create<TSpriteEngine>(engine);
  Hooked* deep = make(*inner, "deep");
  Hooked* other = make(*inner, "other");
  deep->onMove = [&] {
    other->Kill();
    inner->FlushDead();
    engine.ClearChildren();
  };
  engine.MoveTree(1);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"other", "deep"}));
  EXPECT_EQ(engine.SpriteCount(), 0);
}

// Random trees with sprites that kill, flush, clear, re-order and create from inside
// every pass; the invariants must hold after each frame (and AddressSanitizer must stay
// quiet throughout).
class Chaotic : public TSprite {
 public:
  Chaotic(TSpriteEngine* engine, uint32_t* seed) : engine_(engine), seed_(seed) {
    Width = Height = 40;
  }
  void MoveSelf(int32_t) override { act(); }
  void DrawSelf() override { act(); }
  void HandleCollision(TSprite&, bool& stop) override {
    if (act() == 0) stop = true;
  }

 private:
  uint32_t next() { return *seed_ = *seed_ * 1103515245u + 12345u; }
  int act() {
    const int what = static_cast<int>(next() >> 16) % 12;
    switch (what) {
      case 0:
        Kill();
        break;
      case 1:
        engine_->FlushDead();
        break;
      case 2:
        if (ChildCount() > 0) ChildAt(ChildCount() - 1)->Kill();
        break;
      case 3:
        if (engine_->SpriteCount() < 60) TSprite::Create<Chaotic>(*this, engine_, seed_);
        break;
      case 4:
        if (engine_->SpriteCount() < 60) TSprite::Create<Chaotic>(*engine_, engine_, seed_);
        break;
      case 5:
        SetZOrder(static_cast<int32_t>(next() >> 20) % 5);
        break;
      case 6:
        if (next() % 4 == 0) ClearChildren();
        break;
      case 7:
        CheckCollisions();
        break;
      default:
        break;
    }
    return what;
  }
  TSpriteEngine* engine_;
  uint32_t* seed_;
};

int countBelow(const TSprite& sprite) {
  int count = 0;
  for (int i = 0; i < sprite.ChildCount(); ++i) count += 1 + countBelow(*sprite.ChildAt(i));
  return count;
}

TEST(SpriteEngineStress, InvariantsHoldWhateverTheSpritesDoDuringPasses) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    TDirectDraw ddraw(nullptr);
    TDirectDrawSurface surface(&ddraw);
    surface.SetSize(200, 200);
    TSpriteEngine engine;
    engine.SetSurface(&surface);
    uint32_t state = seed;
    for (int i = 0; i < 10; ++i) TSprite::Create<Chaotic>(engine, &engine, &state);
    for (int frame = 0; frame < 40; ++frame) {
      engine.MoveTree(16);
      engine.FlushDead();
      engine.DrawAll();
      ASSERT_EQ(engine.SpriteCount(), countBelow(engine));
      for (TSprite* dead : engine.DeadList()) {
        ASSERT_TRUE(dead->IsDead());
        ASSERT_EQ(dead->RootEngine(), &engine);
        ASSERT_EQ(std::count(engine.DeadList().begin(), engine.DeadList().end(), dead), 1);
      }
      for (int i = 0; i < engine.ChildCount(); ++i) {
        ASSERT_EQ(engine.ChildAt(i)->ParentSprite(), &engine);
      }
      ASSERT_EQ(engine.DrawOrder().size(), static_cast<size_t>(engine.ChildCount()));
      ASSERT_TRUE(std::is_sorted(
          engine.DrawOrder().begin(), engine.DrawOrder().end(),
          [](const TSprite* a, const TSprite* b) { return a->ZOrder() < b->ZOrder(); }));
    }
  }
}

// The draw pass against an 800 x 600 surface.
class DrawPassTest : public SpriteEngineTest {
 protected:
  DrawPassTest() : ddraw(nullptr), surface(&ddraw) {
    surface.SetSize(800, 600);
    engine.SetSurface(&surface);
  }
  Hooked* at(TSprite& parent, double x, double y, int w = 10, int h = 10) {
    Hooked* sprite = make(parent);
    sprite->PosX = x;
    sprite->PosY = y;
    sprite->Width = w;
    sprite->Height = h;
    return sprite;
  }

  TDirectDraw ddraw;
  TDirectDrawSurface surface;
};

TEST_F(DrawPassTest, SetSurfaceTakesItsSizeAndNoneKeepsTheLast) {
  EXPECT_EQ(engine.SurfaceRect(), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(engine.Width, 800);
  EXPECT_EQ(engine.Height, 600);
  engine.SetSurface(nullptr);
  EXPECT_EQ(engine.Surface(), nullptr);
  EXPECT_EQ(engine.SurfaceRect(), (TRect{0, 0, 800, 600}));
}

TEST_F(DrawPassTest, DrawsParentsFirstAndSiblingsByZOrder) {
  std::vector<std::string> drawn;
  Hooked* back = at(engine, 0, 0);
  Hooked* front = at(engine, 0, 0);
  Hooked* child = at(*back, 0, 0);
  back->onDraw = [&] { drawn.push_back("back"); };
  front->onDraw = [&] { drawn.push_back("front"); };
  child->onDraw = [&] { drawn.push_back("child"); };
  front->SetZOrder(3);
  back->SetZOrder(1);
  engine.DrawAll();
  EXPECT_EQ(drawn, (std::vector<std::string>{"back", "child", "front"}));
  EXPECT_EQ(engine.DrawnCount(), 3);
}

TEST_F(DrawPassTest, OffSurfaceParentIsSkippedButItsChildrenAreDrawn) {
  Hooked* parent = at(engine, -500, 0);
  Hooked* child = at(*parent, 600, 10);
  engine.DrawAll();
  EXPECT_EQ(parent->draws, 0);
  EXPECT_EQ(child->draws, 1);
  EXPECT_EQ(engine.DrawnCount(), 1);
}

TEST_F(DrawPassTest, RectanglesTouchingTheSurfaceEdgeAreNotDrawn) {
  Hooked* left = at(engine, -10, 0);   // right = 0
  Hooked* right = at(engine, 800, 0);  // left = surface width
  Hooked* below = at(engine, 0, 600);  // top = surface height
  Hooked* empty = at(engine, 0, 0, 0, 0);
  Hooked* edge = at(engine, 799, 599);  // one pixel inside
  engine.DrawAll();
  EXPECT_EQ(left->draws + right->draws + below->draws + empty->draws, 0);
  EXPECT_EQ(edge->draws, 1);
  EXPECT_EQ(engine.DrawnCount(), 1);
}

TEST_F(DrawPassTest, SpriteWithoutWidthOrHeightIsNotDrawnButItsChildrenAre) {
  Hooked* thin = at(engine, 5, 5, 0, 10);
  Hooked* flat = at(engine, 400, 300, 10, 0);
  Hooked* inverted = at(engine, 100, 100, -5, 10);
  Hooked* child = at(*thin, 10, 10);
  engine.DrawAll();
  EXPECT_EQ(thin->draws + flat->draws + inverted->draws, 0);
  EXPECT_EQ(child->draws, 1);
  EXPECT_EQ(engine.DrawnCount(), 1);
}

TEST_F(DrawPassTest, InvisibleSpriteHidesItsSubtree) {
  Hooked* parent = at(engine, 0, 0);
  Hooked* child = at(*parent, 0, 0);
  parent->IsVisible = false;
  engine.DrawAll();
  EXPECT_EQ(child->draws, 0);
  EXPECT_EQ(engine.DrawnCount(), 0);
}

TEST_F(DrawPassTest, SpriteMadeDuringTheMovePassIsDrawnInTheSameFrame) {
  Hooked* maker = at(engine, 0, 0);
  Hooked* made = nullptr;
  maker->onMove = [&] {
    if (made == nullptr) made = at(engine, 20, 20);
  };
  engine.MoveTree(16);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->moves, 0);
  engine.DrawAll();
  EXPECT_EQ(made->draws, 1);
  engine.MoveTree(16);
  EXPECT_EQ(made->moves, 1);
}

TEST_F(DrawPassTest, DestroyingAndReorderingDuringTheDrawPass) {
  Hooked* a = at(engine, 0, 0);
  Hooked* b = at(engine, 0, 0);
  Hooked* c = at(engine, 0, 0);
  b->onDraw = [&] {
    b->SetZOrder(-5);
    a->Kill();
    b->Kill();
    engine.FlushDead();
  };
  engine.DrawAll();
  EXPECT_EQ(destroyed.size(), 2u);
  EXPECT_EQ(engine.DrawOrder(), (std::vector<TSprite*>{c}));
}

// The component, bound to a display on a window that is never shown.
class DXSpriteEngineTest : public ::testing::Test, public TComponentFactory {
 protected:
  DXSpriteEngineTest() : form(std::make_unique<TForm>(nullptr)) {}

  TComponent* CreateStoredComponent(const std::string& className, TComponent*) override {
    if (className == "TDXDraw") {
      auto* draw = form->CreateComponent<TDXDraw>();
      draw->Parent = form.get();
      return draw;
    }
    if (className == "TDXSpriteEngine") return form->CreateComponent<TDXSpriteEngine>();
    return nullptr;
  }
  void read(const std::string& text) { ReadDescription(ParseDescription(text), *form, *this); }
  TDXDraw* display() {
    auto* draw = form->CreateComponent<TDXDraw>();
    draw->Parent = form.get();
    draw->SetAutoSize(false);
    draw->SetSurfaceSize(320, 200);
    return draw;
  }

  std::unique_ptr<TForm> form;
};

TEST_F(DXSpriteEngineTest, FollowsTheDisplaysBackSurface) {
  TDXDraw* draw = display();
  auto* sprites = form->CreateComponent<TDXSpriteEngine>();
  sprites->SetDXDraw(draw);
  EXPECT_EQ(sprites->Engine->Surface(), nullptr);
  draw->Initialize();
  ASSERT_TRUE(draw->Initialized());
  EXPECT_EQ(sprites->Engine->Surface(), draw->SurfacePtr());
  EXPECT_EQ(sprites->Engine->SurfaceRect(), (TRect{0, 0, 320, 200}));
  draw->Finalize();
  EXPECT_EQ(sprites->Engine->Surface(), nullptr);
}

TEST_F(DXSpriteEngineTest, BindingToAnInitializedDisplayTakesItsSurfaceAtOnce) {
  TDXDraw* draw = display();
  draw->Initialize();
  auto* sprites = form->CreateComponent<TDXSpriteEngine>();
  sprites->SetDXDraw(draw);
  EXPECT_EQ(sprites->Engine->Surface(), draw->SurfacePtr());
  sprites->SetDXDraw(nullptr);
  EXPECT_EQ(sprites->Engine->Surface(), nullptr);
}

TEST_F(DXSpriteEngineTest, ResizedBackSurfaceReplacesTheOldOne) {
  TDXDraw* draw = display();
  auto* sprites = form->CreateComponent<TDXSpriteEngine>();
  sprites->SetDXDraw(draw);
  draw->Initialize();
  draw->SetSurfaceSize(640, 480);
  EXPECT_EQ(sprites->Engine->Surface(), draw->SurfacePtr());
  EXPECT_EQ(sprites->Engine->SurfaceRect(), (TRect{0, 0, 640, 480}));
  Hooked* sprite = TSprite::Create<Hooked>(*sprites->Engine);
  sprite->Width = sprite->Height = 10;
  sprites->Draw();
  EXPECT_EQ(sprite->draws, 1);
}

TEST_F(DXSpriteEngineTest, DrawsOnlyWhileTheDisplayIsInitialized) {
  TDXDraw* draw = display();
  auto* sprites = form->CreateComponent<TDXSpriteEngine>();
  Hooked* sprite = TSprite::Create<Hooked>(*sprites->Engine);
  sprite->Width = sprite->Height = 10;
  sprites->Draw();  // no display
  sprites->SetDXDraw(draw);
  sprites->Draw();  // not initialized
  EXPECT_EQ(sprite->draws, 0);
  draw->Initialize();
  sprites->Move(5);
  sprites->Draw();
  EXPECT_EQ(sprite->moves, 1);
  EXPECT_EQ(sprite->draws, 1);
  sprite->Kill();
  sprites->Dead();
  EXPECT_EQ(sprites->Engine->SpriteCount(), 0);
}

TEST_F(DXSpriteEngineTest, DisplayDestroyedFirstUnbindsTheEngine) {
  auto draw = std::make_unique<TDXDraw>(form.get());
  draw->Parent = form.get();
  draw->Initialize();
  auto* sprites = form->CreateComponent<TDXSpriteEngine>();
  sprites->SetDXDraw(draw.get());
  draw.reset();
  EXPECT_EQ(sprites->DXDraw(), nullptr);
  EXPECT_EQ(sprites->Engine->Surface(), nullptr);
  sprites->Draw();
}

TEST_F(DXSpriteEngineTest, StoredDXDrawIsResolvedWhenLoaded) {
  // The engine is described before the display it names.
  read(R"(object Form: TForm
  object DXSpriteEngine: TDXSpriteEngine
    DXDraw = DXDraw
    Left = 48
    Top = 16
  end
  object DXSpriteEngine1: TDXSpriteEngine
  end
  object DXDraw: TDXDraw
  end
end
)");
  auto* engine = dynamic_cast<TDXSpriteEngine*>(form->FindComponent("DXSpriteEngine"));
  auto* unbound = dynamic_cast<TDXSpriteEngine*>(form->FindComponent("DXSpriteEngine1"));
  ASSERT_NE(engine, nullptr);
  ASSERT_NE(unbound, nullptr);
  EXPECT_EQ(engine->DXDraw(), form->FindComponent("DXDraw"));
  EXPECT_EQ(unbound->DXDraw(), nullptr);
}

TEST_F(DXSpriteEngineTest, StoredDXDrawNamingNoDisplayIsAReadingError) {
  EXPECT_THROW(read(R"(object Form: TForm
  object DXSpriteEngine: TDXSpriteEngine
    DXDraw = Nothing
  end
end
)"),
               EReadError);
  form = std::make_unique<TForm>(nullptr);
  EXPECT_THROW(read(R"(object Form: TForm
  object DXSpriteEngine: TDXSpriteEngine
    Speed = 3
  end
end
)"),
               EReadError);
}

}  // namespace

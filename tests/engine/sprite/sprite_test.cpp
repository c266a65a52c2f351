#include "engine/sprite/sprite.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "engine/sprite/sprite_engine.h"

namespace {

// A sprite that records its calls in a shared log and runs optional hooks.
class Probe : public TSprite {
 public:
  Probe(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}

  void MoveSelf(int32_t lagCount) override {
    log_->push_back("move " + name_ + " " + std::to_string(lagCount));
    if (onMove) onMove();
  }
  void DrawSelf() override { log_->push_back("draw " + name_); }
  void HandleCollision(TSprite& other, bool& stop) override {
    log_->push_back("hit " + name_ + " " + static_cast<Probe&>(other).name_);
    if (onHit) onHit(other, stop);
  }
  bool TestHit(TSprite& other) override { return refuse == nullptr || refuse != &other; }

  std::function<void()> onMove;
  std::function<void(TSprite&, bool&)> onHit;
  TSprite* refuse = nullptr;

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class SpriteTreeTest : public ::testing::Test {
 protected:
  Probe* make(TSprite& parent, const std::string& name) {
    return TSprite::Create<Probe>(parent, name, &log);
  }
  // A sprite with a box, for collision walks.
  Probe* box(TSprite& parent, const std::string& name, double x, double y, int w, int h) {
    Probe* p = make(parent, name);
    p->PosX = x;
    p->PosY = y;
    p->Width = w;
    p->Height = h;
    return p;
  }

  TSpriteEngine engine;
  std::vector<std::string> log;
};

TEST_F(SpriteTreeTest, AttachingLinksParentEngineAndCount) {
  Probe* a = make(engine, "a");
  Probe* b = make(*a, "b");
  EXPECT_EQ(a->ParentSprite(), &engine);
  EXPECT_EQ(b->ParentSprite(), a);
  EXPECT_EQ(a->RootEngine(), &engine);
  EXPECT_EQ(b->RootEngine(), &engine);
  EXPECT_EQ(engine.RootEngine(), nullptr);
  EXPECT_EQ(engine.SpriteCount(), 2);
  EXPECT_EQ(engine.ChildCount(), 1);
  EXPECT_EQ(engine.ChildAt(0), a);
  EXPECT_TRUE(b->CanCollide && b->CanMove && b->IsVisible);
}

TEST_F(SpriteTreeTest, ChildAtOutsideTheListRaises) {
  try {
    engine.ChildAt(3);
    FAIL() << "no exception";
  } catch (const ESpriteError& e) {
    EXPECT_EQ(e.Message(), "Index of the list exceeds the range. (3)");
  }
  make(engine, "a");
  EXPECT_THROW(engine.ChildAt(1), ESpriteError);
  EXPECT_THROW(engine.ChildAt(-1), ESpriteError);
}

std::vector<TSprite*> order(const TSprite& parent) { return parent.DrawOrder(); }

TEST_F(SpriteTreeTest, EqualZOrderPutsTheLastInsertedFirst) {
  Probe* a = make(engine, "a");
  a->SetZOrder(5);
  Probe* b = make(engine, "b");
  b->SetZOrder(5);
  Probe* c = make(engine, "c");
  c->SetZOrder(5);
  EXPECT_EQ(order(engine), (std::vector<TSprite*>{c, b, a}));

  a->SetZOrder(5);  // unchanged value: keeps its place
  EXPECT_EQ(order(engine), (std::vector<TSprite*>{c, b, a}));

  a->SetZOrder(6);
  a->SetZOrder(5);
  EXPECT_EQ(order(engine), (std::vector<TSprite*>{a, c, b}));
  // Creation order never changes.
  EXPECT_EQ(engine.ChildAt(0), a);
  EXPECT_EQ(engine.ChildAt(2), c);
}

TEST_F(SpriteTreeTest, ExtremeZOrdersCompareAsSignedValues) {
  for (bool panelFirst : {true, false}) {
    TSpriteEngine tree;
    std::vector<std::string> drawn;
    Probe* panel = nullptr;
    Probe* background = nullptr;
    if (panelFirst) panel = TSprite::Create<Probe>(tree, "panel", &drawn);
    background = TSprite::Create<Probe>(tree, "background", &drawn);
    if (!panelFirst) panel = TSprite::Create<Probe>(tree, "panel", &drawn);
    panel->SetZOrder(INT32_MAX);
    background->SetZOrder(-2);
    EXPECT_EQ(tree.DrawOrder(), (std::vector<TSprite*>{background, panel}));
    Probe* lowest = TSprite::Create<Probe>(tree, "lowest", &drawn);
    lowest->SetZOrder(INT32_MIN);
    EXPECT_EQ(tree.DrawOrder().front(), lowest);
  }
}

TEST_F(SpriteTreeTest, MovePassVisitsParentsFirstInCreationOrderWithTheSameLag) {
  Probe* a = make(engine, "a");
  make(*a, "a1");
  Probe* b = make(engine, "b");
  b->SetZOrder(-1);  // draw order plays no part in moving
  make(*make(*b, "b1"), "b11");
  engine.MoveTree(17);
  EXPECT_EQ(log, (std::vector<std::string>{"move a 17", "move a1 17", "move b 17", "move b1 17",
                                           "move b11 17"}));
}

TEST_F(SpriteTreeTest, CanMoveFalseSkipsTheWholeSubtree) {
  Probe* a = make(engine, "a");
  Probe* child = make(*a, "child");
  child->CanMove = true;
  a->CanMove = false;
  make(engine, "b");
  engine.MoveTree(1);
  EXPECT_EQ(log, (std::vector<std::string>{"move b 1"}));
}

TEST_F(SpriteTreeTest, SpritesCreatedDuringTheMovePass) {
  Probe* a = make(engine, "a");
  int made = 0;
  // A sibling created by a running child of the engine waits for the next pass; a child
  // created by a sprite for itself is moved in the same pass.
  a->onMove = [&] {
    if (made++ == 0) {
      make(engine, "sibling");
      make(*a, "own");
    }
  };
  engine.MoveTree(1);
  EXPECT_EQ(log, (std::vector<std::string>{"move a 1", "move own 1"}));
  log.clear();
  engine.MoveTree(1);
  EXPECT_EQ(log, (std::vector<std::string>{"move a 1", "move own 1", "move sibling 1"}));
}

TEST_F(SpriteTreeTest, WorldPositionSumsFromTheRootAndBoundsCutTowardZero) {
  engine.PosX = 1.5;
  Probe* a = make(engine, "a");
  a->PosX = 10.25;
  a->PosY = -3.75;
  Probe* b = make(*a, "b");
  b->PosX = 0.5;
  b->PosY = 1;
  b->Width = 4;
  b->Height = 6;
  EXPECT_DOUBLE_EQ(b->WorldX(), 12.25);
  EXPECT_DOUBLE_EQ(b->WorldY(), -2.75);
  EXPECT_EQ(b->GetBounds(), (TRect{12, -2, 16, 4}));
}

TEST_F(SpriteTreeTest, BoundsOfFarPositionsSaturate) {
  Probe* a = make(engine, "a");
  a->PosX = 1e12;
  a->PosY = -1e12;
  a->Width = 100;
  a->Height = 100;
  const TRect r = a->GetBounds();
  EXPECT_EQ(r.Left, INT32_MAX);
  EXPECT_EQ(r.Right, INT32_MAX);
  EXPECT_EQ(r.Top, INT32_MIN);
  EXPECT_EQ(r.Bottom, INT32_MIN + 100);
}

TEST_F(SpriteTreeTest, CollisionWalkReportsEveryOverlapInCreationOrder) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  box(engine, "far", 50, 50, 10, 10);
  box(engine, "touching", 10, 0, 10, 10);  // shares an edge only
  Probe* near = box(engine, "near", 5, 5, 10, 10);
  box(*near, "inner", -4, -4, 2, 2);  // relative to near: at (1, 1)
  EXPECT_EQ(shark->CheckCollisions(), 2);
  EXPECT_EQ(engine.HitCount(), 2);
  EXPECT_EQ(engine.HitSource(), shark);
  EXPECT_EQ(engine.HitRect(), (TRect{0, 0, 10, 10}));
  EXPECT_EQ(log, (std::vector<std::string>{"hit shark near", "hit shark inner"}));
}

TEST_F(SpriteTreeTest, EmptyBoxesNeitherHitNorAreHit) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  box(engine, "thin", 5, 5, 0, 3);
  Probe* flat = box(engine, "flat", 2, 2, 4, 0);
  EXPECT_EQ(shark->CheckCollisions(), 0);
  EXPECT_EQ(flat->CheckCollisions(), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(SpriteTreeTest, BothFineTestsMustAgree) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  Probe* fish = box(engine, "fish", 0, 0, 10, 10);
  fish->refuse = shark;
  EXPECT_EQ(shark->CheckCollisions(), 0);
  fish->refuse = nullptr;
  shark->refuse = fish;
  EXPECT_EQ(shark->CheckCollisions(), 0);
  EXPECT_EQ(fish->CheckCollisions(), 0);
}

TEST_F(SpriteTreeTest, CheckCollisionsRefusedSourcesCallNothing) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  Probe* fish = box(engine, "fish", 0, 0, 10, 10);
  EXPECT_EQ(engine.CheckCollisions(), 0);
  shark->CanCollide = false;
  EXPECT_EQ(shark->CheckCollisions(), 0);
  EXPECT_EQ(fish->CheckCollisions(), 0);  // shark is out of the walk too
  shark->CanCollide = true;
  shark->Kill();
  EXPECT_EQ(shark->CheckCollisions(), 0);
  EXPECT_TRUE(log.empty());
  // A dead sprite is still found by others until it is flushed.
  EXPECT_EQ(fish->CheckCollisions(), 1);
}

TEST_F(SpriteTreeTest, CanCollideFalseTakesTheSubtreeOut) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  Probe* holder = box(engine, "holder", 0, 0, 10, 10);
  box(*holder, "inner", 0, 0, 10, 10);
  holder->CanCollide = false;
  EXPECT_EQ(shark->CheckCollisions(), 0);
}

TEST_F(SpriteTreeTest, HitStopEndsDescentButNotTheSiblings) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  Probe* first = box(engine, "first", 0, 0, 10, 10);
  box(*first, "firstChild", 0, 0, 5, 5);
  Probe* second = box(engine, "second", 0, 0, 10, 10);
  box(*second, "secondChild", 0, 0, 5, 5);
  shark->onHit = [](TSprite&, bool& stop) { stop = true; };
  EXPECT_EQ(shark->CheckCollisions(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"hit shark first", "hit shark second"}));
  EXPECT_TRUE(engine.HitStop());
}

TEST_F(SpriteTreeTest, SourceThatKillsItselfStopsTheDescent) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  Probe* first = box(engine, "first", 0, 0, 10, 10);
  box(*first, "firstChild", 0, 0, 5, 5);
  box(engine, "second", 0, 0, 10, 10);
  shark->onHit = [shark](TSprite&, bool&) { shark->Kill(); };
  EXPECT_EQ(shark->CheckCollisions(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"hit shark first", "hit shark second"}));
}

TEST_F(SpriteTreeTest, SourceRectangleIsTakenOnceBeforeTheWalk) {
  Probe* shark = box(engine, "shark", 0, 0, 10, 10);
  box(engine, "a", 0, 0, 10, 10);
  box(engine, "b", 0, 0, 10, 10);
  shark->onHit = [shark](TSprite&, bool&) { shark->PosX = 500; };
  EXPECT_EQ(shark->CheckCollisions(), 2);
}

TEST_F(SpriteTreeTest, KillQueuesOnceAndNotTheRoot) {
  Probe* a = make(engine, "a");
  a->Kill();
  a->Kill();
  engine.Kill();
  EXPECT_TRUE(a->IsDead());
  EXPECT_EQ(engine.DeadList(), (std::vector<TSprite*>{a}));
  EXPECT_FALSE(engine.IsDead());
}

TEST_F(SpriteTreeTest, ClearChildrenDestroysTheLastCreatedFirstAndDropsTheLists) {
  Probe* a = make(engine, "a");
  make(*a, "a1");
  make(*a, "a2")->Kill();
  EXPECT_EQ(engine.SpriteCount(), 3);
  a->ClearChildren();
  EXPECT_EQ(a->ChildCount(), 0);
  EXPECT_TRUE(a->DrawOrder().empty());
  EXPECT_THROW(a->ChildAt(0), ESpriteError);
  EXPECT_EQ(engine.SpriteCount(), 1);
  EXPECT_TRUE(engine.DeadList().empty());
}

TEST_F(SpriteTreeTest, SpriteWithoutAnEngineStandsAlone) {
  TSprite loose;
  Probe* child = make(loose, "child");
  child->Kill();
  EXPECT_FALSE(child->IsDead());
  EXPECT_EQ(child->RootEngine(), nullptr);
  EXPECT_EQ(child->CheckCollisions(), 0);
  loose.MoveTree(3);
  EXPECT_EQ(log, (std::vector<std::string>{"move child 3"}));
}

TEST_F(SpriteTreeTest, ClassReferenceCreatesTheGivenClass) {
  TSpriteClass spriteClass = &CreateSpriteOf<TSpriteEngine>;
  TSprite* made = spriteClass(engine);
  EXPECT_NE(dynamic_cast<TSpriteEngine*>(made), nullptr);
  EXPECT_EQ(made->ParentSprite(), &engine);
}

}  // namespace

#pragma once
// The main window with an empty sprite tree, a level under way, and monsters placed by hand.

#include "engine/sprite/sprite.h"
#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"

struct MonsterFixture : MainFormTest {
  void SetUp() override {
    MainFormTest::SetUp();
    engine().ClearChildren();
    GameVars.LevelReady = 1;
    GameVars.MonsterFrame = 1;
  }
  // A monster that neither swims nor (with a phase at a quarter turn) sways much.
  TMonoSprite* monster(int kind, double x, double y) {
    auto* m = TSprite::Create<TMonoSprite>(engine(), images());
    m->Kind = kind;
    m->PosX = x;
    m->PosY = y;
    m->Speed = 0;
    m->WobblePhase = 64;  // cosine 0
    return m;
  }
};

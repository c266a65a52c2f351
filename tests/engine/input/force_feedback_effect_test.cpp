#include "engine/input/force_feedback_effect.h"

#include "input_fixture.h"

namespace {

TForceFeedbackEffect* child(TForceFeedbackEffect& parent, const std::string& name) {
  auto* node = new TForceFeedbackEffect(&parent);  // the parent owns it
  node->Name = name;
  return node;
}

std::string notFound(TForceFeedbackEffect& root, const std::string& path) {
  try {
    root.Find(path);
  } catch (const EForceFeedbackEffectError& e) {
    return e.Message();
  }
  return "found";
}

TEST(EffectTreeTest, FindFollowsDottedPaths) {
  TForceFeedbackEffects root(nullptr);
  TForceFeedbackEffect* eff1 = child(root, "eff1");
  TForceFeedbackEffect* a = child(root, "a");
  TForceFeedbackEffect* ab = child(root, "a.b");
  TForceFeedbackEffect* aInnerB = child(*a, "b");
  TForceFeedbackEffect* aInnerC = child(*a, "c");
  TForceFeedbackEffect* deep = child(*aInnerC, "d.e");

  EXPECT_EQ(root.Find("eff1"), eff1);
  EXPECT_EQ(root.Find("a.b"), ab) << "a child named by the whole path wins";
  EXPECT_EQ(root.Find("a.c"), aInnerC);
  EXPECT_EQ(root.Find("a.c.d.e"), deep);
  EXPECT_NE(root.Find("a.b"), aInnerB);
  EXPECT_EQ(notFound(root, "eff2"), "Effect 'eff2' not found");
  EXPECT_EQ(notFound(root, "x.b"), "Effect 'x.b' not found");
  EXPECT_EQ(notFound(root, "a.x"), "Effect 'a.x' not found") << "the whole path as asked";
  EXPECT_EQ(notFound(root, "EFF1"), "Effect 'EFF1' not found") << "names match exactly";
  EXPECT_EQ(notFound(root, ""), "Effect '' not found");
}

TEST(EffectTreeTest, NewNodeValues) {
  TForceFeedbackEffect node(nullptr);
  EXPECT_EQ(node.EffectType(), TForceFeedbackEffectType::etNone);
  EXPECT_EQ(node.Period(), 50);
  EXPECT_EQ(node.Power(), 10000);
  EXPECT_EQ(node.Time(), 1000);
  EXPECT_EQ(node.AttackLevel(), 0);
  EXPECT_EQ(node.StartDelayTime(), 0);
  EXPECT_EQ(TForceFeedbackEffects(nullptr).Name, "Effects");
}

TEST(EffectTreeTest, SettersClampToTheirRanges) {
  TForceFeedbackEffect n(nullptr);
  n.SetPower(12000);
  EXPECT_EQ(n.Power(), 10000);
  n.SetTime(-5);
  EXPECT_EQ(n.Time(), 0);
  n.SetTime(-1);
  EXPECT_EQ(n.Time(), -1);
  n.SetAttackLevel(-3);
  EXPECT_EQ(n.AttackLevel(), 0);
  n.SetFadeLevel(20000);
  EXPECT_EQ(n.FadeLevel(), 10000);
  n.SetConstantX(-20000);
  EXPECT_EQ(n.ConstantX(), -10000);
  n.SetConditionY(10001);
  EXPECT_EQ(n.ConditionY(), 10000);
  n.SetPeriod(-1);
  EXPECT_EQ(n.Period(), 0);
  n.SetStartDelayTime(-100);
  EXPECT_EQ(n.StartDelayTime(), 0);
  n.SetAttackTime(INT32_MIN);
  EXPECT_EQ(n.AttackTime(), 0);
}

// The game's effect on a stick with a force-feedback motor.
struct EffectTest : InputTest {
  std::shared_ptr<platform::FakeJoystickDevice> stick;
  platform::FakeHapticDevice* motor = nullptr;
  TDXInput* input = nullptr;
  TForceFeedbackEffect* eff1 = nullptr;

  void SetUp() override {
    stick = sys->plugJoystick(2, 8, true);
    motor = stick->motor.get();
    input = create([](TDXInput& in) {
      gameJoystick(in);
      TForceFeedbackEffect* e = new TForceFeedbackEffect(in.Joystick->Effects);
      e->Name = "eff1";
      e->SetEffectType(TForceFeedbackEffectType::etPeriodic);
      e->SetConstantX(10000);
      e->SetConstantY(-10000);
      e->SetPeriod(30);
      e->SetTime(50);
    });
    eff1 = input->Joystick->Effects->Find("eff1");
  }
};

TEST_F(EffectTest, OpeningTheStickCreatesThePeriodicEffect) {
  ASSERT_TRUE(input->Joystick->ForceFeedbackDevice());
  ASSERT_EQ(motor->records.size(), 1u) << "the root has no type and gets no device effect";
  const platform::HapticEffect& e = motor->records[0].effect;
  EXPECT_EQ(e.kind, platform::HapticKind::Sine) << "the first periodic kind the motor lists";
  EXPECT_EQ(e.directionX, -10000);
  EXPECT_EQ(e.directionY, 10000);
  EXPECT_EQ(e.magnitude, 14142);
  EXPECT_EQ(e.periodMs, 30u);
  EXPECT_EQ(e.durationMs, 50u);
  EXPECT_FALSE(e.infinite);
  EXPECT_EQ(e.gain, 10000);
  EXPECT_EQ(e.attackLevel, 0);
  EXPECT_EQ(e.attackTimeMs, 0u);
  EXPECT_EQ(e.fadeTimeMs, 0u);
}

TEST_F(EffectTest, StartingTwiceRestartsTheEffect) {
  input->Joystick->Effects->Find("eff1")->Start();
  input->Joystick->Effects->Find("eff1")->Start();
  EXPECT_EQ(motor->records[0].runs, 2);
  EXPECT_TRUE(eff1->Playing());
}

TEST_F(EffectTest, StartOnTheRootStartsTheSubtree) {
  input->Joystick->Effects->Start();
  EXPECT_EQ(motor->records[0].runs, 1);
  input->Joystick->Effects->Stop();
  EXPECT_EQ(motor->records[0].stops, 1);
  EXPECT_FALSE(eff1->Playing());
}

TEST_F(EffectTest, StopLeavesAnEffectThatEndedByItselfAlone) {
  eff1->Start();
  motor->finishAll();
  eff1->Stop();
  EXPECT_EQ(motor->records[0].stops, 0);
  EXPECT_FALSE(eff1->Playing());
}

TEST_F(EffectTest, StopStopsWhenTheDeviceCannotTell) {
  motor->statusOfPlaying = -1;
  eff1->Start();
  eff1->Stop();
  EXPECT_EQ(motor->records[0].stops, 1);
}

TEST_F(EffectTest, LostDeviceIsAcquiredAndTheEffectRetriedOnce) {
  motor->failRuns = 1;
  eff1->Start();
  EXPECT_EQ(motor->records.back().runs, 1);
  EXPECT_TRUE(eff1->Playing());
  motor->failRuns = 5;
  EXPECT_NO_THROW(eff1->Start());
  EXPECT_EQ(motor->failRuns, 3) << "one retry per start";
}

TEST_F(EffectTest, ChangingAValueSendsItAndRestartsWhatPlays) {
  eff1->SetPower(5000);
  EXPECT_EQ(motor->records[0].updates, 1);
  EXPECT_EQ(motor->records[0].effect.gain, 5000);
  EXPECT_EQ(motor->records[0].runs, 0);
  eff1->Start();
  eff1->SetConstantX(0);
  EXPECT_EQ(motor->records[0].effect.magnitude, 10000);
  EXPECT_EQ(motor->records[0].runs, 2) << "a playing effect restarts with its new values";
}

TEST_F(EffectTest, ChangingTheTimeStopsTheEffect) {
  eff1->Start();
  eff1->SetTime(-1);
  EXPECT_FALSE(eff1->Playing());
  EXPECT_EQ(motor->records[0].stops, 1);
  EXPECT_TRUE(motor->records[0].effect.infinite);
}

TEST_F(EffectTest, EnvelopeTimesAreCutToTheDuration) {
  eff1->SetAttackTime(80);
  eff1->SetFadeTime(70);
  eff1->SetFadeLevel(3000);
  EXPECT_EQ(motor->records[0].effect.attackTimeMs, 50u);
  EXPECT_EQ(motor->records[0].effect.fadeTimeMs, 50u);
  eff1->SetTime(-1);
  EXPECT_EQ(motor->records[0].effect.attackTimeMs, 80u);
  EXPECT_EQ(motor->records[0].effect.fadeTimeMs, 0u) << "no fade for an endless effect";
  EXPECT_EQ(motor->records[0].effect.fadeLevel, 0);
}

TEST_F(EffectTest, NewTypeRecreatesTheDeviceEffects) {
  eff1->SetConditionX(4000);
  eff1->SetConditionY(-2000);
  eff1->SetEffectType(TForceFeedbackEffectType::etCondition);
  EXPECT_FALSE(motor->records[0].alive);
  ASSERT_EQ(motor->liveEffects(), 2);
  const platform::HapticEffect& x = motor->records[1].effect;
  const platform::HapticEffect& y = motor->records[2].effect;
  EXPECT_EQ(x.kind, platform::HapticKind::Spring);
  EXPECT_EQ(x.axis, 0);
  EXPECT_EQ(x.offset, 10000);
  EXPECT_EQ(x.positiveCoefficient, 4000);
  EXPECT_EQ(x.negativeCoefficient, -4000);
  EXPECT_EQ(y.axis, 1);
  EXPECT_EQ(y.offset, -10000);
  EXPECT_EQ(y.positiveCoefficient, -2000);
  eff1->SetEffectType(TForceFeedbackEffectType::etConstantForce);
  EXPECT_EQ(motor->liveEffects(), 1);
  EXPECT_EQ(motor->records.back().effect.kind, platform::HapticKind::Constant);
  eff1->SetEffectType(TForceFeedbackEffectType::etNone);
  EXPECT_EQ(motor->liveEffects(), 0);
  EXPECT_NO_THROW(eff1->Start());
}

TEST_F(EffectTest, KindTheMotorLacksGivesNoEffect) {
  motor->kinds = {platform::HapticKind::Constant};
  eff1->SetEffectType(TForceFeedbackEffectType::etCondition);
  EXPECT_EQ(motor->liveEffects(), 0);
  eff1->SetEffectType(TForceFeedbackEffectType::etPeriodic);
  EXPECT_EQ(motor->liveEffects(), 0);
  EXPECT_NO_THROW(eff1->Start());
  EXPECT_FALSE(eff1->Playing());
}

TEST_F(EffectTest, FailedCreationLeavesNoHalfMadeEffects) {
  eff1->SetEffectType(TForceFeedbackEffectType::etNone);
  motor->failCreate = true;
  eff1->SetEffectType(TForceFeedbackEffectType::etCondition);
  EXPECT_EQ(motor->liveEffects(), 0);
  EXPECT_NO_THROW(eff1->Start());
}

TEST_F(EffectTest, ForceFeedbackSwitchedOffPlaysNothing) {
  input->Joystick->SetForceFeedback(false);
  EXPECT_EQ(motor->liveEffects(), 0);
  eff1->Start();
  EXPECT_FALSE(eff1->Playing());
  input->Joystick->SetForceFeedback(true);
  EXPECT_EQ(motor->liveEffects(), 1);
}

TEST_F(EffectTest, ClosingTheStickReleasesItsEffects) {
  eff1->Start();
  input->FinalizeInput();
  EXPECT_EQ(motor->liveEffects(), 0);
  EXPECT_FALSE(eff1->Playing());
  EXPECT_EQ(eff1->DeviceEffectCount(), 0);
}

TEST_F(EffectTest, ActivationRestartsEndlessEffectsAndRecreatesTheOthers) {
  eff1->SetTime(-1);
  input->Joystick->Effects->SetEffectType(TForceFeedbackEffectType::etConstantForce);
  input->Joystick->Effects->SetTime(-1);
  input->Joystick->Effects->Start();
  const int rootRuns = motor->records[1].runs;
  const size_t before = motor->records.size();
  setActive(false);
  setActive(true);
  EXPECT_EQ(motor->records[1].runs, rootRuns + 1) << "the root plays without end";
  EXPECT_GT(motor->records.size(), before) << "the child's device effect was made anew";
  EXPECT_TRUE(motor->records.back().playing) << "and, playing without end, started again";
}

TEST(EffectWithoutDeviceTest, StartDoesNothingAndRaisesNothing) {
  TForceFeedbackEffects root(nullptr);
  TForceFeedbackEffect* e = child(root, "eff1");
  e->SetEffectType(TForceFeedbackEffectType::etPeriodic);
  EXPECT_NO_THROW(root.Find("eff1")->Start());
  EXPECT_FALSE(e->Playing());
  EXPECT_NO_THROW(e->Stop());
}

TEST_F(InputTest, StickWithoutMotorIgnoresTheGamesEffect) {
  sys->plugJoystick(2, 8, false);
  TDXInput* input = create(gameJoystick);
  auto* e = new TForceFeedbackEffect(input->Joystick->Effects);
  e->Name = "eff1";
  e->SetEffectType(TForceFeedbackEffectType::etPeriodic);
  EXPECT_FALSE(input->Joystick->ForceFeedbackDevice());
  EXPECT_NO_THROW(input->Joystick->Effects->Find("eff1")->Start());
}

}  // namespace

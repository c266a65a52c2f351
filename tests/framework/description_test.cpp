#include "framework/description.h"

#include <gtest/gtest.h>

namespace {

class TStoredThing : public TComponent {
 public:
  using TComponent::TComponent;
  std::string ClassName() const override { return className; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override {
    if (name == "Fail") throw Exception("bad value");
    if (name == "Name" || name == "Left" || name == "Top")
      return TComponent::SetStoredProperty(name, value);
    if (name.rfind("X", 0) != 0) UnknownProperty(name);
    seen.push_back({name, value});
    wasLoadingWhenSet = wasLoadingWhenSet && Loading();
  }
  void Loaded() override {
    TComponent::Loaded();
    loadedOrder->push_back(Name);
  }
  std::string className = "TThing";
  std::vector<TStoredProperty> seen;
  bool wasLoadingWhenSet = true;
  std::vector<std::string>* loadedOrder = nullptr;
};

class TThingFactory : public TComponentFactory {
 public:
  explicit TThingFactory(TStoredThing& root) : root_(root) {}
  TComponent* CreateStoredComponent(const std::string& className, TComponent*) override {
    if (className != "TThing") return nullptr;
    auto* t = root_.CreateComponent<TStoredThing>();
    t->loadedOrder = root_.loadedOrder;
    return t;
  }

 private:
  TStoredThing& root_;
};

std::optional<std::vector<uint8_t>> testInclude(const std::string& name) {
  if (name == "two.bin") return std::vector<uint8_t>{0xAB, 0xCD};
  return std::nullopt;
}

TEST(DescriptionParse, ValuesOfEveryKind) {
  const TDescriptionObject d = ParseDescription(R"(// comment
object Main: TThing
  XInt = -42
  XHex = $FF
  XFloat = 0.25
  XStr = 'Жизни: ''x''' + ' y'
  XIdent = True
  XSet = [doFlip, doFullScreen]
  XEmptySet = []
  XBytes = {0102 03 @two.bin
    04}
  XItems = <
    item
      Name = 'snd'
      XInner = 7
    end
    item
    end>
  object Child: TThing
    XInt = 1
  end
end
)",
                                                testInclude);
  ASSERT_EQ(d.properties.size(), 9u);
  EXPECT_EQ(d.properties[0].value.integer, -42);
  EXPECT_EQ(d.properties[1].value.integer, 255);
  EXPECT_DOUBLE_EQ(d.properties[2].value.number, 0.25);
  EXPECT_EQ(d.properties[3].value.text, "Жизни: 'x' y");
  EXPECT_EQ(d.properties[4].value.kind, TPropertyValue::Kind::Identifier);
  EXPECT_EQ(d.properties[5].value.set, (std::vector<std::string>{"doFlip", "doFullScreen"}));
  EXPECT_TRUE(d.properties[6].value.set.empty());
  EXPECT_EQ(d.properties[7].value.bytes, (std::vector<uint8_t>{1, 2, 3, 0xAB, 0xCD, 4}));
  ASSERT_EQ(d.properties[8].value.items.size(), 2u);
  EXPECT_EQ(d.properties[8].value.items[0][1].value.integer, 7);
  ASSERT_EQ(d.children.size(), 1u);
  EXPECT_EQ(d.children[0].name, "Child");
}

TEST(DescriptionParse, DamagedTextNamesTheLine) {
  const char* broken[] = {
      "object A: TThing\n  X = 'open\nend",         // unterminated string
      "object A: TThing\n  X = {0G}\nend",          // not hex
      "object A: TThing\n  X = {012}\nend",         // odd digits
      "object A: TThing\n  X = {@missing}\nend",    // include not found
      "object A: TThing\n  X = 1\n",                // no end
      "object A TThing\nend",                       // no colon
      "object A: TThing\n  X = <item X = 1>\nend",  // item without end
      "object A: TThing\nend\nextra",
      "",
  };
  for (const char* text : broken) {
    EXPECT_THROW(ParseDescription(text, testInclude), EReadError) << text;
  }
  try {
    ParseDescription("object A: TThing\n  X = 1\n  Y = {zz}\nend", testInclude);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("line 3"), std::string::npos) << e.Message();
  }
}

TEST(DescriptionRead, CreatesChildrenInOrderAndLoadsAfterwards) {
  std::vector<std::string> loaded;
  TStoredThing root(nullptr);
  root.loadedOrder = &loaded;
  TThingFactory factory(root);
  ReadDescription(
      ParseDescription("object Main: TThing\n XA = 1\n object B: TThing\n XB = 2\n end\n"
                       " object C: TThing\n end\nend"),
      root, factory);
  EXPECT_EQ(loaded, (std::vector<std::string>{"Main", "B", "C"}));
  ASSERT_EQ(root.ComponentCount(), 2);
  auto* b = dynamic_cast<TStoredThing*>(root.FindComponent("b"));
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->wasLoadingWhenSet);
  EXPECT_FALSE(b->Loading());
  EXPECT_EQ(b->seen[0].value.integer, 2);
}

TEST(DescriptionRead, FaultsAreReadingErrorsNamingComponentAndProperty) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"object Main: TThing\n Unknown = 1\nend",
       "Error reading Main.Unknown: Property Unknown does not exist"},
      {"object Main: TThing\n Fail = 1\nend", "Error reading Main.Fail: bad value"},
      {"object Main: TThing\n object B: TOther\n end\nend", "Class TOther not found"},
      {"object Main: TOther\nend", "class TThing expected"},
      {"object Main: TThing\n object B: TThing\n end\n object B: TThing\n end\nend",
       "B already exists"},
  };
  for (const Case& c : cases) {
    TStoredThing root(nullptr);
    std::vector<std::string> loaded;
    root.loadedOrder = &loaded;
    TThingFactory factory(root);
    try {
      ReadDescription(ParseDescription(c.text), root, factory);
      ADD_FAILURE() << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.expected), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(loaded.empty());
    EXPECT_FALSE(root.Loading());
  }
}

TEST(DescriptionRead, EventPropertiesBindToPublishedHandlersOfTheRightType) {
  TStoredThing root(nullptr);
  int calls = 0;
  root.PublishMethod<TNotifyEvent>("Handler", [&](TObject*) { ++calls; });
  TNotifyEvent bound = root.MethodByName<TNotifyEvent>("OnX", "Handler");
  bound(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_THROW(root.MethodByName<TNotifyEvent>("OnX", "Missing"), EReadError);
  using Other = std::function<void(int)>;
  EXPECT_THROW(root.MethodByName<Other>("OnX", "Handler"), EReadError);
}

TEST(DescriptionRead, TypedAccessRejectsValuesOfAnotherKind) {
  TPropertyValue v;
  v.kind = TPropertyValue::Kind::String;
  EXPECT_THROW(v.AsInteger("P"), EReadError);
  EXPECT_THROW(v.AsBinary("P"), EReadError);
  v.kind = TPropertyValue::Kind::Identifier;
  v.text = "Maybe";
  EXPECT_THROW(v.AsBoolean("P"), EReadError);
  v.text = "false";
  EXPECT_FALSE(v.AsBoolean("P"));
}

TEST(DescriptionEmbedded, BothWindowDescriptionsParse) {
  EXPECT_EQ(LoadEmbeddedDescription("main_form.form").className, "TMainForm");
  EXPECT_EQ(LoadEmbeddedDescription("FORM1.FORM").className, "TForm1");
  EXPECT_THROW(LoadEmbeddedDescription("nothing.form"), EReadError);
}

}  // namespace

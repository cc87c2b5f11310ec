#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ppd_allocation.h"
#include "ppd_constraint_index.h"
#include "ppd_test_support.h"

namespace {

struct ModelDeleter {
  void operator()(PpdModel* model) const { DestroyPpdModel(model); }
};
using Model = std::unique_ptr<PpdModel, ModelDeleter>;

Model Fixture(const char* name) {
  Model model(BuildModelFromFixture(name));
  if (model == nullptr) ADD_FAILURE() << "cannot read fixture " << FixturePath(name);
  return model;
}

Model Sample() {
  FILE* file = OpenPpdFile(PPD_SAMPLE_PATH);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << PPD_SAMPLE_PATH;
    return Model();
  }
  Model model(BuildPpdModel(ReadPpdFileByte, file));
  std::fclose(file);
  return model;
}

// "keyword translation [flag]" per option, for compact comparisons.
std::vector<std::string> OptionsOf(const PpdFeature* feature) {
  std::vector<std::string> out;
  for (int i = 0; feature != nullptr && i < feature->optionCount; ++i) {
    const PpdOption* o = feature->options[i];
    out.push_back(Utf8(o->keyword) + "|" + Utf8(o->translation) + (o->constrained ? "|X" : ""));
  }
  return out;
}

std::vector<std::string> ConstraintsOf(const PpdModel& model) {
  std::vector<std::string> out;
  for (int i = 0; i < model.constraintCount; ++i) {
    const PpdConstraint* c = model.constraints[i];
    out.push_back(Utf8(*c->featureKeyword1) + " " + Utf8(*c->option1) + " " +
                  Utf8(*c->featureKeyword2) + " " + Utf8(*c->option2));
  }
  return out;
}

const PpdFeature* FeatureByKeyword(const PpdModel& model, const char* keyword) {
  return model.GetFeature(FindFeatureByKeyword(&model, U16(keyword).c_str()));
}

void SetInstalled(PpdModel* model, const char* keyword, const char* value) {
  SetInstallableValue(model, U16(keyword).c_str(), U16(value).c_str(), false);
}

using Strings = std::vector<std::string>;

TEST(PpdModelQuirks, ANameEndsAtItsFirstSlash) {
  Model model = Fixture("slash_in_translation.ppd");
  ASSERT_TRUE(model);
  const PpdFeature* f = model->GetFeature(0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Utf8(f->keyword), "*MediaType");
  EXPECT_EQ(Utf8(f->translation), "Media / Type");
  EXPECT_EQ(OptionsOf(f), (Strings{"PLAIN|Plain 1 (80 to 90 g/m2)", "A|B/C"}));
}

TEST(PpdModelQuirks, ShortConstraintLinesEndAtTheirLineBreak) {
  Model model = Fixture("short_constraints.ppd");
  ASSERT_TRUE(model);
  EXPECT_EQ(ConstraintsOf(*model),
            (Strings{"*ZQTrayUnit  *InputSlot LC2", "*ZQTrayUnit None *InputSlot ",
                     "*ZQTrayUnit  *InputSlot ", "*ZQTrayUnit None *InputSlot Tray1"}));
  ASSERT_EQ(model->featureCount, 2);
  const PpdFeature* slot = FeatureByKeyword(*model, "*InputSlot");
  ASSERT_NE(slot, nullptr);
  // The empty option value does not take the next line's keyword. With no
  // tray unit, '*ZQTrayUnit None *InputSlot' rules out every paper source.
  EXPECT_EQ(OptionsOf(slot), (Strings{"Tray1|Tray 1|X", "LC2|Cassette|X"}));
  ASSERT_NE(slot->options[0]->invocation, nullptr);
  EXPECT_EQ(std::u16string(slot->options[0]->invocation), u"");
  EXPECT_EQ(std::u16string(slot->options[1]->invocation), u"x");
}

// Installed values set over the PPD defaults, and the options of one feature
// that come out.
struct InstalledCase {
  std::vector<std::pair<const char*, const char*>> installed;
  const char* feature;
  Strings options;
};

TEST(PpdModelQuirks, AnyInstallableThatRulesAnOptionOutHidesIt) {
  const InstalledCase cases[] = {
      // No tray installed: the later trays' installables, and the short line
      // of the duplex unit, do not offer the earlier trays again.
      {{},
       "*InputSlot",
       {"Tray1|Tray 1", "Tray3|Tray 3|X", "Tray4|Tray 4|X", "LC2|Cassette|X",
        "Manual|Manual Feed"}},
      // Keywords and the words None, False and Off meet whatever their case.
      {{{"*ZQTray3", "false"}, {"*ZQDuplexOption", "FALSE"}},
       "*InputSlot",
       {"Tray1|Tray 1", "Tray3|Tray 3|X", "Tray4|Tray 4|X", "LC2|Cassette|X",
        "Manual|Manual Feed"}},
      {{{"*ZQTray3", "True"}},
       "*InputSlot",
       {"Tray1|Tray 1", "Tray3|Tray 3", "Tray4|Tray 4|X", "LC2|Cassette|X", "Manual|Manual Feed"}},
      {{{"*ZQTray4", "True"}, {"*ZQTrayUnit", "LC2"}},
       "*InputSlot",
       {"Tray1|Tray 1", "Tray3|Tray 3|X", "Tray4|Tray 4", "LC2|Cassette", "Manual|Manual Feed"}},
      // A left-out option keyword stands for every option but None, False and
      // Off: the installed duplex unit rules manual feed out.
      {{{"*ZQDuplexOption", "True"}},
       "*InputSlot",
       {"Tray1|Tray 1", "Tray3|Tray 3|X", "Tray4|Tray 4|X", "LC2|Cassette|X",
        "Manual|Manual Feed|X"}},
      {{},
       "*ZQWatermark",
       {"None|None", "OFF|Off", "False|False", "Draft|Draft|X", "Secret|Secret|X"}},
      // An option keyword too long for a text field names no option.
      {{{"*ZQOption18", "Kit"}},
       "*ZQWatermark",
       {"None|None", "OFF|Off", "False|False", "Draft|Draft", "Secret|Secret"}},
  };
  for (const InstalledCase& c : cases) {
    Model model = Fixture("optional_trays.ppd");
    ASSERT_TRUE(model);
    std::string context;
    for (const auto& setting : c.installed) {
      SetInstalled(model.get(), setting.first, setting.second);
      context += std::string(setting.first) + "=" + setting.second + " ";
    }
    SetInstallableValue(model.get(), nullptr, nullptr, true);
    EXPECT_EQ(OptionsOf(FeatureByKeyword(*model, c.feature)), c.options) << context;
  }
}

TEST(PpdModelQuirks, BlocksWithoutCloseUIEndAtTheNextStructureLine) {
  Model model = Fixture("missing_closeui.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 4);
  EXPECT_EQ(Utf8(model->features[0]->group), "InstallableOptions");
  EXPECT_EQ(Utf8(model->features[1]->keyword), "*Duplex");
  EXPECT_EQ(Utf8(model->features[1]->group), "");
  EXPECT_EQ(OptionsOf(model->features[1]), (Strings{"None|Off|X"}));
  EXPECT_EQ(Utf8(model->features[3]->group), "Late");
  EXPECT_EQ(OptionsOf(model->features[3]), (Strings{"One|One"}));
  ASSERT_EQ(model->installableCount, 1);
  EXPECT_EQ(Utf8(model->installables[0]->keyword), "*ZQDuplexOption");
  EXPECT_EQ(Utf8(model->installables[0]->currentValue), "False");
  EXPECT_EQ(model->constraintCount, 2);
}

TEST(PpdModelQuirks, MissingNamesAndUiTypesLeaveTheNextLineALineOfItsOwn) {
  Model model = Fixture("missing_names.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 2);
  const PpdFeature* tray = model->features[0];
  EXPECT_EQ(tray->uiType, PPDUI_PICKONE);
  EXPECT_EQ(Utf8(tray->defaultOption), "Upper");
  EXPECT_EQ(OptionsOf(tray), (Strings{"Upper|Upper Tray", "Lower|Lower Tray"}));
  EXPECT_EQ(std::u16string(tray->options[1]->invocation), u"l");
  const PpdFeature* duplex = model->features[1];
  EXPECT_EQ(Utf8(duplex->keyword), "*Duplex");
  EXPECT_EQ(Utf8(duplex->group), "");
  EXPECT_EQ(Utf8(duplex->groupTranslation), "");
  EXPECT_EQ(duplex->uiType, PPDUI_PICKMANY);
  EXPECT_EQ(OptionsOf(duplex), (Strings{"None|Off"}));
}

TEST(PpdModelQuirks, ASecondQueryIsIgnored) {
  Model model = Fixture("second_query.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 2);
  ASSERT_NE(model->features[0]->query, nullptr);
  EXPECT_EQ(std::u16string(model->features[0]->query), u"first");
  EXPECT_EQ(OptionsOf(model->features[0]), (Strings{"A4|A4", "A5|A5"}));
  EXPECT_EQ(model->features[1]->query, nullptr);
}

TEST(PpdModelQuirks, DoubleQuotesInsideTranslationsAreCharacters) {
  Model model = Fixture("quote_in_translation.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 1);
  EXPECT_EQ(OptionsOf(model->features[0]),
            (Strings{"Legal|Legal (8 1/2 x 14\")", "Letter|Letter 8.5\"x11\""}));
  EXPECT_EQ(std::u16string(model->features[0]->options[0]->invocation), u"legal");
}

TEST(PpdModelQuirks, DefaultBeforeOpenUIIsNotTheDefault) {
  Model model = Fixture("default_before_openui.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 1);
  EXPECT_EQ(Utf8(model->features[0]->defaultOption), "");
  EXPECT_EQ(model->features[0]->orderValue, 20);
}

TEST(PpdModelQuirks, FileEndingInsideABlockKeepsTheFeatureWithoutInstallable) {
  Model model = Fixture("ends_inside_block.ppd");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 1);
  EXPECT_EQ(OptionsOf(model->features[0]), (Strings{"None|None"}));
  EXPECT_EQ(model->installableCount, 0);
}

TEST(PpdModelQuirks, FileEndingInsideAQuotedValueKeepsWhatWasRead) {
  Model model = Fixture("ends_inside_quote.ppd");
  ASSERT_TRUE(model);
  EXPECT_EQ(Utf8(model->modelName), "Half\n*OpenUI *Duplex/Duplex: PickOne\n");
  EXPECT_EQ(model->featureCount, 0);
}

TEST(PpdModelQuirks, CommentsColonsHexAndMultiLineValues) {
  Model model = Fixture("comments_and_colons.ppd");
  ASSERT_TRUE(model);
  EXPECT_EQ(Utf8(model->modelName), "Tight");
  EXPECT_EQ(Utf8(model->manufacturer), "Zq <41>");
  ASSERT_EQ(model->featureCount, 1);
  const PpdFeature* f = model->features[0];
  EXPECT_EQ(Utf8(f->keyword), "*ZQRendering");
  EXPECT_EQ(Utf8(f->translation), "ZQRendering");
  EXPECT_EQ(Utf8(f->group), "ZQFinish");
  EXPECT_EQ(Utf8(f->groupTranslation), "Finishing");
  EXPECT_EQ(f->uiType, PPDUI_PICKMANY);
  EXPECT_EQ(f->orderValue, 15);
  EXPECT_EQ(OptionsOf(f), (Strings{"Color|Colour", "Mono|Mono"}));
  EXPECT_EQ(std::u16string(f->options[0]->invocation), u"line one\nline two: *% not a comment");
}

// The order value as _wtoi reads it: sign, digits up to the first other
// character, saturation at both ends of the 32-bit range. The line's three
// values are read, and what follows them on the line is read as keywords.
TEST(PpdModelQuirks, OrderValuesAreReadAsTheRuntimeReadsThem) {
  const struct {
    const char* value;
    int32_t expected;
    const char* restOfLine;
    const char* defaultOption;
  } cases[] = {{"+7", 7, "", ""},
               {"-7", -7, "", ""},
               {"12x", 12, "", ""},
               {"x12", 0, "", ""},
               {"\x0E" "5", 0, "", ""},
               {"2147483648", 2147483647, "", ""},
               {"-2147483648", -2147483647 - 1, "", ""},
               {"-99999999999", -2147483647 - 1, "", ""},
               {"10", 10, " *DefaultZQX B", "B"}};
  for (const auto& c : cases) {
    Model model(BuildModelFromText(std::string("*OpenUI *ZQX/X: PickOne\n*OrderDependency: ") +
                                   c.value + " AnySetup *ZQX" + c.restOfLine +
                                   "\n*ZQX A/A: \"\"\n*CloseUI: *ZQX\n"));
    ASSERT_TRUE(model);
    ASSERT_EQ(model->featureCount, 1) << c.value;
    EXPECT_EQ(model->features[0]->orderValue, c.expected) << c.value;
    EXPECT_EQ(Utf8(model->features[0]->defaultOption), c.defaultOption) << c.value << c.restOfLine;
  }
}

TEST(PpdModel, EmptyOrUnreadableInputGivesAnEmptyModel) {
  for (const char* text : {"", "*% nothing but a comment", "\x1A"}) {
    Model model(BuildModelFromText(text));
    ASSERT_TRUE(model);
    EXPECT_EQ(model->featureCount + model->constraintCount + model->installableCount, 0) << text;
    EXPECT_EQ(model->tokenBuffer, nullptr);
    EXPECT_EQ(model->source, nullptr);
  }
  Model unread(BuildPpdModel(ReadPpdFileByte, nullptr));
  ASSERT_TRUE(unread);
  EXPECT_EQ(unread->featureCount, 0);
}

TEST(PpdModel, SampleHasTheKnownFeaturesAndItsDefaultsRuleOptionsOut) {
  Model model = Sample();
  ASSERT_TRUE(model);
  EXPECT_EQ(model->featureCount, 28);
  EXPECT_EQ(model->installableCount, 5);
  EXPECT_EQ(OptionsOf(FeatureByKeyword(*model, "*InputSlot")),
            (Strings{"Auto|Automatically Select", "MPTray|Multi-Purpose Tray", "Tray1|Tray 1",
                     "LC1|Cassette 2|X", "LC2|Cassette 3|X"}));
  EXPECT_EQ(Utf8(FeatureByKeyword(*model, "*ZQRotate180Degrees")->translation),
            "Rotate By 180\xC2\xB0");
}

TEST(PpdModel, InstalledValuesChangeTheFlagsOnReevaluation) {
  Model model = Sample();
  ASSERT_TRUE(model);
  const PpdFeature* slot = FeatureByKeyword(*model, "*InputSlot");
  SetInstalled(model.get(), "*ZQTrayUnit", "LC1");
  EXPECT_EQ(OptionsOf(slot)[4], "LC2|Cassette 3|X") << "not re-evaluated yet";
  EXPECT_EQ(OptionsOf(slot)[3], "LC1|Cassette 2|X");
  SetInstallableValue(model.get(), nullptr, nullptr, true);
  EXPECT_EQ(OptionsOf(slot)[3], "LC1|Cassette 2");
  EXPECT_EQ(OptionsOf(slot)[4], "LC2|Cassette 3|X");
  SetInstalled(model.get(), "*ZQTrayUnit", "LC2");
  SetInstalled(model.get(), "*NoSuchUnit", "None");
  SetInstallableValue(model.get(), nullptr, nullptr, true);
  EXPECT_EQ(OptionsOf(slot)[3], "LC1|Cassette 2");
  EXPECT_EQ(OptionsOf(slot)[4], "LC2|Cassette 3");
  // The reverse constraints (*InputSlot first) never touch the installable.
  for (const std::string& option : OptionsOf(FeatureByKeyword(*model, "*ZQTrayUnit"))) {
    EXPECT_EQ(option.find("|X"), std::string::npos) << option;
  }
  // A value longer than a text field holds is stored empty, never cut.
  const InstallableSetting& setting = *model->installables[0];
  const std::string keyword = Utf8(setting.keyword);
  SetInstalled(model.get(), keyword.c_str(), std::string(kPpdTextCapacity - 1, 'x').c_str());
  EXPECT_EQ(setting.currentValue.length, kPpdTextCapacity - 1);
  SetInstalled(model.get(), keyword.c_str(), std::string(kPpdTextCapacity, 'x').c_str());
  EXPECT_EQ(Utf8(setting.currentValue), "");
}

TEST(PpdModel, EachInstallableRulesOutAndEmptyFeaturesAreSkipped) {
  Model model = Fixture("installable_order.ppd");
  ASSERT_TRUE(model);
  const PpdFeature* slot = FeatureByKeyword(*model, "*InputSlot");
  // The stacker relates to the feature without ruling LC2 out: LC2 stays out.
  EXPECT_EQ(OptionsOf(slot), (Strings{"Tray1|Tray 1", "LC2|Cassette|X"}));
  SetInstalled(model.get(), "*ZQStackerOption", "None");
  SetInstallableValue(model.get(), nullptr, nullptr, true);
  EXPECT_EQ(OptionsOf(slot), (Strings{"Tray1|Tray 1|X", "LC2|Cassette|X"}));
  SetInstalled(model.get(), "*ZQTrayUnit", "LC2");
  SetInstallableValue(model.get(), nullptr, nullptr, true);
  EXPECT_EQ(OptionsOf(slot), (Strings{"Tray1|Tray 1|X", "LC2|Cassette"}));
  EXPECT_EQ(FeatureByKeyword(*model, "*Empty")->optionCount, 0);
}

TEST(PpdModel, MatchConstraintRelatesOnlyTheInstallableNamedFirst) {
  Model model = Fixture("installable_order.ppd");
  ASSERT_TRUE(model);
  const PpdFeature* slot = FeatureByKeyword(*model, "*InputSlot");
  const PpdFeature* stacker = FeatureByKeyword(*model, "*ZQStackerOption");
  PpdText tray;
  PpdText none;
  PpdText lc2;
  AssignPpdText(&tray, u"*ZQTrayUnit");
  AssignPpdText(&none, u"None");
  AssignPpdText(&lc2, u"LC2");
  EXPECT_EQ(MatchConstraint(model.get(), &tray, &none, slot, slot->options[1]), CONSTRAINT_MATCH);
  EXPECT_EQ(MatchConstraint(model.get(), &tray, &lc2, slot, slot->options[1]), CONSTRAINT_RELATED);
  EXPECT_EQ(MatchConstraint(model.get(), &tray, &none, stacker, stacker->options[0]),
            CONSTRAINT_NONE);
  // '*InputSlot LC2 *ZQStackerOption None' names the installable second: for
  // the stacker it only relates, it never matches.
  PpdText stackerKeyword = stacker->keyword;
  EXPECT_EQ(MatchConstraint(model.get(), &stackerKeyword, &none, slot, slot->options[1]),
            CONSTRAINT_RELATED);
  EXPECT_EQ(MatchConstraint(model.get(), nullptr, &lc2, slot, slot->options[0]), CONSTRAINT_NONE);
}

TEST(PpdModel, SearchesByKeywordAndTranslation) {
  Model model = Sample();
  ASSERT_TRUE(model);
  EXPECT_EQ(FindFeatureByKeyword(model.get(), u"*Duplex"), FindFeatureByTranslation(model.get(), u"2-Sided Printing"));
  EXPECT_EQ(FindFeatureByTranslation(model.get(), &model->features[0]->translation), 0);
  EXPECT_EQ(FindFeatureByKeyword(model.get(), u"*duplex"), -1);
  EXPECT_EQ(FindFeatureByKeyword(model.get(), static_cast<const char16_t*>(nullptr)), -1);
  EXPECT_EQ(FindFeatureByKeyword(model.get(), static_cast<const PpdText*>(nullptr)), -1);
  EXPECT_EQ(FindIndexedText(nullptr, &model->features[0]->keyword), -1);
  ASSERT_NE(model->constraintIndex, nullptr);
  EXPECT_EQ(FindIndexedText(model->constraintIndex, nullptr), -1);
  const PpdText* keyword = FindFeatureKeywordByTranslation(model.get(), u"Color Mode");
  ASSERT_NE(keyword, nullptr);
  EXPECT_EQ(Utf8(*keyword), "*ZQRendering");
  EXPECT_EQ(FindFeatureKeywordByTranslation(model.get(), nullptr), nullptr);
  EXPECT_EQ(FindFeatureKeywordByTranslation(model.get(), u"Nothing"), nullptr);
  EXPECT_EQ(model->GetFeature(model->featureCount), nullptr);
  EXPECT_EQ(model->GetFeature(-1), nullptr);
  EXPECT_NE(model->GetFeature(model->featureCount - 1), nullptr);
}

std::string ManyFeatures(int features, int optionsOfFirst, int constraints) {
  std::string text;
  for (int f = 0; f < features; ++f) {
    const std::string k = "*F" + std::to_string(f);
    text += "*OpenUI " + k + "/Feature " + std::to_string(f) + ": PickOne\n";
    const int options = f == 0 ? optionsOfFirst : 1;
    for (int o = 0; o < options; ++o) text += k + " O" + std::to_string(o) + ": \"\"\n";
    text += "*CloseUI: " + k + "\n";
  }
  for (int c = 0; c < constraints; ++c) text += "*UIConstraints: *F0 O" + std::to_string(c) + " *F1 O0\n";
  return text;
}

TEST(PpdModel, ArraysGrowPastTheirFirstCapacities) {
  Model model(BuildModelFromText(ManyFeatures(65, 129, 1025)));
  ASSERT_TRUE(model);
  ASSERT_EQ(model->featureCount, 65);
  EXPECT_EQ(Utf8(model->features[32]->keyword), "*F32");
  EXPECT_EQ(Utf8(model->features[64]->keyword), "*F64");
  ASSERT_EQ(model->features[0]->optionCount, 129);
  EXPECT_EQ(Utf8(model->features[0]->options[64]->keyword), "O64");
  EXPECT_EQ(Utf8(model->features[0]->options[128]->keyword), "O128");
  ASSERT_EQ(model->constraintCount, 1025);
  EXPECT_EQ(Utf8(*model->constraints[1024]->option1), "O1024");
  // Each text is kept once, however often the pool has grown since.
  EXPECT_EQ(model->constraints[1024]->featureKeyword1, model->constraints[0]->featureKeyword1);
}

// The growth of an array doubles its entries: on a 32-bit build 2^30 pointers
// or slots of 4 bytes are 2^32 bytes, which wraps to 0. The same wrap, for
// this build's size_t, must be refused instead of giving a tiny block.
TEST(PpdModel, ArrayByteSizesThatWrapAreRefused) {
  const size_t half = size_t(1) << (sizeof(size_t) * 4);
  const size_t wrapping[][2] = {{half, half}, {SIZE_MAX / 4 + 1, 4}, {SIZE_MAX / 8 + 1, 8}};
  for (const auto& entry : wrapping) {
    size_t bytes = 12345;
    EXPECT_FALSE(PpdArrayBytes(entry[0], entry[1], &bytes)) << entry[0] << " x " << entry[1];
    void* block = PpdMallocArray(entry[0], entry[1]);
    EXPECT_EQ(block, nullptr) << entry[0] << " x " << entry[1];
    PpdFree(block);
    void* grown = PpdReallocArray(nullptr, entry[0], entry[1]);
    EXPECT_EQ(grown, nullptr) << entry[0] << " x " << entry[1];
    PpdFree(grown);
  }
  size_t bytes = 0;
  ASSERT_TRUE(PpdArrayBytes(half - 1, half - 1, &bytes));
  EXPECT_EQ(bytes, (half - 1) * (half - 1));
}

// Every allocation in turn fails, with every later one or alone; the build
// must stop cleanly with a prefix of the full model (the sanitizers see any
// leak or overrun).
std::vector<uint8_t> RawFlagsOf(const PpdModel& model) {
  std::vector<uint8_t> flags;
  for (int f = 0; f < model.featureCount; ++f) {
    for (int o = 0; o < model.features[f]->optionCount; ++o) {
      flags.push_back(model.features[f]->options[o]->constrained);
    }
  }
  return flags;
}

TEST(PpdModel, EachFailedAllocationEndsParsingWithoutLoss) {
  // Installables past their first capacity, and a line after them.
  std::string text = ManyFeatures(34, 66, 514) + "*OpenGroup: InstallableOptions/I\n";
  for (int f = 0; f < 33; ++f) {
    const std::string k = "F" + std::to_string(f);
    text += "*OpenUI *" + k + "/X: PickOne\n*Default" + k + ": O1\n*CloseUI: *" + k + "\n";
  }
  text += "*CloseGroup: InstallableOptions\n*UIConstraints: *F0 O2 *F2 O0\n";
  Model full(BuildModelFromText(text));
  ASSERT_TRUE(full);
  ASSERT_EQ(full->installableCount, 33);
  const Strings fullConstraints = ConstraintsOf(*full);
  // Far more than the allocations of the whole build: a build that never
  // completes ends the loop instead of hanging it.
  const long kBudgets = 2000;
  for (const bool bFailOnlyOne : {false, true}) {
    long budget = 0;
    for (; budget < kBudgets; ++budget) {
      SetPpdAllocationBudget(budget, bFailOnlyOne);
      Model model(BuildModelFromText(text));
      SetPpdAllocationBudget(-1);
      if (budget == 0) {
        EXPECT_FALSE(model);
        continue;
      }
      ASSERT_TRUE(model) << budget << " " << bFailOnlyOne;
      EXPECT_LE(model->featureCount, full->featureCount);
      EXPECT_LE(model->constraintCount, full->constraintCount);
      // Only the last constraint may be cut short by the failure.
      const Strings constraints = ConstraintsOf(*model);
      if (!constraints.empty()) {
        EXPECT_TRUE(std::equal(constraints.begin(), constraints.end() - 1, fullConstraints.begin()))
            << budget << " " << bFailOnlyOne;
      }
      // A failure ends the parsing: nothing after it is read.
      if (constraints == fullConstraints) {
        EXPECT_EQ(model->installableCount, full->installableCount) << budget << " " << bFailOnlyOne;
      }
      const bool parsed = constraints == fullConstraints &&
                          OptionsOf(model->features[0]) == OptionsOf(full->features[0]);
      // Past the parsing, the evaluation's own allocations fail in turn: the
      // flags must still come out whole (the scan stands in for the index).
      if (parsed) {
        EXPECT_EQ(RawFlagsOf(*model), RawFlagsOf(*full)) << budget << " " << bFailOnlyOne;
      }
      if (parsed && model->constraintIndex != nullptr && model->constraintIndex->bBuilt) break;
    }
    EXPECT_GT(budget, 100);
    EXPECT_LT(budget, kBudgets) << "the build never completed";
  }
}

std::vector<Strings> FlagsOf(const PpdModel& model) {
  std::vector<Strings> out;
  for (int f = 0; f < model.featureCount; ++f) out.push_back(OptionsOf(model.features[f]));
  return out;
}

TEST(PpdModel, RepeatedKeywordsAreMatchedAsThePlainScanMatchesThem) {
  Model model = Fixture("repeated_keywords.ppd");
  ASSERT_TRUE(model);
  // The repeated installable is one setting, at the first block's default,
  // and the value stored for it is the only one.
  ASSERT_EQ(model->installableCount, 1);
  EXPECT_EQ(OptionsOf(model->features[2]), (Strings{"LC2|A|X", "Tray1|B", "LC2|C|X"}));
  EXPECT_EQ(OptionsOf(model->features[3]), (Strings{"Tray1|B", "LC2|A|X"}));
  SetInstalled(model.get(), "*ZQTrayUnit", "LC2");
  SetInstallableValue(model.get(), nullptr, nullptr, true);
  EXPECT_EQ(OptionsOf(model->features[2]), (Strings{"LC2|A", "Tray1|B|X", "LC2|C"}));
}

void SetRawFlags(PpdModel* model, const std::vector<uint8_t>& flags) {
  size_t i = 0;
  for (int f = 0; f < model->featureCount; ++f) {
    for (int o = 0; o < model->features[f]->optionCount; ++o) {
      model->features[f]->options[o]->constrained = flags[i++];
    }
  }
}

// The indexed evaluation and the plain scan, each started from the same
// random flags, must leave the same flags: a flag that only one of them
// touches shows. Returns the indexed result.
std::vector<Strings> ExpectEvaluationsAgree(PpdModel* model, std::mt19937* random,
                                            const std::string& context) {
  std::vector<uint8_t> start = RawFlagsOf(*model);
  std::vector<Strings> indexed;
  for (int round = 0; round < 8; ++round) {
    for (uint8_t& flag : start) flag = static_cast<uint8_t>((*random)() & 1);
    SetRawFlags(model, start);
    EvaluateInstallableConstraints(model);
    EXPECT_TRUE(model->constraintIndex != nullptr && model->constraintIndex->bBuilt)
        << context << ": the indexed evaluation fell back to the scan";
    indexed = FlagsOf(*model);
    const std::vector<uint8_t> indexedBytes = RawFlagsOf(*model);
    SetRawFlags(model, start);
    EvaluateInstallableConstraintsByScan(model);
    EXPECT_EQ(FlagsOf(*model), indexed) << context << ", round " << round;
    EXPECT_EQ(RawFlagsOf(*model), indexedBytes) << context << ", round " << round;
  }
  return indexed;
}

TEST(PpdModel, IndexedEvaluationAgreesWithThePlainScan) {
  std::mt19937 random(20261209);
  Model model = Sample();
  ASSERT_TRUE(model);
  const char* trays[] = {"None", "LC1", "LC2"};
  const char* duplex[] = {"True", "False"};
  std::vector<Strings> before = FlagsOf(*model);
  for (const char* tray : trays) {
    for (const char* unit : duplex) {
      SetInstalled(model.get(), "*ZQTrayUnit", tray);
      SetInstalled(model.get(), "*ZQDuplexOption", unit);
      const std::string context = std::string("sample ") + tray + " " + unit;
      const std::vector<Strings> indexed = ExpectEvaluationsAgree(model.get(), &random, context);
      EXPECT_NE(before, indexed) << "each step changes some flag: " << context;
      before = indexed;
    }
  }
  // An installable constraining another installable, and repeated keywords.
  Model order = Fixture("installable_order.ppd");
  ASSERT_TRUE(order);
  for (const char* tray : {"None", "LC2"}) {
    for (const char* stacker : {"None", "Yes"}) {
      SetInstalled(order.get(), "*ZQTrayUnit", tray);
      SetInstalled(order.get(), "*ZQStackerOption", stacker);
      ExpectEvaluationsAgree(order.get(), &random,
                             std::string("installable_order ") + tray + " " + stacker);
    }
  }
  Model optional = Fixture("optional_trays.ppd");
  ASSERT_TRUE(optional);
  for (const char* tray3 : {"False", "True"}) {
    for (const char* duplexUnit : {"False", "True"}) {
      for (const char* watermarkKit : {"None", "Kit"}) {
        SetInstalled(optional.get(), "*ZQTray3", tray3);
        SetInstalled(optional.get(), "*ZQDuplexOption", duplexUnit);
        SetInstalled(optional.get(), "*ZQOption18", watermarkKit);
        ExpectEvaluationsAgree(optional.get(), &random,
                               std::string("optional_trays ") + tray3 + " " + duplexUnit + " " +
                                   watermarkKit);
      }
    }
  }
  Model repeated = Fixture("repeated_keywords.ppd");
  ASSERT_TRUE(repeated);
  ExpectEvaluationsAgree(repeated.get(), &random, "repeated_keywords");
}

}  // namespace

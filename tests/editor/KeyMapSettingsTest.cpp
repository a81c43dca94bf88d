#include "KeyMapSettingsTest.h"

#include "SkinTestSupport.h"
#include "backlight/BkLightMultiSelectDialog.h"
#include "backlight/BkLightSettingsDialog.h"
#include "catalogue/KeyCatalogue.h"
#include "device_ui/FirmwareDialog.h"
#include "device_ui/ProgressDialog.h"
#include "editor/KeyMapSettingsDialog.h"
#include "model/KeyboardData.h"
#include "skin/SkinScrollBar.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <initializer_list>
#include <memory>
#include <utility>

namespace {

// Where the areas are, written out here so that a wrong table shows.
const QPoint ClearButton(75, 336), OkButton(407, 336), CancelButton(503, 336), CloseBox(555, 20);
QPoint Tab(int page) {
    return QPoint(18 + 78 * (page - 1) + 38, 64);
}
const QPoint MuteIcon(413, 170);      // page 4, code 112
const QPoint PlayPauseIcon(113, 170); // page 4, code 111
const QPoint LeftClickRow(100, 190);  // page 5, code 130
const QPoint FnIcon(319, 173);        // page 6, code 156
const QPoint SleepIcon(291, 175);     // page 7, code 76
const QPoint ComboSwitch(242, 112);   // page 1
QPoint ComboNameRow(int k) {
    return QPoint(280, 143 + 16 * k);
}
QPoint MacroNameRow(int k) {
    return QPoint(100, 120 + 14 * k);
}
const QPoint ComboNew(250, 260), ComboDelete(320, 260), MacroNew(75, 273), MacroRemove(144, 273);
const QPoint Nowhere(300, 300); // on page 1 and 2, a place of no area
const QPoint RecordSingle(104, 221), RecordMacro(462, 231);
QPoint MacroStepRow(int k) {
    return QPoint(280, 120 + 14 * k);
}

CActionList Keys(std::initializer_list<const char16_t*> items, int view = 6) {
    CActionList list;
    list.SizeOfView = view;
    for (const char16_t* item : items)
        list.AppendItem(item);
    return list;
}

// A catalogue of named entries, each with its content.
CActionList Catalogue(std::initializer_list<std::pair<const char16_t*, CActionList>> entries, int view) {
    CActionList names;
    names.SizeOfView = view;
    for (const auto& [name, content] : entries) {
        names.AppendItem(name);
        names.SetSubList(names.CursorPos, content);
    }
    names.SetCursorIndex(0);
    return names;
}

struct CFixture {
    CTestPrompts Answers;
    std::unique_ptr<CKeyboardData> Data = std::make_unique<CKeyboardData>();
    std::unique_ptr<CMorvDialogKeyMapSettings> Dialog;
    std::unique_ptr<QSignalSpy> Finished;

    CFixture() {
        BuildKeyCatalogue(*Data);
        Data->CurrentKey = 30;
        Data->CurrentLevel = 0;
    }
    KeySetting& Setting(int key = 30, int level = 0) {
        return Data->CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    }
    void Open() {
        Dialog = std::make_unique<CMorvDialogKeyMapSettings>(*Data, TestSkins());
        Finished = std::make_unique<QSignalSpy>(Dialog.get(), &QDialog::finished);
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }
    void Click(QPoint point) { QTest::mouseClick(Dialog.get(), Qt::LeftButton, {}, point); }
    bool Active(int id) {
        Dialog->grab(); // a paint sets the areas' looks from the editor's state
        return Dialog->AreaById(id)->active;
    }
    int Result() const { return Finished->isEmpty() ? -100 : Finished->first().first().toInt(); }
};

std::unique_ptr<CFixture> Fixture;

void PostKey(CMorvDialogKeyMapSettings& dialog, int vk, bool release) {
    dialog.MessageTarget()->Post(WM_HOOK_KEY, static_cast<std::uintptr_t>(vk) | (release ? 1u << 31 : 0u), 0);
    QCoreApplication::processEvents();
}

bool SameSetting(const KeySetting& setting, int mode, int code) {
    return setting.Mode == mode && (mode == ModeNotSet || setting.HWCode == code);
}

} // namespace

void CKeyMapSettingsTest::init() {
    Fixture = std::make_unique<CFixture>();
}

void CKeyMapSettingsTest::cleanup() {
    Fixture.reset();
}

void CKeyMapSettingsTest::opensOnThePageOfTheKeysKindWithItsContentPicked() {
    // Multimedia "Mute": page 4 with its icon lit; OK at once keeps it.
    Fixture->Setting() = KeySetting{ModeMultimedia, 112, {}};
    Fixture->Open();
    QCOMPARE(Fixture->Dialog->Edit().Page(), 4);
    QVERIFY(Fixture->Active(408));
    QVERIFY(!Fixture->Active(402));
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Result(), int(QDialog::Accepted));
    QVERIFY(SameSetting(Fixture->Setting(), ModeMultimedia, 112));

    // Not set: page 1 in single mode; OK at once leaves it not set.
    Fixture->Setting(31) = {};
    Fixture->Data->CurrentKey = 31;
    Fixture->Open();
    QCOMPARE(Fixture->Dialog->Edit().Page(), 1);
    QVERIFY(Fixture->Dialog->Edit().SingleMode());
    QVERIFY(Fixture->Active(101) && Fixture->Active(151) && !Fixture->Active(102) && !Fixture->Active(152));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(31), ModeNotSet, 0));
}

void CKeyMapSettingsTest::choicePagePicksOneAndTheActiveOneAgainPicksNothing() {
    Fixture->Open();
    Fixture->Click(Tab(4));
    Fixture->Click(PlayPauseIcon);
    Fixture->Click(MuteIcon);
    QVERIFY(Fixture->Active(408) && !Fixture->Active(402));
    Fixture->Click(MuteIcon);
    QVERIFY(!Fixture->Active(408));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));

    // Power: a pick, then OK.
    Fixture->Open();
    Fixture->Click(Tab(7));
    Fixture->Click(SleepIcon);
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModePower, 76));
}

void CKeyMapSettingsTest::fnOnTheFunctionPageSetsBothLevels() {
    Fixture->Setting(30, 1) = KeySetting{ModeMultimedia, 112, {}};
    Fixture->Open();
    Fixture->Click(Tab(6));
    Fixture->Click(FnIcon);
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(30, 0), ModeFunction, 156));
    QVERIFY(SameSetting(Fixture->Setting(30, 1), ModeFunction, 156));
    QVERIFY(SameSetting(Fixture->Setting(29, 1), ModeNotSet, 0));
}

void CKeyMapSettingsTest::onlyThePageShownAtOkCounts() {
    Fixture->Setting() = KeySetting{ModeSingle, 44, {}};
    Fixture->Open();
    Fixture->Click(Tab(5));
    Fixture->Click(LeftClickRow);
    QVERIFY(Fixture->Active(506));
    Fixture->Click(Tab(4));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));
}

void CKeyMapSettingsTest::cancelAfterClearChangesNothing() {
    CActionList macro;
    macro.SizeOfView = 9;
    macro.AppendItem(u"A Down");
    Fixture->Data->PredefinedMacro.SizeOfView = 9;
    Fixture->Data->PredefinedMacro.AppendItem(u"Fire");
    Fixture->Data->PredefinedMacro.SetSubList(0, macro);
    Fixture->Setting() = KeySetting{ModeMacro, 0, macro};
    for (const QPoint close : {CancelButton, CloseBox}) {
        Fixture->Open();
        QCOMPARE(Fixture->Dialog->Edit().Page(), 2);
        Fixture->Click(ClearButton);
        QCOMPARE(Fixture->Dialog->Edit().MacroNames.Count(), 0);
        Fixture->Click(close);
        QCOMPARE(Fixture->Result(), int(QDialog::Rejected));
        QCOMPARE(Fixture->Data->PredefinedMacro.Count(), 1);
        QCOMPARE(Fixture->Setting().Mode, int(ModeMacro));
    }
    // Clear, then OK: the stored catalogue is emptied and the key left not set.
    Fixture->Open();
    Fixture->Click(ClearButton);
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Data->PredefinedMacro.Count(), 0);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));
}

void CKeyMapSettingsTest::singleKeyWithoutKeyCodeShowsNoKeyAndOkLeavesItNotSet() {
    Fixture->Setting() = KeySetting{ModeSingle, 160, {}};
    Fixture->Open();
    Fixture->Dialog->grab();
    QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(158)->Caption(UiLanguage::Chinese)),
             QStringLiteral("-- --"));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));

    // A key with a device code shows its name and OK keeps it.
    Fixture->Setting() = KeySetting{ModeSingle, 43, {}}; // device code of A
    Fixture->Open();
    Fixture->Dialog->grab();
    QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(158)->Caption(UiLanguage::English)),
             QStringLiteral("A"));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeSingle, 43));
}

void CKeyMapSettingsTest::comboKeyMatchingNoEntryOpensAsDefault() {
    CActionList keys;
    keys.SizeOfView = 6;
    keys.AppendItem(u"Left CONTROL");
    keys.AppendItem(u"C");
    Fixture->Setting() = KeySetting{ModeCombo, 0, keys};
    Fixture->Open();
    QVERIFY(!Fixture->Dialog->Edit().SingleMode());
    QVERIFY(Fixture->Active(102) && Fixture->Active(152));
    QCOMPARE(Fixture->Dialog->Edit().ComboNames.List, std::vector<std::u16string>{u"default"});
    auto* box = Fixture->Dialog->findChild<QPlainTextEdit*>(QStringLiteral("edit1005"));
    QVERIFY(box != nullptr && box->isVisible());
    QCOMPARE(box->toPlainText(), QStringLiteral("Left CONTROL + C"));
    Fixture->Click(CancelButton);
    QCOMPARE(Fixture->Data->PredefinedCombo.Count(), 0);

    Fixture->Open();
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Data->PredefinedCombo.List, std::vector<std::u16string>{u"default"});
    QCOMPARE(Fixture->Setting().Mode, int(ModeCombo));
    QCOMPARE(Fixture->Setting().ComboKey.List, (std::vector<std::u16string>{u"Left CONTROL", u"C"}));

    // The mode switch turns page 1 back to single key: OK then stores no combination.
    Fixture->Open();
    Fixture->Click(ComboSwitch);
    QVERIFY(Fixture->Dialog->Edit().SingleMode());
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));
}

void CKeyMapSettingsTest::englishCaptionsAndTooltips() {
    Fixture->Data->UiLanguage = UiLanguage::English;
    Fixture->Open();
    const QStringList tabs{"Uni/Combo", "Macro", "Emulate", "Multimedia", "Mouse", "Function", "Power"};
    for (int id = 30; id <= 35; ++id)
        QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(id)->Caption(UiLanguage::English)),
                 tabs[id - 30]);
    int titles = 0, power = 0;
    for (const SkinRegion& area : Fixture->Dialog->Areas()) {
        if (area.id == 36 && area.labelOnly) {
            titles += area.Caption(UiLanguage::English) == "Key Settings" ? 1 : 0;
            power += area.Caption(UiLanguage::English) == "Power" ? 1 : 0;
        }
    }
    QCOMPARE(titles, 1);
    QCOMPARE(power, 1);

    // The tooltip of an icon that is not the pick names it in the UI language.
    Fixture->Click(Tab(4));
    QTest::mouseMove(Fixture->Dialog.get(), MuteIcon);
    QCOMPARE(Fixture->Dialog->ShownTip(), QStringLiteral("Mute"));
    QTest::mouseMove(Fixture->Dialog.get(), QPoint(300, 300));
    QCOMPARE(Fixture->Dialog->ShownTip(), QString());
    Fixture->Click(Tab(6));
    QTest::mouseMove(Fixture->Dialog.get(), FnIcon);
    QCOMPARE(Fixture->Dialog->ShownTip(),
             QStringLiteral("level down combination key,Keys level up and down must be set to FN"));
}

void CKeyMapSettingsTest::areasOfOtherPagesTakeNoClick() {
    Fixture->Open();
    // Page 1 is shown: the place of "Mute" on page 4 and of FN on page 6 do nothing.
    Fixture->Click(MuteIcon);
    Fixture->Click(FnIcon);
    Fixture->Click(Tab(4));
    QCOMPARE(Fixture->Dialog->Edit().Pick(4), -1);
    Fixture->Click(Tab(6));
    QCOMPARE(Fixture->Dialog->Edit().Pick(6), -1);
    QVERIFY(Fixture->Finished->isEmpty());
}

void CKeyMapSettingsTest::newEntriesTakeTheFirstFreeNameAndRenamingKeepsWhatIsTyped() {
    Fixture->Open();
    auto* names = Fixture->Dialog->findChild<QLineEdit*>(QStringLiteral("edit1003"));
    QVERIFY(names != nullptr);
    Fixture->Click(Tab(2));
    Fixture->Click(MacroNew);
    QVERIFY(names->isVisible());
    QCOMPARE(names->text(), QStringLiteral("宏定义1"));
    QCOMPARE(names->geometry(), QRect(37, 114, 141, 13));
    Fixture->Click(Nowhere); // commits
    QVERIFY(!names->isVisible());
    Fixture->Click(MacroNew);
    QCOMPARE(names->text(), QStringLiteral("宏定义2"));
    QCOMPARE(names->geometry(), QRect(37, 128, 141, 13));
    QTest::keyClick(names, Qt::Key_Return);
    QVERIFY(Fixture->Finished->isEmpty()); // Enter commits the name; it does not close the editor
    QCOMPARE(Fixture->Dialog->Edit().MacroNames.List, (std::vector<std::u16string>{u"宏定义1", u"宏定义2"}));

    // A second click on the selected row renames it; an empty name is taken as typed.
    Fixture->Click(MacroNameRow(1));
    QVERIFY(names->isVisible());
    QCOMPARE(names->text(), QStringLiteral("宏定义2"));
    names->clear();
    Fixture->Click(OkButton); // commits, then OK goes on
    QCOMPARE(Fixture->Data->PredefinedMacro.List, (std::vector<std::u16string>{u"宏定义1", u""}));

    // English, combination mode: the first number no entry has.
    Fixture->Data->UiLanguage = UiLanguage::English;
    Fixture->Data->PredefinedCombo = Catalogue({{u"New Combo 1", {}}, {u"New Combo 3", {}}}, 6);
    Fixture->Open();
    names = Fixture->Dialog->findChild<QLineEdit*>(QStringLiteral("edit1003"));
    Fixture->Click(ComboNew); // single mode: nothing
    QVERIFY(!names->isVisible());
    QCOMPARE(Fixture->Dialog->Edit().ComboNames.Count(), 2);
    Fixture->Click(ComboSwitch);
    Fixture->Click(ComboNew);
    QCOMPARE(names->text(), QStringLiteral("New Combo 2"));
}

void CKeyMapSettingsTest::selectingDeletingAndRowsPastTheEnd() {
    Fixture->Data->PredefinedCombo =
        Catalogue({{u"Copy", Keys({u"Left CONTROL", u"C"})}, {u"Paste", Keys({u"Left CONTROL", u"V"})}}, 6);
    Fixture->Setting() = KeySetting{ModeCombo, 0, Keys({u"Left CONTROL", u"C"})};
    Fixture->Open();
    auto* box = Fixture->Dialog->findChild<QPlainTextEdit*>(QStringLiteral("edit1005"));
    Fixture->Click(ComboNameRow(1));
    Fixture->Dialog->grab();
    QCOMPARE(box->toPlainText(), QStringLiteral("Left CONTROL + V"));
    QVERIFY(Fixture->Dialog->AreaById(122)->active && !Fixture->Dialog->AreaById(121)->active);
    QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(122)->Caption(UiLanguage::Chinese)),
             QStringLiteral("Paste"));
    Fixture->Click(ComboNameRow(4)); // past the last entry: nothing changes
    QVERIFY(Fixture->Active(122));
    Fixture->Click(ComboDelete);
    QCOMPARE(Fixture->Dialog->Edit().ComboNames.List, std::vector<std::u16string>{u"Copy"});
    Fixture->Dialog->grab();
    QCOMPARE(box->toPlainText(), QStringLiteral("Left CONTROL + C"));
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Data->PredefinedCombo.List, std::vector<std::u16string>{u"Copy"});
    QCOMPARE(Fixture->Setting().ComboKey.List, (std::vector<std::u16string>{u"Left CONTROL", u"C"}));

    // Removing the only macro leaves both macro lists empty.
    Fixture->Data->PredefinedMacro = Catalogue({{u"Fire", Keys({u"A Down", u"A UP"}, 9)}}, 9);
    Fixture->Open();
    Fixture->Click(Tab(2));
    Fixture->Click(MacroRemove);
    QCOMPARE(Fixture->Dialog->Edit().MacroNames.Count(), 0);
    QCOMPARE(Fixture->Dialog->Edit().MacroSteps.Count(), 0);
    Fixture->Click(MacroRemove); // on an empty list: nothing
    QCOMPARE(Fixture->Dialog->Edit().MacroNames.Count(), 0);
}

void CKeyMapSettingsTest::scrollingTheNamesNeverMovesContentToAnotherEntry() {
    Fixture->Data->PredefinedMacro = Catalogue(
        {{u"One", Keys({u"A Down"}, 9)}, {u"Two", Keys({u"B Down"}, 9)}, {u"Three", Keys({u"C Down"}, 9)}},
        9);
    Fixture->Open();
    Fixture->Click(Tab(2));
    auto* bar = Fixture->Dialog->findChild<CSkinScrollBar*>(QStringLiteral("scrollbar1006"));
    QVERIFY(bar != nullptr && bar->isVisible());
    ScrollInfo range;
    bar->GetScrollInfo(range);
    QCOMPARE(range.maximum, 3 + 9 - 1);
    QCOMPARE(range.page, 9);
    // The bar's down arrow selects the next entry, and its content comes with it.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 3));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 3));
    QCOMPARE(Fixture->Dialog->Edit().MacroSteps.List, std::vector<std::u16string>{u"B Down"});
    // A recording now changes the entry the bar selected, and only that one.
    Fixture->Click(RecordMacro);
    PostKey(*Fixture->Dialog, 68, false);
    Fixture->Click(Nowhere);
    Fixture->Click(OkButton);
    const CActionList& stored = Fixture->Data->PredefinedMacro;
    QCOMPARE(stored.GetSubList(-stored.ViewStartAt).List, std::vector<std::u16string>{u"A Down"});
    QCOMPARE(stored.GetSubList(1 - stored.ViewStartAt).List, std::vector<std::u16string>{u"D Down"});
    QCOMPARE(stored.GetSubList(2 - stored.ViewStartAt).List, std::vector<std::u16string>{u"C Down"});
    QCOMPARE(Fixture->Setting().ComboKey.List, std::vector<std::u16string>{u"D Down"});
}

void CKeyMapSettingsTest::recordingRunsUntilTheNextClickWhichGoesOnOnlyForKeysAndCombinations() {
    Fixture->Open();
    Fixture->Click(RecordSingle);
    QCOMPARE(Fixture->Dialog->Recording(), RecordingTarget::SingleKey);
    QVERIFY(!Fixture->Dialog->AreaById(154)->showText && Fixture->Dialog->AreaById(155)->showText);
    QVERIFY(Fixture->Active(104));
    PostKey(*Fixture->Dialog, 65, false);
    PostKey(*Fixture->Dialog, 65, true);
    Fixture->Click(OkButton); // stops the recording, then OK takes effect
    QCOMPARE(Fixture->Result(), int(QDialog::Accepted));
    QVERIFY(SameSetting(Fixture->Setting(), ModeSingle, 43));

    // A key without a device code is told in the diagnostic box.
    QStringList messages;
    Fixture->Answers->ShowMessage = [&messages](QWidget*, const QString& text) { messages << text; };
    Fixture->Open();
    Fixture->Click(RecordSingle);
    PostKey(*Fixture->Dialog, 7, false);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(QStringLiteral("a=7, b=")), qPrintable(messages[0]));

    // A macro recording: the stopping click goes no further, not even for OK.
    Fixture->Data->PredefinedMacro = Catalogue({{u"Fire", {}}}, 9);
    Fixture->Open();
    Fixture->Click(Tab(2));
    Fixture->Click(RecordMacro);
    QCOMPARE(Fixture->Dialog->Recording(), RecordingTarget::Macro);
    QVERIFY(Fixture->Dialog->AreaById(268)->showText);
    PostKey(*Fixture->Dialog, 66, false);
    PostKey(*Fixture->Dialog, 66, true);
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Dialog->Recording(), RecordingTarget::None);
    QVERIFY(Fixture->Finished->isEmpty());
    QVERIFY(Fixture->Dialog->AreaById(267)->showText && !Fixture->Dialog->AreaById(268)->showText);
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Setting().Mode, int(ModeMacro));
    const std::vector<std::u16string>& steps = Fixture->Setting().ComboKey.List;
    QCOMPARE(steps.size(), std::size_t{3});
    QCOMPARE(steps.front(), std::u16string(u"B Down"));
    QCOMPARE(steps.back(), std::u16string(u"B UP"));
    QCOMPARE(Fixture->Data->PredefinedMacro.GetSubList(0).List, steps);

    // Closing the editor while it records ends the recording.
    Fixture->Open();
    Fixture->Click(RecordSingle);
    Fixture->Dialog->reject();
    QCOMPARE(Fixture->Dialog->Recording(), RecordingTarget::None);

    // In a Wayland session the editor records the keys typed into it, and says so while it records.
    qputenv("WAYLAND_DISPLAY", "zelk-test");
    Fixture->Setting() = {};
    Fixture->Open();
    Fixture->Click(RecordSingle);
    QVERIFY(Fixture->Dialog->AreaById(40)->showText);
    QCOMPARE(Fixture->Dialog->AreaById(40)->Caption(UiLanguage::English),
             std::string("Only keys typed here are recorded"));
    Fixture->Click(OkButton);
    qunsetenv("WAYLAND_DISPLAY");
    QVERIFY(!Fixture->Dialog->AreaById(40)->showText);
}

void CKeyMapSettingsTest::macroSettingsAndTheStepMenu() {
    Fixture->Data->PredefinedMacro = Catalogue({{u"Fire", Keys({u"A Down", u"<20 ms>", u"A UP"}, 9)}}, 9);
    int menus = 0;
    Fixture->Answers->ChooseFromMenu = [&menus](QWidget*, const std::vector<CMenuEntry>& menu, QPoint) {
        ++menus;
        return menu.size() == 5 && menu[0].entries.size() == 3 ? menu[0].entries[2].command
                                                               : 0; // Left, Click
    };
    Fixture->Open();
    Fixture->Click(Tab(2));
    auto* repeat = Fixture->Dialog->findChild<QLineEdit*>(QStringLiteral("edit1001"));
    Fixture->Dialog->grab();
    QCOMPARE(repeat->text(), QStringLiteral("1"));
    repeat->clear();
    QTest::keyClicks(repeat, QStringLiteral("300"));
    QCOMPARE(repeat->text(), QStringLiteral("255"));
    repeat->selectAll();
    QTest::keyClick(repeat, Qt::Key_Backspace); // emptied: 1 at once
    QCOMPARE(repeat->text(), QStringLiteral("1"));

    // Right click on the release step: two left clicks with their delays go before it.
    QTest::mouseClick(Fixture->Dialog.get(), Qt::RightButton, {}, MacroStepRow(2));
    QCOMPARE(menus, 1);
    QCOMPARE(Fixture->Dialog->Edit().MacroSteps.List,
             (std::vector<std::u16string>{u"A Down", u"<20 ms>", u"Mouse Key Left", u"<0 ms>",
                                          u"Mouse Key Left", u"<0 ms>", u"A UP"}));
    QTest::mouseClick(Fixture->Dialog.get(), Qt::RightButton, {}, MacroStepRow(8)); // an empty row
    QCOMPARE(menus, 1);

    // A second click on a selected delay edits it in place.
    auto* names = Fixture->Dialog->findChild<QLineEdit*>(QStringLiteral("edit1003"));
    Fixture->Click(MacroStepRow(1));
    Fixture->Click(MacroStepRow(1));
    QVERIFY(names->isVisible());
    QCOMPARE(names->text(), QStringLiteral("20"));
    names->setText(QStringLiteral("75"));
    QTest::keyClick(names, Qt::Key_Return);
    QVERIFY(Fixture->Finished->isEmpty());
    QCOMPARE(Fixture->Dialog->Edit().MacroSteps.List[1], std::u16string(u"<75 ms>"));

    // Auto delay drops the delays; OK stores the macro with its settings.
    Fixture->Click(QPoint(397, 182)); // 203
    QCOMPARE(Fixture->Dialog->Edit().MacroSteps.List,
             (std::vector<std::u16string>{u"A Down", u"Mouse Key Left", u"Mouse Key Left", u"A UP"}));
    Fixture->Click(OkButton);
    QVERIFY(Fixture->Setting().ComboKey.IsAutoInterval);
    QCOMPARE(Fixture->Setting().ComboKey.Cycles, 1);
    QCOMPARE(Fixture->Data->PredefinedMacro.GetSubList(0).List.size(), std::size_t{4});
}

namespace {

// The scroll bars' arrows on pages 2 and 3, in the editor's coordinates.
const QPoint NamesBarDown(186, 237), RecordBarDown(362, 237);

// What the user does, in order: clicks (routed to the control under the point, as a real click is),
// right clicks, text typed into whatever has the focus and ended with Enter, one key recorded, and a
// key typed into the editor (at.x() is its Qt key).
struct CGesture {
    enum Kind { Click, RightClick, Type, RecordKey, FocusKey } kind;
    QPoint at{};
    int times = 1;
    QString text{};
};

CActionList Delays(int count) {
    CActionList steps;
    steps.SizeOfView = 9;
    for (int n = 0; n < count; ++n)
        steps.AppendItem(u"<" + QString::number(n).toStdU16String() + u" ms>");
    steps.SetCursorIndex(0);
    return steps;
}

CActionList Numbered(const char16_t* prefix, int count) {
    CActionList names;
    names.SizeOfView = 9;
    for (int n = 1; n <= count; ++n) {
        names.AppendItem(prefix + QString::number(n).toStdU16String());
        names.SetSubList(names.CursorPos, Keys({}, 9));
    }
    names.SetCursorIndex(0);
    return names;
}

std::vector<std::u16string> Texts(std::initializer_list<const char16_t*> items) {
    return std::vector<std::u16string>(items.begin(), items.end());
}

void Perform(CMorvDialogKeyMapSettings& dialog, const CGesture& gesture) {
    for (int n = 0; n < gesture.times; ++n) {
        QWidget* target = dialog.childAt(gesture.at);
        if (target == nullptr)
            target = &dialog;
        const QPoint at = target->mapFrom(&dialog, gesture.at);
        switch (gesture.kind) {
        case CGesture::Click:
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
            break;
        case CGesture::RightClick:
            QTest::mouseClick(target, Qt::RightButton, {}, at);
            break;
        case CGesture::Type: {
            QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
            QTest::keyClicks(focused, gesture.text);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog,
                            Qt::Key_Return);
            break;
        }
        case CGesture::RecordKey:
            PostKey(dialog, gesture.at.x(), false);
            break;
        case CGesture::FocusKey:
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(&dialog, static_cast<Qt::Key>(gesture.at.x()));
            break;
        }
    }
}

} // namespace

void CKeyMapSettingsTest::undoAndRedoTakeTheEditorsOwnChangesBackToWhereItOpened() {
    Fixture->Open();
    CMorvDialogKeyMapSettings& dialog = *Fixture->Dialog;
    const auto press = [&dialog](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&dialog, key, modifiers);
    };
    Fixture->Click(Tab(4));
    Fixture->Click(PlayPauseIcon);
    Fixture->Click(MuteIcon);
    QCOMPARE(dialog.Edit().Pick(4), 112);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dialog.Edit().Pick(4), 111);
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier); // nothing before the editor opened
    QCOMPARE(dialog.Edit().Pick(4), -1);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(dialog.Edit().Pick(4), 112);

    // A new macro is a step; showing another page is none.
    Fixture->Click(Tab(2));
    Fixture->Click(MacroNew);
    Fixture->Click(Nowhere);
    QCOMPARE(dialog.Edit().MacroNames.Count(), 1);
    Fixture->Click(Tab(4));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dialog.Edit().MacroNames.Count(), 0);
    QCOMPARE(dialog.Edit().Pick(4), 112);
    QCOMPARE(dialog.Edit().Page(), 2);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(dialog.Edit().Pick(4), 111);
    Fixture->Click(Tab(4));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeMultimedia, 111));
}

void CKeyMapSettingsTest::listSequencesKeepEveryItemInPlace() {
    struct CSequence {
        const char* name;
        CActionList combos, macros;
        std::vector<CGesture> gestures;
        std::vector<std::u16string> names, record; // of the page shown at the end
        int selectedName, selectedStep;            // indexes in the lists; -1 is not checked
        std::vector<int> activeRows;               // checked when not empty
    };
    const CActionList twelve = Numbered(u"M", 12);
    std::vector<std::u16string> twelveNames;
    for (int n = 1; n <= 12; ++n)
        twelveNames.push_back(u"M" + QString::number(n).toStdU16String());
    const CActionList longMacro = Delays(30);
    const CSequence sequences[] = {
        {"the delay editor lands on its own step when the record bar moves the selection",
         {},
         Catalogue({{u"M", Keys({u"A Down", u"<10 ms>", u"A UP", u"B Down"}, 9)}}, 9),
         {{CGesture::Click, Tab(2)},
          {CGesture::Click, MacroStepRow(1), 2},
          {CGesture::Click, RecordBarDown, 2},
          {CGesture::Type, {}, 1, QStringLiteral("777")}},
         {u"M"},
         Texts({u"A Down", u"<10 ms>", u"A UP", u"B Down"}),
         0,
         2,
         {}},
        {"the rename editor lands on its own entry when the names bar moves the selection",
         {},
         twelve,
         {{CGesture::Click, Tab(2)},
          {CGesture::Click, MacroNameRow(0)},
          {CGesture::Click, NamesBarDown, 10},
          {CGesture::Type}},
         twelveNames,
         {},
         10,
         0,
         {}},
        {"a click on a names row keeps the names bar's position",
         {},
         twelve,
         {{CGesture::Click, Tab(2)},
          {CGesture::Click, NamesBarDown, 6},
          {CGesture::Click, MacroNameRow(8)},
          {CGesture::Click, NamesBarDown}},
         twelveNames,
         {},
         7,
         0,
         {}},
        {"the arrows scroll the names past their last row shown, and Enter selects there",
         {},
         twelve,
         {{CGesture::Click, Tab(2)},
          {CGesture::FocusKey, QPoint(Qt::Key_Tab, 0), 4},
          {CGesture::FocusKey, QPoint(Qt::Key_Down, 0), 11},
          {CGesture::FocusKey, QPoint(Qt::Key_Return, 0)}},
         twelveNames,
         {},
         11,
         0,
         {}},
        {"Page Down selects the entry a page past the focused one",
         {},
         twelve,
         {{CGesture::Click, Tab(2)},
          {CGesture::FocusKey, QPoint(Qt::Key_Tab, 0), 4},
          {CGesture::FocusKey, QPoint(Qt::Key_PageDown, 0)}},
         twelveNames,
         {},
         9,
         0,
         {}},
        {"Up past the list's first entry leaves the selection where it is",
         {},
         twelve,
         {{CGesture::Click, Tab(2)},
          {CGesture::Click, MacroNameRow(3)},
          {CGesture::FocusKey, QPoint(Qt::Key_Tab, 0), 4},
          {CGesture::FocusKey, QPoint(Qt::Key_Up, 0), 2}},
         twelveNames,
         {},
         3,
         0,
         {}},
        {"the record bar covers the entry the names bar selects",
         {},
         Catalogue({{u"Short", Keys({u"A Down"}, 9)}, {u"Long", longMacro}}, 9),
         {{CGesture::Click, Tab(2)}, {CGesture::Click, NamesBarDown}, {CGesture::Click, RecordBarDown, 12}},
         {u"Short", u"Long"},
         longMacro.List,
         1,
         12,
         {}},
        {"combination rows select and rename in single-key mode",
         Catalogue({{u"C1", Keys({u"A"})}, {u"C2", Keys({u"B"})}}, 6),
         {},
         {{CGesture::Click, ComboNameRow(1), 2}, {CGesture::Type, {}, 1, QStringLiteral("Two")}},
         {u"C1", u"Two"},
         {u"B"},
         1,
         -1,
         {}},
        {"the step menu works while a macro records",
         {},
         Catalogue({{u"Fire", Keys({u"A Down"}, 9)}}, 9),
         {{CGesture::Click, Tab(2)},
          {CGesture::Click, RecordMacro},
          {CGesture::RecordKey, QPoint(66, 0)},
          {CGesture::RightClick, MacroStepRow(0)}},
         {u"Fire"},
         Texts({u"Mouse Key Left", u"<0 ms>", u"Mouse Key Left", u"<0 ms>", u"B Down"}),
         0,
         -1,
         {}},
        {"empty lists highlight their first row",
         {},
         {},
         {{CGesture::Click, Tab(2)}},
         {},
         {},
         0,
         0,
         {221, 241}},
    };
    for (const CSequence& sequence : sequences) {
        init();
        Fixture->Data->PredefinedCombo = sequence.combos;
        Fixture->Data->PredefinedMacro = sequence.macros;
        Fixture->Answers->ChooseFromMenu = [](QWidget*, const std::vector<CMenuEntry>& menu, QPoint) {
            return menu.size() == 5 && menu[0].entries.size() == 3 ? menu[0].entries[2].command : 0;
        };
        Fixture->Open();
        for (const CGesture& gesture : sequence.gestures)
            Perform(*Fixture->Dialog, gesture);
        const CKeyMapEdit& edit = Fixture->Dialog->Edit();
        const CActionList& names = *edit.NamesOfPage(edit.Page());
        const CActionList& record = *edit.RecordOfPage(edit.Page());
        QVERIFY2(names.List == sequence.names, sequence.name);
        QVERIFY2(record.List == sequence.record, sequence.name);
        QVERIFY2(sequence.selectedName < 0 || names.ViewStartAt + names.CursorPos == sequence.selectedName,
                 sequence.name);
        QVERIFY2(sequence.selectedStep < 0 || record.ViewStartAt + record.CursorPos == sequence.selectedStep,
                 sequence.name);
        if (!sequence.activeRows.empty()) {
            std::vector<int> active;
            for (int id = 221; id <= 249; ++id) {
                if (Fixture->Dialog->AreaById(id) != nullptr && Fixture->Active(id))
                    active.push_back(id);
            }
            QVERIFY2(active == sequence.activeRows, sequence.name);
        }
        cleanup();
    }
}

void CKeyMapSettingsTest::numberEditsShowEveryAllowedValueWhole() {
    struct CCase {
        UiLanguage language;
        int page;
        const char* edit;
        QString value;
    };
    const CCase cases[] = {
        {UiLanguage::Chinese, 2, "edit1001", QStringLiteral("255")},
        {UiLanguage::Chinese, 2, "edit1002", QStringLiteral("60000")},
        {UiLanguage::English, 2, "edit1002", QStringLiteral("60000")},
        {UiLanguage::Chinese, 3, "edit1001", QStringLiteral("6000")},
        {UiLanguage::English, 3, "edit1001", QStringLiteral("6000")},
    };
    for (const CCase& shown : cases) {
        Fixture->Data->UiLanguage = shown.language;
        Fixture->Open();
        Fixture->Click(Tab(shown.page));
        auto* edit = Fixture->Dialog->findChild<QLineEdit*>(QString::fromLatin1(shown.edit));
        edit->setText(shown.value);
        edit->end(false);
        edit->grab();
        // The first character is at the box's left edge, not scrolled out of it.
        QVERIFY2(edit->cursorPositionAt(QPoint(1, edit->height() / 2)) == 0, shown.edit);
    }
}

namespace {

// The names of the controls a screen reader finds in a window; a nameless one fails the test.
QStringList ControlNames(QWidget* window, const QString& where) {
    const QAccessible::Role controls[] = {
        QAccessible::Button,      QAccessible::PageTab,   QAccessible::ListItem,    QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::ScrollBar, QAccessible::EditableText};
    QAccessibleInterface* windowInterface = QAccessible::queryAccessibleInterface(window);
    if (windowInterface == nullptr) {
        QTest::qFail(qPrintable(where + QStringLiteral(": no accessible window")), __FILE__, __LINE__);
        return {};
    }
    QStringList names;
    for (int index = 0; index < windowInterface->childCount(); ++index) {
        QAccessibleInterface* child = windowInterface->child(index);
        if (child == nullptr || child->state().invisible ||
            std::find(std::begin(controls), std::end(controls), child->role()) == std::end(controls))
            continue;
        const QString name = child->text(QAccessible::Name);
        if (name.isEmpty()) {
            const QRect place = child->rect().translated(-window->mapToGlobal(QPoint(0, 0)));
            QTest::qFail(qPrintable(QStringLiteral("%1: a control of role %2 at %3,%4 has no name")
                                        .arg(where)
                                        .arg(int(child->role()))
                                        .arg(place.x())
                                        .arg(place.y())),
                         __FILE__, __LINE__);
        }
        names << name;
    }
    return names;
}

// Every expected name is among the names found, and none of the names forbidden is.
bool NamesAre(const QStringList& names, const QStringList& expected, const QStringList& forbidden,
              const QString& where) {
    for (const QString& name : expected) {
        if (!names.contains(name)) {
            QTest::qFail(qPrintable(where + QStringLiteral(": no control named ") + name +
                                    QStringLiteral(" in ") + names.join(QStringLiteral(", "))),
                         __FILE__, __LINE__);
            return false;
        }
    }
    for (const QString& name : forbidden) {
        if (names.contains(name)) {
            QTest::qFail(qPrintable(where + QStringLiteral(": a control is named ") + name), __FILE__,
                         __LINE__);
            return false;
        }
    }
    return true;
}

} // namespace

void CKeyMapSettingsTest::everyControlAScreenReaderFindsHasAName() {
    // Every control on every page, in both languages; and names a reader would say: on the
    // Multimedia and Function pages the icons by their own tooltips, not by their group's heading,
    // and the close box as a close box, not as Cancel.
    struct CPageNames {
        int page;
        QStringList zh, en;
    };
    const CPageNames pages[] = {
        {1, {"关闭", "取消", "确定"}, {"Close", "Cancel", "OK"}},
        {4, {"多媒体", "播放/暂停", "静音"}, {"Multimedia", "Play/Pause", "Mute"}},
        {6, {"键盘锁", "演示", "流星雨", "涟漪"}, {"Keyboard Lock", "Demonstrate", "Star shower", "Riffle"}},
    };
    const QStringList groupHeadings[] = {{"按键功能", "背光功能"}, {"Key Function", "Backlight Function"}};
    for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        const bool english = language == UiLanguage::English;
        init();
        Fixture->Data->UiLanguage = language;
        Fixture->Open();
        for (int page = 1; page <= 7; ++page) {
            Fixture->Click(Tab(page));
            const QString where = QStringLiteral("editor page %1").arg(page);
            const QStringList names = ControlNames(Fixture->Dialog.get(), where);
            if (QTest::currentTestFailed())
                return;
            for (const CPageNames& expected : pages) {
                if (expected.page == page &&
                    !NamesAre(names, english ? expected.en : expected.zh,
                              page == 6 ? groupHeadings[english ? 1 : 0] : QStringList(), where))
                    return;
            }
            // The close box is not a second Cancel.
            QCOMPARE(names.count(english ? QStringLiteral("Cancel") : QStringLiteral("取消")), 1);
        }
        cleanup();
    }

    // The backlight, multi-key, firmware and progress dialogs: their close boxes, the space bar and
    // the firmware file's box.
    for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        const bool english = language == UiLanguage::English;
        CKeyboardData data;
        data.UiLanguage = language;
        const QString close = english ? QStringLiteral("Close") : QStringLiteral("关闭");
        CMorvDialogBkLightSettings backlight(data, TestSkins());
        CMorvDialogBkLightMultiSelect multiKey(data, TestSkins());
        CMorvDialogFirmwareUpdate firmware(data, TestSkins());
        CMorvDialogProgress progress(data, TestSkins(), OperationWriteKeys);
        firmware.show();
        QVERIFY(QTest::qWaitForWindowExposed(&firmware));
        const std::pair<QWidget*, QStringList> dialogs[] = {
            {&backlight, {close, "Space", "A"}},
            {&multiKey, {close, "Space", "A"}},
            {&firmware, {close, english ? QStringLiteral("File") : QStringLiteral("载入文件：")}},
            {&progress, {close}},
        };
        for (const auto& [dialog, expected] : dialogs) {
            const QString where = QString::fromLatin1(dialog->metaObject()->className());
            const QStringList names = ControlNames(dialog, where);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(NamesAre(names, expected, {}, where));
        }
    }
}

void CKeyMapSettingsTest::everyWindowIsNamedByItsTitle() {
    // A screen reader says a window by its name: the editor's is its title and the key it edits.
    const auto nameOf = [](QWidget* window) {
        QAccessibleInterface* windowInterface = QAccessible::queryAccessibleInterface(window);
        return windowInterface != nullptr ? windowInterface->text(QAccessible::Name) : QString();
    };
    const std::pair<UiLanguage, QStringList> expected[] = {
        {UiLanguage::Chinese,
         {"按键设置面板 F2", "按键设置面板 Space", "背光设置面板", "多键设置面板", "键盘固件升级",
          "读写进度"}},
        {UiLanguage::English,
         {"Key Settings F2", "Key Settings Space", "BackLight Settings", "Set Multi Key", "Firmware Update",
          "Progress"}},
    };
    for (const auto& [language, names] : expected) {
        CKeyboardData data;
        BuildKeyCatalogue(data);
        data.UiLanguage = language;
        QStringList shown;
        for (const int key : {3, 70}) {
            data.CurrentKey = key;
            CMorvDialogKeyMapSettings editor(data, TestSkins());
            shown << nameOf(&editor);
        }
        CMorvDialogBkLightSettings backlight(data, TestSkins());
        CMorvDialogBkLightMultiSelect multiKey(data, TestSkins());
        CMorvDialogFirmwareUpdate firmware(data, TestSkins());
        CMorvDialogProgress progress(data, TestSkins(), OperationWriteKeys);
        for (QWidget* dialog : std::initializer_list<QWidget*>{&backlight, &multiKey, &firmware, &progress})
            shown << nameOf(dialog);
        QCOMPARE(shown, names);
    }
}

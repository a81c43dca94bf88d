#include "KeyMapSettingsTest.h"

#include "SkinTestSupport.h"
#include "catalogue/KeyCatalogue.h"
#include "editor/KeyMapSettingsDialog.h"
#include "model/KeyboardData.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

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
    QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(158)->Caption("zh-CN")),
             QStringLiteral("-- --"));
    Fixture->Click(OkButton);
    QVERIFY(SameSetting(Fixture->Setting(), ModeNotSet, 0));

    // A key with a device code shows its name and OK keeps it.
    Fixture->Setting() = KeySetting{ModeSingle, 43, {}}; // device code of A
    Fixture->Open();
    Fixture->Dialog->grab();
    QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(158)->Caption("en-US")), QStringLiteral("A"));
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
    Fixture->Data->UiLanguage = "en-US";
    Fixture->Open();
    const QStringList tabs{"Uni/Combo", "Macro", "Emulate", "Multimedia", "Mouse", "Function", "Power"};
    for (int id = 30; id <= 35; ++id)
        QCOMPARE(QString::fromStdString(Fixture->Dialog->AreaById(id)->Caption("en-US")), tabs[id - 30]);
    int titles = 0, power = 0;
    for (const SkinRegion& area : Fixture->Dialog->Areas()) {
        if (area.id == 36 && area.labelOnly) {
            titles += area.Caption("en-US") == "Key Settings" ? 1 : 0;
            power += area.Caption("en-US") == "Power" ? 1 : 0;
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

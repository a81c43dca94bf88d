#include "BkLightSettingsTest.h"

#include "BacklightTestSupport.h"
#include "backlight/BkLightMultiSelectDialog.h"
#include "backlight/BkLightSettingsDialog.h"
#include "shell/MainWindow.h"
#include "shell/MainWindowAreas.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

const SkinRect CloseButton{985, 9, 1018, 45};
const SkinRect DefaultButton{143, 420, 238, 454};
const SkinRect WriteButton{505, 420, 588, 454};
const SkinRect CancelButton{699, 420, 784, 454};
const SkinRect OkButton{602, 420, 685, 454};
const SkinRect SetAllButton{243, 420, 338, 454};
const SkinRect MultiKeyButton{340, 420, 438, 454};
const SkinRect SetColourButton{450, 46, 602, 80};

struct CFixture {
    CTestPrompts Answers;
    CBacklightModel Model;
    CColourAnswers Colours;
    std::unique_ptr<CMorvDialogBkLightSettings> Dialog;
    std::unique_ptr<QSignalSpy> Finished;

    CFixture() {
        // A model with colours of its own, record 0 included.
        for (int record = 0; record < BacklightRecordCount; ++record)
            Model.Light(record) = {record, 255 - record, 100};
    }
    void Open() {
        Dialog = std::make_unique<CMorvDialogBkLightSettings>(*Model.Data, TestSkins());
        Answers->AskColour = Colours.Prompt();
        Finished = std::make_unique<QSignalSpy>(Dialog.get(), &QDialog::finished);
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }
    void Click(QPoint point) { QTest::mouseClick(Dialog.get(), Qt::LeftButton, {}, point); }
    void Click(const SkinRect& rect) { Click(Centre(rect)); }
    const AreaLight& Working(int record) const {
        return Dialog->WorkingCopy()[static_cast<std::size_t>(record)];
    }
    int Result() const { return Finished->size() == 1 ? Finished->at(0).at(0).toInt() : -100; }
};

std::unique_ptr<CFixture> Fixture;

// The colours a fresh fixture's model holds.
std::array<AreaLight, KeyIndexCount> OriginalColours() {
    std::array<AreaLight, KeyIndexCount> colours{};
    for (int record = 0; record < BacklightRecordCount; ++record)
        colours[static_cast<std::size_t>(record)] = {record, 255 - record, 100};
    return colours;
}

bool SameRecords(const std::array<AreaLight, KeyIndexCount>& a,
                 const std::array<AreaLight, KeyIndexCount>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!SameLight(a[i], b[i]))
            return false;
    }
    return true;
}

// Answers the multi-key dialog once it is up: selects the keys (a key listed twice ends
// unselected), then asks for the colour (or closes the dialog when none is given).
void AnswerMultiKey(std::vector<int> keys, std::optional<AreaLight> colour, bool* seen = nullptr) {
    WhenModal<CMorvDialogBkLightMultiSelect>([keys, colour, seen](CMorvDialogBkLightMultiSelect* dialog) {
        if (seen != nullptr)
            *seen = true;
        for (const int key : keys)
            QTest::mouseClick(dialog, Qt::LeftButton, {}, KeyCentre(key));
        if (colour) {
            Fixture->Colours.Answers = {colour};
            QTest::mouseClick(dialog, Qt::LeftButton, {}, Centre(SetColourButton));
        } else {
            QTest::mouseClick(dialog, Qt::LeftButton, {}, Centre(CloseButton));
        }
    });
}

} // namespace

void CBkLightSettingsTest::init() {
    Fixture = std::make_unique<CFixture>();
}

void CBkLightSettingsTest::cleanup() {
    Fixture.reset();
}

void CBkLightSettingsTest::oneKeyTakesTheChosenColourAndShowsIt() {
    Fixture->Open();
    Fixture->Colours.Answers = {AreaLight{10, 20, 30}};
    Fixture->Click(KeyCentre(30));
    // The key's own colour is preselected.
    QCOMPARE(Fixture->Colours.Initial.size(), std::size_t{1});
    QVERIFY(SameLight(Fixture->Colours.Initial[0], AreaLight{30, 225, 100}));
    QVERIFY(SameLight(Fixture->Working(30), AreaLight{10, 20, 30}));
    QVERIFY(SameLight(Fixture->Working(29), AreaLight{29, 226, 100}));
    // The model changes only when the dialog ends through OK or Write.
    QVERIFY(SameLight(Fixture->Model.Light(30), AreaLight{30, 225, 100}));

    const QImage shown = Fixture->Dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const SkinRect key = BacklightKeyRect(30);
    QCOMPARE(shown.pixel(key.left - 1, key.top + 10), Rgb({10, 20, 30}));
    QCOMPARE(shown.pixel(key.right, key.top + 10), Rgb({10, 20, 30}));
    QCOMPARE(shown.pixel(key.left + 10, key.top - 2), Rgb({10, 20, 30}));
    QCOMPARE(shown.pixel(key.left + 10, key.bottom + 1), Rgb({10, 20, 30}));
    const SkinRect other = BacklightKeyRect(31);
    QCOMPARE(shown.pixel(other.left - 1, other.top + 10), Rgb({31, 224, 100}));

    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Result(), static_cast<int>(QDialog::Accepted));
    QVERIFY(SameLight(Fixture->Model.Light(30), AreaLight{10, 20, 30}));
    QVERIFY(SameLight(Fixture->Model.Light(29), AreaLight{29, 226, 100}));
}

void CBkLightSettingsTest::sameColourAgainChangesNothing() {
    Fixture->Open();
    QCoreApplication::processEvents();
    CPaintCounter paints(Fixture->Dialog.get());
    Fixture->Colours.Answers = {AreaLight{5, 250, 100}};
    Fixture->Click(KeyCentre(5));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(paints.Count, 0);
    QVERIFY(SameLight(Fixture->Working(5), AreaLight{5, 250, 100}));

    // A different colour does repaint: the count above would have seen it.
    Fixture->Colours.Answers = {AreaLight{5, 250, 101}};
    Fixture->Click(KeyCentre(5));
    QTRY_VERIFY(paints.Count > 0);
    QVERIFY(SameLight(Fixture->Working(5), AreaLight{5, 250, 101}));
}

void CBkLightSettingsTest::cancelledColourDialogChangesNothing() {
    Fixture->Open();
    Fixture->Click(KeyCentre(1));
    Fixture->Click(SetAllButton);
    QCOMPARE(Fixture->Colours.Initial.size(), std::size_t{2});
    QVERIFY(SameRecords(Fixture->Dialog->WorkingCopy(), OriginalColours()));
    QCOMPARE(Fixture->Finished->size(), 0);
}

void CBkLightSettingsTest::setAllColoursEveryRecordIncludingRecordZero() {
    Fixture->Open();
    Fixture->Colours.Answers = {AreaLight{1, 2, 3}};
    Fixture->Click(SetAllButton);
    // Black is preselected, whatever the keys hold.
    QCOMPARE(Fixture->Colours.Initial.size(), std::size_t{1});
    QVERIFY(SameLight(Fixture->Colours.Initial[0], AreaLight{0, 0, 0}));
    for (int record = 0; record < BacklightRecordCount; ++record)
        QVERIFY(SameLight(Fixture->Working(record), AreaLight{1, 2, 3}));

    Fixture->Click(OkButton);
    for (int record = 0; record < BacklightRecordCount; ++record)
        QVERIFY(SameLight(Fixture->Model.Light(record), AreaLight{1, 2, 3}));
}

void CBkLightSettingsTest::defaultThenOkStoresBlack() {
    Fixture->Open();
    Fixture->Click(DefaultButton);
    QVERIFY(Fixture->Colours.Initial.empty());
    Fixture->Click(OkButton);
    QCOMPARE(Fixture->Result(), static_cast<int>(QDialog::Accepted));
    for (int record = 0; record < BacklightRecordCount; ++record)
        QVERIFY(SameLight(Fixture->Model.Light(record), AreaLight{0, 0, 0}));
    // OK does not write to the keyboard.
    const auto area = Fixture->Model.Keyboard->LightArea();
    QVERIFY(std::all_of(area.begin(), area.end(), [](std::uint8_t value) { return value == 0; }));
    QCOMPARE(Fixture->Model.Keyboard->ReportsWritten(), 0L);
}

void CBkLightSettingsTest::cancelCloseAndTitleDropTheChanges_data() {
    QTest::addColumn<QPoint>("point");
    QTest::newRow("cancel button") << Centre(CancelButton);
    QTest::newRow("close button") << Centre(CloseButton);
    QTest::newRow("title caption") << QPoint(470, 20);
}

void CBkLightSettingsTest::cancelCloseAndTitleDropTheChanges() {
    QFETCH(QPoint, point);
    Fixture->Open();
    Fixture->Colours.Answers = {AreaLight{9, 9, 9}, AreaLight{200, 0, 0}};
    Fixture->Click(SetAllButton);
    Fixture->Click(KeyCentre(40));
    Fixture->Click(DefaultButton);
    Fixture->Click(point);
    QCOMPARE(Fixture->Result(), static_cast<int>(QDialog::Rejected));
    QVERIFY(SameRecords(Fixture->Model.Data->BackgroundLightSettings, OriginalColours()));
}

void CBkLightSettingsTest::multiKeyWithNoKeySelectedChangesNothing() {
    Fixture->Open();
    // Left-overs of an earlier run must not count as selected.
    Fixture->Model.Data->LightSelection.fill(1);
    Fixture->Colours.Answers = {AreaLight{1, 1, 1}};
    Fixture->Click(KeyCentre(3)); // working colour of key 3 becomes 1, 1, 1
    bool seen = false;
    AnswerMultiKey({}, AreaLight{250, 250, 250}, &seen);
    Fixture->Click(MultiKeyButton);
    QVERIFY(seen);
    QVERIFY(std::all_of(Fixture->Model.Data->LightSelection.begin(),
                        Fixture->Model.Data->LightSelection.end(),
                        [](std::uint8_t flag) { return flag == 0; }));
    // The multi-key dialog was shown the working copy, not the stored colours.
    QVERIFY(SameLight(Fixture->Model.Data->LightSnapshot[3], AreaLight{1, 1, 1}));
    QVERIFY(SameLight(Fixture->Working(3), AreaLight{1, 1, 1}));
    for (int record = 0; record < BacklightRecordCount; ++record) {
        if (record != 3)
            QVERIFY(SameLight(Fixture->Working(record), OriginalColours()[static_cast<std::size_t>(record)]));
    }
    QCOMPARE(Fixture->Finished->size(), 0);
}

void CBkLightSettingsTest::multiKeyColoursTheSelectedKeys() {
    Fixture->Open();
    AnswerMultiKey({1, 30, 87, 30, 70}, AreaLight{0, 128, 255});
    Fixture->Click(MultiKeyButton);
    for (int record = 0; record < BacklightRecordCount; ++record) {
        const bool chosen = record == 1 || record == 87 || record == 70;
        const AreaLight expected =
            chosen ? AreaLight{0, 128, 255} : OriginalColours()[static_cast<std::size_t>(record)];
        if (!SameLight(Fixture->Working(record), expected))
            QFAIL(qPrintable(QStringLiteral("record %1 has the wrong colour").arg(record)));
    }
    Fixture->Click(OkButton);
    QVERIFY(SameLight(Fixture->Model.Light(87), AreaLight{0, 128, 255}));
    QVERIFY(SameLight(Fixture->Model.Light(30), AreaLight{30, 225, 100}));
}

void CBkLightSettingsTest::multiKeyClosedChangesNothing() {
    Fixture->Open();
    AnswerMultiKey({4, 5, 6}, std::nullopt);
    Fixture->Click(MultiKeyButton);
    QVERIFY(SameRecords(Fixture->Dialog->WorkingCopy(), OriginalColours()));
    QCOMPARE(Fixture->Finished->size(), 0);
}

void CBkLightSettingsTest::writeSendsTheColoursToTheKeyboard() {
    Fixture->Model.Data->UiLanguage = UiLanguage::English;
    Fixture->Open();
    Fixture->Colours.Answers = {AreaLight{255, 0, 0}, AreaLight{17, 34, 51}};
    Fixture->Click(SetAllButton);
    Fixture->Click(KeyCentre(54)); // Enter
    CMessageCatcher messages;
    Fixture->Click(WriteButton);
    QTRY_COMPARE(Fixture->Finished->size(), 1);
    QCOMPARE(Fixture->Result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(messages.Texts, QStringList{QStringLiteral("OK!")});

    const auto area = Fixture->Model.Keyboard->LightArea();
    for (int key = 1; key <= KeyCount; ++key) {
        const AreaLight expected = key == 54 ? AreaLight{17, 34, 51} : AreaLight{255, 0, 0};
        const auto at = static_cast<std::size_t>(3 * (key - 1));
        if (area[at] != expected.Red || area[at + 1] != expected.Green || area[at + 2] != expected.Blue)
            QFAIL(qPrintable(QStringLiteral("key %1 holds the wrong colour on the keyboard").arg(key)));
        QVERIFY(SameLight(Fixture->Model.Light(key), expected));
    }
    QVERIFY(SameLight(Fixture->Model.Light(0), AreaLight{255, 0, 0}));
}

void CBkLightSettingsTest::failedWriteIsReportedAndKeepsTheColours() {
    for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        Fixture = std::make_unique<CFixture>();
        Fixture->Model.Data->UiLanguage = language;
        Fixture->Open();
        Fixture->Colours.Answers = {AreaLight{40, 50, 60}};
        Fixture->Click(KeyCentre(12));
        Fixture->Model.Keyboard->SetPlugged(false);
        CMessageCatcher messages;
        Fixture->Click(WriteButton);
        QTRY_COMPARE(Fixture->Finished->size(), 1);
        QCOMPARE(messages.Texts.size(), 1);
        const QString text = messages.Texts[0];
        QVERIFY2(text != QStringLiteral("OK!"), qPrintable(text));
        // The message speaks the UI language.
        const bool chinese =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4e00; });
        QCOMPARE(chinese, language == UiLanguage::Chinese);
        QVERIFY(SameLight(Fixture->Model.Light(12), AreaLight{40, 50, 60}));
        QVERIFY(SameLight(Fixture->Model.Light(13), AreaLight{13, 242, 100}));
    }
}

void CBkLightSettingsTest::mainWindowBacklightButtonOpensTheDialog() {
    CMorvDlg window(*Fixture->Model.Data, TestSkins());
    Fixture->Answers->ShowMessage = [](QWidget*, const QString&) {};
    QVERIFY(window.Initialise());
    window.SetDeviceCheckInterval(0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Initialise clears the model; give it colours again.
    for (int record = 0; record < BacklightRecordCount; ++record)
        Fixture->Model.Light(record) = {record, 255 - record, 100};

    QWidget* parent = nullptr;
    CMorvDialogBkLightSettings::LightRecords shown{};
    WhenModal<CMorvDialogBkLightSettings>([&](CMorvDialogBkLightSettings* dialog) {
        parent = dialog->parentWidget();
        shown = dialog->WorkingCopy();
        QTest::mouseClick(dialog, Qt::LeftButton, {}, Centre(DefaultButton));
        QTest::mouseClick(dialog, Qt::LeftButton, {}, Centre(OkButton));
    });
    const SkinRegion* button = window.AreaById(IdBacklight);
    QTest::mouseClick(&window, Qt::LeftButton, {}, Centre(button->rect));
    QCOMPARE(parent, &window);
    QVERIFY(SameRecords(shown, OriginalColours()));
    QVERIFY(SameLight(Fixture->Model.Light(50), AreaLight{0, 0, 0}));
}

#include "BkLightMultiSelectTest.h"

#include "BacklightTestSupport.h"
#include "backlight/BkLightMultiSelectDialog.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct CFixture {
    CTestPrompts Answers;
    CBacklightModel Model;
    CColourAnswers Colours;
    std::unique_ptr<CMorvDialogBkLightMultiSelect> Dialog;

    void Open() {
        Answers->AskColour = Colours.Prompt();
        Dialog = std::make_unique<CMorvDialogBkLightMultiSelect>(*Model.Data, TestSkins());
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }
    void Click(QPoint point) { QTest::mouseClick(Dialog.get(), Qt::LeftButton, {}, point); }
    std::uint8_t Flag(int key) const { return Model.Data->LightSelection[static_cast<std::size_t>(key)]; }
    QImage Shown() { return Dialog->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

std::unique_ptr<CFixture> Fixture;

} // namespace

void CBkLightMultiSelectTest::init() {
    Fixture = std::make_unique<CFixture>();
}

void CBkLightMultiSelectTest::cleanup() {
    Fixture.reset();
}

void CBkLightMultiSelectTest::clickingAKeyTwiceLeavesItUnselected() {
    Fixture->Open();
    Fixture->Click(KeyCentre(30));
    Fixture->Click(KeyCentre(87));
    QCOMPARE(Fixture->Flag(30), 1);
    QCOMPARE(Fixture->Flag(87), 1);
    QVERIFY(Fixture->Dialog->AreaById(99 + 30)->active);

    Fixture->Click(KeyCentre(30));
    QCOMPARE(Fixture->Flag(30), 0);
    QVERIFY(!Fixture->Dialog->AreaById(99 + 30)->active);
    QCOMPARE(Fixture->Flag(87), 1);
    QCOMPARE(Fixture->Flag(0), 0);
    QVERIFY(Fixture->Dialog->isVisible());
}

void CBkLightMultiSelectTest::selectedKeysShowTheirSelectedLook() {
    Fixture->Open();
    Fixture->Click(KeyCentre(70)); // Space
    const QImage shown = Fixture->Shown().convertToFormat(QImage::Format_RGB32);
    const QImage selected =
        TestSkins().PlainPicture(BkLightMultiSelectActivePicture)->convertToFormat(QImage::Format_RGB32);
    const QImage plain =
        TestSkins().PlainPicture(BkLightMultiSelectPicture)->convertToFormat(QImage::Format_RGB32);
    const QRect space = ToQRect(BacklightKeyRect(70));
    const QRect escape = ToQRect(BacklightKeyRect(1));
    QCOMPARE(shown.copy(space), selected.copy(space));
    QCOMPARE(shown.copy(escape), plain.copy(escape));
}

void CBkLightMultiSelectTest::framesShowTheSnapshotAndPureRedStaysVisible() {
    Fixture->Model.Data->LightSnapshot[10] = {255, 0, 0};
    Fixture->Model.Data->LightSnapshot[11] = {0, 200, 40};
    Fixture->Model.Data->LightSnapshot[12] = {255, 0, 1};
    Fixture->Open();
    // The snapshot is copied when the dialog opens; later changes are not shown.
    Fixture->Model.Data->LightSnapshot[11] = {9, 9, 9};
    Fixture->Dialog->update();
    const QImage shown = Fixture->Shown();
    const auto frameColour = [&](int key) {
        const SkinRect rect = BacklightKeyRect(key);
        return shown.pixel(rect.left - 1, (rect.top + rect.bottom) / 2) & 0xffffff;
    };
    QCOMPARE(frameColour(10), qRgb(255, 1, 0) & 0xffffff);
    QCOMPARE(frameColour(11), qRgb(0, 200, 40) & 0xffffff);
    QCOMPARE(frameColour(12), qRgb(255, 0, 1) & 0xffffff);
    QCOMPARE(frameColour(13), qRgb(0, 0, 0) & 0xffffff);
    // Every strip of the frame, corners included.
    const SkinRect rect = BacklightKeyRect(11);
    QCOMPARE(shown.pixel(rect.left - 2, rect.top - 2) & 0xffffff, qRgb(0, 200, 40) & 0xffffff);
    QCOMPARE(shown.pixel(rect.right + 1, rect.bottom + 1) & 0xffffff, qRgb(0, 200, 40) & 0xffffff);
    QCOMPARE(shown.pixel(rect.left + 5, rect.top - 1) & 0xffffff, qRgb(0, 200, 40) & 0xffffff);
    QCOMPARE(shown.pixel(rect.left + 5, rect.bottom) & 0xffffff, qRgb(0, 200, 40) & 0xffffff);
    QVERIFY((shown.pixel(rect.left + 5, rect.bottom + 2) & 0xffffff) != (qRgb(0, 200, 40) & 0xffffff));
}

void CBkLightMultiSelectTest::titleAndCloseButtonEndWithCancel() {
    for (const QPoint point : {QPoint(470, 20), Centre(SkinRect{985, 9, 1018, 45})}) {
        Fixture = std::make_unique<CFixture>();
        Fixture->Open();
        QSignalSpy finished(Fixture->Dialog.get(), &QDialog::finished);
        Fixture->Click(KeyCentre(5));
        Fixture->Click(point);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), static_cast<int>(QDialog::Rejected));
        QVERIFY(Fixture->Colours.Initial.empty());
    }
}

void CBkLightMultiSelectTest::setColourLabelBesideTheButtonOpensTheColourDialog() {
    Fixture->Open();
    QSignalSpy finished(Fixture->Dialog.get(), &QDialog::finished);
    Fixture->Click(KeyCentre(2));
    Fixture->Colours.Answers = {AreaLight{12, 34, 56}};
    // Left of the button's rectangle, inside the caption's.
    Fixture->Click(QPoint(444, 70));
    QCOMPARE(Fixture->Colours.Initial.size(), std::size_t{1});
    QVERIFY(SameLight(Fixture->Colours.Initial[0], AreaLight{0, 0, 0}));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), static_cast<int>(QDialog::Accepted));
    QVERIFY(SameLight(Fixture->Model.Data->ChosenColour, AreaLight{12, 34, 56}));
    QCOMPARE(Fixture->Flag(2), 1);
}

void CBkLightMultiSelectTest::cancellingTheColourDialogKeepsTheSelection() {
    Fixture->Open();
    QSignalSpy finished(Fixture->Dialog.get(), &QDialog::finished);
    Fixture->Model.Data->ChosenColour = {7, 7, 7};
    Fixture->Click(KeyCentre(44));
    Fixture->Click(Centre(SkinRect{450, 46, 602, 80}));
    QCOMPARE(Fixture->Colours.Initial.size(), std::size_t{1});
    QCOMPARE(finished.size(), 0);
    QVERIFY(Fixture->Dialog->isVisible());
    QCOMPARE(Fixture->Flag(44), 1);
    QVERIFY(Fixture->Dialog->AreaById(99 + 44)->active);
    QVERIFY(SameLight(Fixture->Model.Data->ChosenColour, AreaLight{7, 7, 7}));
}

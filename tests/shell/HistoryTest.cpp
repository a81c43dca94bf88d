#include "HistoryTest.h"

#include "ShellTestSupport.h"
#include "device_ui/ProgressDialog.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "shell/MainWindow.h"
#include "zelk/DeviceOptions.h"
#include "zelk/VirtualKeyboard.h"

#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

constexpr int KeyF2 = 3;
constexpr int KeyA = 43;
constexpr int PlayPauseCode = 111;

// The main window with the editor, the backlight dialog and the transfers replaced by what their OK
// leaves in the model.
class CStepWindow : public CMorvDlg {
public:
    using CMorvDlg::CMorvDlg;

    std::function<void(CKeyboardData&)> EditorOk;
    std::function<void(CKeyboardData&)> BacklightOk;
    std::function<void(CKeyboardData&)> ReadBack;
    QStringList Opened;

protected:
    void RunKeyEditor() override {
        Opened << QStringLiteral("editor");
        if (EditorOk)
            EditorOk(Data());
    }
    void RunBacklight() override {
        if (BacklightOk)
            BacklightOk(Data());
    }
    int RunProgress(int operation) override {
        if (operation != OperationReadAll || !ReadBack)
            return QDialog::Rejected;
        ReadBack(Data());
        return QDialog::Accepted;
    }
};

struct CFixture {
    std::unique_ptr<CKeyboardData> Data = std::make_unique<CKeyboardData>();
    std::shared_ptr<CVirtualKeyboard> Keyboard;
    CTestPrompts Answers;
    std::unique_ptr<CStepWindow> Window;
    QTemporaryDir Folder;
    QString OpenPath;
    int PathsAsked = 0;
    QStringList Messages;

    CFixture() {
        Keyboard = UseVirtualKeyboard(*Data);
        Window = std::make_unique<CStepWindow>(*Data, TestSkins());
        Answers->AskPath = [this](QWidget*, PathQuestion) {
            ++PathsAsked;
            return OpenPath;
        };
        Answers->ShowMessage = [this](QWidget*, const QString& text) { Messages << text; };
        Answers->AskSaveChanges = [](QWidget*, const CSaveQuestion&) { return SaveChoice::Discard; };
    }

    bool Open() { return OpenMainWindow(*Window); }

    // The bytes the program's own save of the model gives.
    QByteArray Saved() {
        const QString path = Folder.filePath(QStringLiteral("saved.pro"));
        if (!SaveProfile(*Data, path.toStdU16String()))
            return {};
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    KeySetting& Setting(int key, int level) {
        return Data->CurrentSettings[static_cast<std::size_t>(key)][static_cast<std::size_t>(level)];
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Window.get(), static_cast<Qt::Key>(key), modifiers);
    }

    // A key typed on the keyboard, as the window receives it: with its X key code.
    void Type(quint32 xKeyCode, Qt::Key key = Qt::Key_unknown) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, xKeyCode, 0, 0);
            QApplication::sendEvent(Window.get(), &event);
        }
    }

    // Ctrl+T as the window receives it, its shortcut included.
    void KeyTestShortcut() {
        QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier, 28, 0x54, 0x4);
        QKeyEvent shortcut(QEvent::ShortcutOverride, Qt::Key_T, Qt::ControlModifier, 28, 0x54, 0x4);
        if (!QApplication::sendEvent(Window.get(), &shortcut) || !shortcut.isAccepted())
            Press(Qt::Key_T, Qt::ControlModifier);
        else
            QApplication::sendEvent(Window.get(), &ctrl);
    }
};

std::unique_ptr<CFixture> Fixture;

void PlayPauseOnF2(CKeyboardData& data) {
    auto& setting = data.CurrentSettings[KeyF2][0];
    setting.Mode = ModeMultimedia;
    setting.HWCode = PlayPauseCode;
}

enum Step { KeyEdit, Backlight, Clear, Open, Read };

} // namespace

void CHistoryTest::init() {
    Fixture = std::make_unique<CFixture>();
}

void CHistoryTest::cleanup() {
    Fixture.reset();
}

void CHistoryTest::eachStepUndoesAndRedoesToTheSameBytes_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("undone");
    QTest::addRow("editor OK") << int(KeyEdit) << QStringLiteral("已撤销：F2 多媒体键 Play/Pause");
    QTest::addRow("backlight OK") << int(Backlight) << QStringLiteral("已撤销：背光颜色");
    QTest::addRow("Clear") << int(Clear) << QStringLiteral("已撤销：清空");
    QTest::addRow("Open") << int(Open) << QStringLiteral("已撤销：打开 other.pro");
    QTest::addRow("Read") << int(Read) << QStringLiteral("已撤销：从键盘读取");
}

void CHistoryTest::eachStepUndoesAndRedoesToTheSameBytes() {
    QFETCH(int, step);
    QFETCH(QString, undone);
    QVERIFY(Fixture->Open());
    // Something to lose for Clear and Open: a saved profile with a macro and a colour, opened.
    Fixture->Data->PredefinedMacro.AppendItem(u"walk");
    Fixture->Data->PredefinedMacro.SubLists[0].List = {u"W Down", u"30 ms", u"W UP"};
    Fixture->Setting(10, 1).Mode = ModeSingle;
    Fixture->Setting(10, 1).HWCode = 44;
    Fixture->Data->BackgroundLightSettings[7] = {255, 0, 10};
    Fixture->OpenPath = Fixture->Folder.filePath(QStringLiteral("first.pro"));
    QVERIFY(SaveProfile(*Fixture->Data, Fixture->OpenPath.toStdU16String()));
    Fixture->Window->Dispatch(IdOpen, 0);
    const QByteArray before = Fixture->Saved();

    Fixture->Window->EditorOk = PlayPauseOnF2;
    Fixture->Window->BacklightOk = [](CKeyboardData& data) { data.BackgroundLightSettings[87] = {1, 2, 3}; };
    Fixture->Window->ReadBack = [](CKeyboardData& data) {
        data.Clear();
        data.CurrentSettings[20][1].Mode = ModeMouse;
        data.CurrentSettings[20][1].HWCode = 130;
    };
    switch (step) {
    case KeyEdit:
        Fixture->Window->Dispatch(IdKeyBase + KeyF2, KeyF2);
        break;
    case Backlight:
        Fixture->Window->Dispatch(IdBacklight, 0);
        break;
    case Clear:
        Fixture->Window->Dispatch(IdClear, 0);
        break;
    case Open: {
        CKeyboardData other;
        BuildKeyCatalogue(other);
        other.Clear();
        PlayPauseOnF2(other);
        Fixture->OpenPath = Fixture->Folder.filePath(QStringLiteral("other.pro"));
        QVERIFY(SaveProfile(other, Fixture->OpenPath.toStdU16String()));
        Fixture->Window->Dispatch(IdOpen, 0);
        break;
    }
    case Read:
        Fixture->Window->Dispatch(IdReadAll, 0);
        break;
    }
    const QByteArray after = Fixture->Saved();
    QVERIFY(after != before);

    Fixture->Press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Fixture->Saved(), before);
    QCOMPARE(Fixture->Window->NoticeShownText(), undone);
    // Back where the profile was opened (Open and Read keep what they brought as opened).
    if (step != Open && step != Read) {
        QVERIFY(!Fixture->Window->HasUnsavedChanges());
        QVERIFY(!Fixture->Window->isWindowModified());
    }
    Fixture->Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Fixture->Saved(), after);
    QCOMPARE(Fixture->Window->NoticeShownText(),
             undone.replace(QStringLiteral("已撤销"), QStringLiteral("已重做")));
    Fixture->Press(Qt::Key_Z, Qt::ControlModifier);
    Fixture->Press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Fixture->Saved(), after);
    // Nothing further either way: the opening was no step.
    Fixture->Press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Fixture->Saved(), after);
}

void CHistoryTest::randomStepsAndUndosKeepTheHistoryTrue() {
    QVERIFY(Fixture->Open());
    QRandomGenerator random(20261210);
    // What the saved profile must be after each step; the last entry is the one the model holds.
    QList<QByteArray> done{Fixture->Saved()};
    QList<QByteArray> undone;
    for (int round = 0; round < 200; ++round) {
        const int action = random.bounded(5);
        if (action == 0 && done.size() > 1) {
            Fixture->Window->Undo();
            undone << done.takeLast();
        } else if (action == 1 && !undone.isEmpty()) {
            Fixture->Window->Redo();
            done << undone.takeLast();
        } else {
            const int key = 1 + random.bounded(KeyCount);
            const int code = 1 + random.bounded(74);
            const bool macro = action == 2;
            Fixture->Window->EditorOk = [key, code, macro](CKeyboardData& data) {
                auto& setting = data.CurrentSettings[static_cast<std::size_t>(key)][0];
                setting.Mode = macro ? ModeMacro : ModeSingle;
                setting.HWCode = code;
                setting.ComboKey.Clear();
                if (macro) {
                    setting.ComboKey.List = {u"A Down", u"12 ms", u"A UP"};
                    data.PredefinedMacro.AppendItem(
                        u"m" + std::u16string(1, static_cast<char16_t>(u'a' + code % 26)));
                }
            };
            const QByteArray was = Fixture->Saved();
            Fixture->Window->Dispatch(IdKeyBase + key, key);
            const QByteArray now = Fixture->Saved();
            if (now != was) {
                done << now;
                undone.clear();
                if (done.size() > 101)
                    done.removeFirst();
            }
        }
        QCOMPARE(Fixture->Saved(), done.last());
        QCOMPARE(Fixture->Window->History().CanUndo(), done.size() > 1);
        QCOMPARE(Fixture->Window->History().CanRedo(), !undone.isEmpty());
    }
}

void CHistoryTest::contextMenuNamesTheSteps() {
    QVERIFY(Fixture->Open());
    const auto entries = [] {
        std::unique_ptr<QMenu> menu(Fixture->Window->ContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" [grey]"));
        }
        return texts;
    };
    QCOMPARE(entries(), (QStringList{QStringLiteral("撤销（Ctrl+Z） [grey]"),
                                     QStringLiteral("重做（Ctrl+Shift+Z） [grey]"),
                                     QStringLiteral("按键测试（Ctrl+T）"), QStringLiteral("保存到配置架…")}));
    Fixture->Window->EditorOk = PlayPauseOnF2;
    Fixture->Window->Dispatch(IdKeyBase + KeyF2, KeyF2);
    Fixture->Window->Dispatch(IdLanguage, 0);
    QCOMPARE(entries(), (QStringList{QStringLiteral("Undo F2 Multimedia Play/Pause (Ctrl+Z)"),
                                     QStringLiteral("Redo (Ctrl+Shift+Z) [grey]"),
                                     QStringLiteral("Key test (Ctrl+T)"), QStringLiteral("Save to Shelf…")}));
    Fixture->Window->Undo();
    QCOMPARE(entries(), (QStringList{QStringLiteral("Undo (Ctrl+Z) [grey]"),
                                     QStringLiteral("Redo F2 Multimedia Play/Pause (Ctrl+Shift+Z)"),
                                     QStringLiteral("Key test (Ctrl+T)"), QStringLiteral("Save to Shelf…")}));
}

void CHistoryTest::keyTestMarksTheKeysTypedAndNothingElse() {
    QVERIFY(Fixture->Open());
    PlayPauseOnF2(*Fixture->Data);
    Fixture->KeyTestShortcut();
    QVERIFY(Fixture->Window->KeyTest().Running());
    QCOMPARE(Fixture->Window->NoticeShownText(), QStringLiteral("按键测试：按下键盘上的按键，Ctrl+T 结束"));

    // A (X key code 38): marked, named with its scan code; nothing opens, nothing is assigned.
    const QByteArray before = Fixture->Saved();
    Fixture->Type(38, Qt::Key_A);
    QVERIFY(Fixture->Window->KeyTest().Tested(KeyA));
    QVERIFY(!Fixture->Window->KeyTest().Tested(KeyA + 1));
    Fixture->Window->grab();
    QCOMPARE(Fixture->Window->InfoPanel()->toPlainText().section(QLatin1Char('\n'), 0, 2),
             QStringLiteral("按键测试——最后按下：A（扫描码 0x1E）\n\n上档键：未设置 "));
    // Enter and Ctrl+S are keys like any other while the test runs.
    Fixture->Type(36, Qt::Key_Return);
    Fixture->Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(Fixture->Window->Opened.isEmpty());
    QCOMPARE(Fixture->Saved(), before);
    QVERIFY(Fixture->Window->KeyTest().Tested(54)); // Enter
    QCOMPARE(Fixture->PathsAsked, 0);

    // Play/Pause (X key code 172) comes from F2, the one key assigned to send it.
    Fixture->Type(172, Qt::Key_MediaTogglePlayPause);
    QCOMPARE(Fixture->Window->KeyTest().LastKey(), KeyF2);
    QVERIFY(Fixture->Window->KeyTest().Tested(KeyF2));

    Fixture->KeyTestShortcut();
    QVERIFY(!Fixture->Window->KeyTest().Running());
    QVERIFY(!Fixture->Window->KeyTest().Tested(KeyA));
    QCOMPARE(Fixture->Saved(), before);
}

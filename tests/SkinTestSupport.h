// What every windowed test suite shares: the painted skins its main() loads, and area geometry in
// Qt's terms.
#pragma once

#include "shell/MorvApp.h"
#include "skin/Prompts.h"
#include "skin/SkinRectQt.h"
#include "skin/SkinRegion.h"
#include "skin/SkinResources.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

// Loaded by main() from the resource file beside the test program.
extern CSkinResources* TheTestSkins;
inline const CSkinResources& TestSkins() {
    return *TheTestSkins;
}

inline QPoint Centre(const SkinRect& rect) {
    return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Answers the program's prompts with the test's own while it lives (every entry starts unanswered:
// a question nobody set up reads as cancelled), and restores the program's prompts afterwards.
class CTestPrompts {
public:
    CTestPrompts() : Saved(Prompts()) { Prompts() = CPrompts{}; }
    ~CTestPrompts() { Prompts() = Saved; }
    CTestPrompts(const CTestPrompts&) = delete;
    CTestPrompts& operator=(const CTestPrompts&) = delete;

    CPrompts& operator*() { return Prompts(); }
    CPrompts* operator->() { return &Prompts(); }

private:
    CPrompts Saved;
};

// The program's own style sheet while it lives, as the program runs under it.
class CProgramStyleSheet {
public:
    CProgramStyleSheet() : Saved(qApp->styleSheet()) { qApp->setStyleSheet(CMorvApp::StyleSheet()); }
    ~CProgramStyleSheet() { qApp->setStyleSheet(Saved); }
    CProgramStyleSheet(const CProgramStyleSheet&) = delete;
    CProgramStyleSheet& operator=(const CProgramStyleSheet&) = delete;

private:
    QString Saved;
};

// What is wrong with a text box as it is drawn: its text must be orange RGB(255, 111, 0) on
// RGB(20, 20, 20). Empty when it is right; the box must show some text.
inline QString TextBoxColourProblem(QWidget* box) {
    const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int orange = 0;
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor colour(shown.pixel(x, y));
            orange += colour == QColor(255, 111, 0) ? 1 : 0;
            dark += colour == QColor(20, 20, 20) ? 1 : 0;
        }
    }
    const QString name = box->objectName();
    if (dark * 2 < shown.width() * shown.height())
        return name + QStringLiteral(": its background is not RGB(20, 20, 20)");
    if (orange < 10)
        return name + QStringLiteral(": no text drawn in RGB(255, 111, 0)");
    return {};
}

#include "shell/MorvApp.h"
#include "shell/PlatformChoice.h"
#include "skin/Prompts.h"

#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include <QApplication>

#include <cstdio>
#include <new>

namespace {

// Every command of the program starts from an event: one that runs out of memory is stopped here,
// its memory given back as it unwinds, and the person is told in one line instead of losing the
// program and the profile being edited.
class CZelkApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            try {
                ShowMessage(nullptr, UiText(theKeyboardData.UiLanguage, TextId::OutOfMemory));
            } catch (const std::bad_alloc&) {
                std::fputs("Zelk: there is not enough memory for that; it was stopped\n", stderr);
            }
            return false;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    if (const int status = CMorvApp::AnswerInformationRequest(argc, argv); status >= 0)
        return status;
    if (const QString told = FallBackFromMissingWayland(); !told.isEmpty())
        std::fprintf(stderr, "%s\n", told.toLocal8Bit().constData());
    CZelkApplication application(argc, argv);
    CMorvApp::NameApplication();
    CMorvApp program;
    return program.InitInstance(application);
}

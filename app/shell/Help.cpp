#include "shell/Help.h"

#include "skin/Prompts.h"
#include "skin/SkinResources.h"
#include "text/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString HelpManualPath(UiLanguage language) {
    const QString page = UiText(language, TextId::ManualFile);
    return CSkinResources::DataFile(QStringLiteral("manual/") + page);
}

void OpenHelp(QWidget* owner, UiLanguage language) {
    const QString path = HelpManualPath(language);
    if (!QFileInfo(path).isFile()) {
        ShowMessage(owner, UiText(language, TextId::ManualMissing).arg(QDir::toNativeSeparators(path)));
        return;
    }
    const CPrompts& prompts = Prompts();
    if (!prompts.OpenUrl || !prompts.OpenUrl(QUrl::fromLocalFile(path))) {
        ShowMessage(owner, UiText(language, TextId::ManualNotOpened).arg(QDir::toNativeSeparators(path)));
    }
}
